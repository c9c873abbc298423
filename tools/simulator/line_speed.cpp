// The speed a terminal is set to, custom rates included (kept apart: the kernel's termios2
// header and the C library's termios header cannot meet in one file).
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace pelor::sim {

int TerminalSpeed(int fd) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) return 0;
    return static_cast<int>(tio.c_ospeed);
}

}  // namespace pelor::sim
