#pragma once
#include "simulator/discovery_responder.h"
// The unit simulator: plays the scenario on its transport, one cycle every interval, answers
// the dashboard's commands and injects the faults asked for.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

#include "simulator/debugger.h"
#include "simulator/faults.h"
#include "simulator/scenario.h"
#include "simulator/transport.h"
#include "simulator/unit.h"

namespace pelor::sim {

enum class LinkKind { Pty, Tcp, Udp };

struct Options {
    LinkKind link = LinkKind::Pty;
    int port = 0;  // TCP: port to listen on (0: any); UDP: port to send to
    Mode mode = Mode::Text;
    int intervalMs = 1000;       // one cycle of the scenario
    double durationSeconds = 0;  // 0: until stopped
    FaultPlan faults;
    int bankInstance = 0;
    std::size_t datagramSize = 480;
    std::string ptyLink;  // a symbolic link to the pseudo-terminal, for a fixed name
    bool verbose = false;
    FlashFault flashFault = FlashFault::None;
    int debuggerBits = 0;  // 8 or 16: the controller's debugger answers on the line
    DebuggerFault debuggerFault = DebuggerFault::None;
    int programmingTimeoutMs = 3000;  // programming mode ends after this long without a record
    DiscoveryOptions discovery;
};

// One piece of the exchange on the line: what the dashboard sent, or what the unit answered
// (its data stream left out).
struct TranscriptEntry {
    bool fromDashboard = true;
    std::string bytes;
    bool operator==(const TranscriptEntry&) const = default;
};

// Parses the command line (without the program name). False with `error` set, or with
// `error` empty when help was asked for.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);
std::string Usage();

class Simulator {
public:
    explicit Simulator(Options options);
    // Opens the transport; false with `error` set.
    bool Open(std::string& error);
    std::string Endpoint() const;
    int Port() const;

    // Plays until `token` asks to stop, the duration runs out or the link is gone for good.
    void Run(const std::stop_token& token);

    // What the simulator saw and holds, for tests and the log.
    std::vector<std::string> ReceivedCommands() const;
    UnitState State() const;
    int RecordsWritten() const;
    // Records the unit refused because their flash was not erased since it was last written.
    int RefusedWrites() const;
    std::uint64_t BytesSent() const { return bytesSent_.load(); }
    // Consecutive pieces of one direction are joined.
    std::vector<TranscriptEntry> Transcript() const;
    void ClearTranscript();
    std::uint8_t UnitFlash(std::uint16_t address) const;
    std::uint8_t DebuggerMemory(std::uint32_t address) const;
    bool InDebugger() const { return inDebugger_.load(); }
    bool Programming() const;

private:
    void SendStream(const std::string& bytes);
    void HandleInput(const std::string& bytes);
    void Answer(const std::string& bytes);
    void Note(bool fromDashboard, std::string_view bytes);

    Options options_;
    std::unique_ptr<Transport> transport_;
    FaultInjector faults_;
    CommandParser parser_;
    mutable std::mutex mutex_;
    Unit unit_;
    std::vector<std::string> commands_;
    std::vector<TranscriptEntry> transcript_;
    std::unique_ptr<Debugger> debugger_;
    std::atomic<bool> inDebugger_{false};
    std::chrono::steady_clock::time_point lastProgramInput_{};
    std::atomic<std::uint64_t> bytesSent_{0};
};

}  // namespace pelor::sim
