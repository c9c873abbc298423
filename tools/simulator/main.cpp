// pelor-sim: a remote sensor unit on a pseudo-terminal, a TCP port or UDP of 127.0.0.1.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "simulator/simulator.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    pelor::sim::Options options;
    std::string error;
    if (!pelor::sim::ParseOptions(args, options, error)) {
        if (!error.empty()) std::fprintf(stderr, "pelor-sim: %s\n", error.c_str());
        std::fputs(pelor::sim::Usage().c_str(), error.empty() ? stdout : stderr);
        return error.empty() ? 0 : 2;
    }
    pelor::sim::Simulator simulator(options);
    if (!simulator.Open(error)) {
        std::fprintf(stderr, "pelor-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", simulator.Endpoint().c_str());
    std::optional<pelor::sim::DiscoveryResponder> discovery;
    if (options.discovery.port >= 0) {
        discovery.emplace(options.discovery);
        if (!discovery->Open(error)) {
            std::fprintf(stderr, "pelor-sim: %s\n", error.c_str());
            return 1;
        }
        std::printf("discovery 127.0.0.1:%d\n", discovery->Port());
    }
    std::fflush(stdout);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::stop_source stop;
    std::jthread watcher([&stop](const std::stop_token& token) {
        while (!token.stop_requested() && g_stop == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stop.request_stop();
    });
    simulator.Run(stop.get_token());
    watcher.request_stop();
    return 0;
}
