// NetReceive over a local socket pair carrying arbitrary bytes: stream or datagram, any buffer
// size, the input cut into datagrams; the count returned never exceeds the buffer.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "links/net_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const bool datagram = (data[0] & 1) != 0;
    const std::size_t bufferSize = 1 + data[1] * 4u;
    data += 2;
    size -= 2;
    int pair[2];
    if (socketpair(AF_UNIX, (datagram ? SOCK_DGRAM : SOCK_STREAM) | SOCK_NONBLOCK, 0, pair) != 0)
        return 0;
    // Datagrams are cut at every 0x0A; a stream gets everything at once.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || (datagram && data[i] == 0x0A)) {
            if (i > start || datagram) send(pair[1], data + start, i - start, MSG_DONTWAIT);
            start = i + 1;
        }
    }
    shutdown(pair[1], SHUT_WR);
    std::vector<std::uint8_t> buffer(bufferSize);
    for (int round = 0; round < 64; ++round) {
        sockaddr_in from{};
        const int got = pelor::links::NetReceiveYielding(pair[0], buffer, 0, datagram, &from, {});
        if (got > static_cast<int>(buffer.size())) __builtin_trap();
        if (got <= 0) break;
    }
    close(pair[0]);
    close(pair[1]);
    return 0;
}
