#pragma once
// Faults the simulator injects into its data stream on request: dropped, corrupted or split
// bytes, and a link that closes.
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace pelor::sim {

struct FaultPlan {
    double drop = 0.0;        // chance that a byte is left out
    double corrupt = 0.0;     // chance that a byte is changed
    bool split = false;       // write in small pieces with pauses between them
    double closeAfter = 0.0;  // seconds until the link closes (0: never)
    std::uint32_t seed = 1;
};

// Parses "drop=0.01,corrupt=0.02,split,close=10,seed=7"; false with `error` set when a part is
// not understood or a value is out of range.
bool ParseFaults(std::string_view text, FaultPlan& plan, std::string& error);

class FaultInjector {
public:
    explicit FaultInjector(const FaultPlan& plan) : plan_(plan), random_(plan.seed) {}
    // The bytes as they go out after dropping and corrupting.
    std::string Damage(std::string_view bytes);
    // The pieces to write one after another (the whole when not splitting).
    std::vector<std::string> Pieces(const std::string& bytes);
    int PauseMs();

private:
    FaultPlan plan_;
    std::mt19937 random_;
};

}  // namespace pelor::sim
