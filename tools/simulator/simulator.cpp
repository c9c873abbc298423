#include "simulator/simulator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace pelor::sim {

namespace {

bool ToInt(const std::string& text, int low, int high, int& out) {
    try {
        std::size_t used = 0;
        const long v = std::stol(text, &used, 10);
        if (used != text.size() || v < low || v > high) return false;
        out = static_cast<int>(v);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

std::string Usage() {
    return "usage: pelor-sim (--pty [--pty-link PATH] | --tcp PORT | --udp PORT)\n"
           "                 [--mode text|gateway|frames|screen] [--interval MS] [--duration "
           "SECONDS]\n"
           "                 [--faults drop=P,corrupt=P,split,close=SECONDS,seed=N]\n"
           "                 [--bank N] [--datagram BYTES] [--verbose]\n"
           "                 [--flash-fault sync|erase|address|close]\n"
           "                 [--debugger 8|16] [--debugger-fault "
           "silent|wrong|close|erase|nodebug]\n"
           "Plays a remote sensor unit on 127.0.0.1 only: a pseudo-terminal (its path is\n"
           "printed), a TCP port to connect to (0 picks one), or UDP datagrams sent to a port.\n"
           "  text    the unit's status sentences and $IIXDR per channel\n"
           "  gateway $PKZLN sentences of a network gateway (NMEA 2000 as text)\n"
           "  frames  binary NMEA 2000 frames (adapter, TCP/UDP/USB frame links)\n"
           "  screen  the unit's screen records\n" +
           DiscoveryUsage();
}

bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
    bool haveLink = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (ParseDiscoveryOption(args, i, o.discovery, error)) {
            if (!error.empty()) return false;
            continue;
        }
        if (a == "--help" || a == "-h") {
            error.clear();
            return false;
        } else if (a == "--pty") {
            o.link = LinkKind::Pty;
            haveLink = true;
        } else if (a == "--pty-link") {
            if (!value(o.ptyLink)) return false;
        } else if (a == "--tcp" || a == "--udp") {
            if (!value(v)) return false;
            if (!ToInt(v, a == "--tcp" ? 0 : 1, 65535, o.port)) {
                error = a + " needs a port number";
                return false;
            }
            o.link = a == "--tcp" ? LinkKind::Tcp : LinkKind::Udp;
            haveLink = true;
        } else if (a == "--mode") {
            if (!value(v)) return false;
            if (v == "text")
                o.mode = Mode::Text;
            else if (v == "frames")
                o.mode = Mode::Frames;
            else if (v == "gateway")
                o.mode = Mode::Gateway;
            else if (v == "screen")
                o.mode = Mode::Screen;
            else {
                error = "--mode is text, gateway, frames or screen";
                return false;
            }
        } else if (a == "--interval") {
            if (!value(v)) return false;
            if (!ToInt(v, 20, 60000, o.intervalMs)) {
                error = "--interval needs 20 to 60000 milliseconds";
                return false;
            }
        } else if (a == "--duration") {
            if (!value(v)) return false;
            int seconds = 0;
            if (!ToInt(v, 0, 86400 * 365, seconds)) {
                error = "--duration needs seconds";
                return false;
            }
            o.durationSeconds = seconds;
        } else if (a == "--faults") {
            if (!value(v) || !ParseFaults(v, o.faults, error)) return false;
        } else if (a == "--bank") {
            if (!value(v)) return false;
            if (!ToInt(v, 0, 15, o.bankInstance)) {
                error = "--bank needs 0 to 15";
                return false;
            }
        } else if (a == "--datagram") {
            if (!value(v)) return false;
            int size = 0;
            if (!ToInt(v, 64, 1400, size)) {
                error = "--datagram needs 64 to 1400 bytes";
                return false;
            }
            o.datagramSize = static_cast<std::size_t>(size);
        } else if (a == "--flash-fault") {
            if (!value(v)) return false;
            if (v == "sync")
                o.flashFault = FlashFault::Sync;
            else if (v == "erase")
                o.flashFault = FlashFault::Erase;
            else if (v == "address")
                o.flashFault = FlashFault::Address;
            else if (v == "close")
                o.flashFault = FlashFault::Close;
            else {
                error = "--flash-fault is sync, erase, address or close";
                return false;
            }
        } else if (a == "--debugger") {
            if (!value(v)) return false;
            if (v != "8" && v != "16") {
                error = "--debugger is 8 or 16";
                return false;
            }
            o.debuggerBits = v == "8" ? 8 : 16;
        } else if (a == "--debugger-fault") {
            if (!value(v)) return false;
            if (v == "silent")
                o.debuggerFault = DebuggerFault::Silent;
            else if (v == "wrong")
                o.debuggerFault = DebuggerFault::Wrong;
            else if (v == "close")
                o.debuggerFault = DebuggerFault::Close;
            else if (v == "erase")
                o.debuggerFault = DebuggerFault::EraseStuck;
            else if (v == "nodebug")
                o.debuggerFault = DebuggerFault::NoDebug;
            else {
                error = "--debugger-fault is silent, wrong, close, erase or nodebug";
                return false;
            }
        } else if (a == "--verbose" || a == "-v") {
            o.verbose = true;
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    if (!haveLink) {
        error = "choose a link: --pty, --tcp PORT or --udp PORT";
        return false;
    }
    return true;
}

Simulator::Simulator(Options options)
    : options_(std::move(options)),
      faults_(options_.faults),
      unit_(options_.bankInstance, options_.flashFault) {
    if (options_.debuggerBits != 0)
        debugger_ = std::make_unique<Debugger>(options_.debuggerBits, options_.debuggerFault);
}

std::vector<TranscriptEntry> Simulator::Transcript() const {
    std::lock_guard lock(mutex_);
    return transcript_;
}

void Simulator::ClearTranscript() {
    std::lock_guard lock(mutex_);
    transcript_.clear();
}

std::uint8_t Simulator::UnitFlash(std::uint16_t address) const {
    std::lock_guard lock(mutex_);
    return unit_.Flash(address);
}

std::uint8_t Simulator::DebuggerMemory(std::uint32_t address) const {
    std::lock_guard lock(mutex_);
    return debugger_ ? debugger_->Memory(address) : 0xFF;
}

bool Simulator::Programming() const {
    std::lock_guard lock(mutex_);
    return unit_.Programming();
}

void Simulator::Note(bool fromDashboard, std::string_view bytes) {
    if (bytes.empty()) return;
    std::lock_guard lock(mutex_);
    if (!transcript_.empty() && transcript_.back().fromDashboard == fromDashboard)
        transcript_.back().bytes.append(bytes);
    else
        transcript_.push_back({fromDashboard, std::string(bytes)});
}

void Simulator::Answer(const std::string& bytes) {
    if (bytes.empty()) return;
    Note(false, bytes);
    transport_->Send(bytes);
}

bool Simulator::Open(std::string& error) {
    switch (options_.link) {
        case LinkKind::Pty:
            transport_ = OpenPtyTransport(options_.ptyLink, error);
            break;
        case LinkKind::Tcp:
            transport_ = OpenTcpTransport(options_.port, error);
            break;
        case LinkKind::Udp:
            transport_ = OpenUdpTransport(options_.port, options_.datagramSize, error);
            break;
    }
    return transport_ != nullptr;
}

std::string Simulator::Endpoint() const {
    return transport_ ? transport_->Endpoint() : "";
}
int Simulator::Port() const {
    return transport_ ? transport_->Port() : 0;
}

std::vector<std::string> Simulator::ReceivedCommands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

UnitState Simulator::State() const {
    std::lock_guard lock(mutex_);
    return unit_.State();
}

int Simulator::RefusedWrites() const {
    std::lock_guard lock(mutex_);
    return unit_.RefusedWrites();
}

int Simulator::RecordsWritten() const {
    std::lock_guard lock(mutex_);
    return unit_.RecordsWritten();
}

void Simulator::SendStream(const std::string& bytes) {
    const std::string damaged = faults_.Damage(bytes);
    for (const auto& piece : faults_.Pieces(damaged)) {
        if (transport_->Send(piece)) bytesSent_ += piece.size();
        if (options_.faults.split)
            std::this_thread::sleep_for(std::chrono::milliseconds(faults_.PauseMs()));
    }
}

// The debugger's speed on the line: its session begins with the automatic baud-rate character
// at that speed and ends when the line goes back to another speed or debug mode is left.
constexpr int kDebuggerSpeed = 57600;

void Simulator::HandleInput(const std::string& bytes) {
    Note(true, bytes);
    std::string_view rest = bytes;
    if (debugger_ && !inDebugger_) {
        const int speed = transport_->LineSpeed();
        const std::size_t at = rest.find('\x80');
        bool programming = false;
        {
            std::lock_guard lock(mutex_);
            programming = unit_.Programming();
        }
        if (at != std::string_view::npos && (speed == 0 || speed == kDebuggerSpeed) &&
            !programming) {
            std::lock_guard lock(mutex_);
            debugger_->Reset();
            inDebugger_ = true;
            rest = rest.substr(at);
        }
    }
    if (inDebugger_) {
        std::string reply;
        bool close = false;
        {
            std::lock_guard lock(mutex_);
            reply = debugger_->Feed(rest);
            close = debugger_->WantsClose();
            if (debugger_->LeftDebugMode()) inDebugger_ = false;
        }
        Answer(reply);
        if (close) transport_->CloseLink();
        return;
    }
    for (const auto& command : parser_.Feed(bytes)) {
        std::string reply;
        bool refused = false;
        {
            std::lock_guard lock(mutex_);
            const int before = unit_.RefusedWrites();
            reply = unit_.Handle(command);
            refused = unit_.RefusedWrites() != before;
            commands_.push_back(Describe(command));
        }
        if (options_.verbose) std::fprintf(stderr, "pelor-sim: %s\n", Describe(command).c_str());
        if (refused)
            std::fprintf(stderr,
                         "pelor-sim: record at 0x%s refused: its flash was written and not "
                         "erased since\n",
                         command.addressText.c_str());
        if (command.kind == CommandKind::Program || command.kind == CommandKind::Record ||
            command.kind == CommandKind::Erase || command.kind == CommandKind::EraseRange)
            lastProgramInput_ = std::chrono::steady_clock::now();
        Answer(reply);
        bool close = false;
        {
            std::lock_guard lock(mutex_);
            close = unit_.WantsClose();
        }
        if (close) {
            transport_->CloseLink();
            return;
        }
    }
}

void Simulator::Run(const std::stop_token& token) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto interval = std::chrono::milliseconds(options_.intervalMs);
    auto nextCycle = start;
    std::uint64_t cycle = 0;
    double scenarioSeconds = 0;  // stands still while the unit holds
    auto lastTick = start;
    bool closed = false;
    while (!token.stop_requested() && transport_->Alive()) {
        const auto now = Clock::now();
        const double elapsed = std::chrono::duration<double>(now - start).count();
        if (options_.durationSeconds > 0 && elapsed >= options_.durationSeconds) break;
        if (!closed && options_.faults.closeAfter > 0 && elapsed >= options_.faults.closeAfter) {
            if (options_.verbose) std::fprintf(stderr, "pelor-sim: closing the link\n");
            transport_->CloseLink();
            closed = true;
            if (!transport_->Alive()) break;
        }
        if (now >= nextCycle) {
            UnitState state;
            bool programming = false;
            {
                std::lock_guard lock(mutex_);
                state = unit_.State();
                programming = unit_.Programming();
            }
            if (!state.hold)
                scenarioSeconds += std::chrono::duration<double>(now - lastTick).count();
            lastTick = now;
            if (programming && options_.programmingTimeoutMs > 0 &&
                now - lastProgramInput_ >
                    std::chrono::milliseconds(options_.programmingTimeoutMs)) {
                std::lock_guard lock(mutex_);
                unit_.LeaveProgramming();
            }
            // A line at the debugger's speed carries the debugger, not the unit's data.
            const int speed = debugger_ ? transport_->LineSpeed() : 0;
            if (inDebugger_ && speed != 0 && speed != kDebuggerSpeed) inDebugger_ = false;
            const bool debuggerLine = debugger_ && speed == kDebuggerSpeed;
            if (!programming && !closed && !inDebugger_ && !debuggerLine) {
                const auto messages = CycleMessages(options_.mode, state, scenarioSeconds, cycle);
                const std::size_t unit = transport_->MaxUnit();
                std::string batch;
                for (const auto& m : messages) {
                    if (unit > 0 && !batch.empty() && batch.size() + m.size() > unit) {
                        SendStream(batch);
                        batch.clear();
                    }
                    batch += m;
                }
                if (!batch.empty()) SendStream(batch);
            }
            ++cycle;
            nextCycle += interval;
            if (nextCycle < now) nextCycle = now + interval;
        }
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(nextCycle - Clock::now()).count();
        const int most = inDebugger_ ? 2 : 20;
        const std::string input =
            transport_->Receive(static_cast<int>(std::clamp<long long>(wait, 0, most)));
        if (!input.empty()) {
            HandleInput(input);
        } else if (inDebugger_) {
            std::string reply;
            {
                std::lock_guard lock(mutex_);
                reply = debugger_->Quiet();
            }
            Answer(reply);
        }
        if (!transport_->Alive()) break;
    }
}

}  // namespace pelor::sim
