#include "simulator/faults.h"

#include <charconv>

namespace pelor::sim {

namespace {

bool ParseNumber(std::string_view text, double& out) {
    const auto* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, out);
    return r.ec == std::errc() && r.ptr == end;
}

}  // namespace

bool ParseFaults(std::string_view text, FaultPlan& plan, std::string& error) {
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view part = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        if (part.empty()) continue;
        const std::size_t eq = part.find('=');
        const std::string_view name = part.substr(0, eq);
        double value = 1.0;
        if (eq != std::string_view::npos && !ParseNumber(part.substr(eq + 1), value)) {
            error = "bad number in fault \"" + std::string(part) + "\"";
            return false;
        }
        if (name == "drop" || name == "corrupt") {
            if (value < 0.0 || value > 1.0) {
                error = std::string(name) + " must be a chance from 0 to 1";
                return false;
            }
            (name == "drop" ? plan.drop : plan.corrupt) = value;
        } else if (name == "split") {
            plan.split = value != 0.0;
        } else if (name == "close") {
            if (value < 0.0) {
                error = "close needs seconds of 0 or more";
                return false;
            }
            plan.closeAfter = value;
        } else if (name == "seed") {
            plan.seed = static_cast<std::uint32_t>(value);
        } else {
            error =
                "unknown fault \"" + std::string(name) + "\" (drop, corrupt, split, close, seed)";
            return false;
        }
    }
    return true;
}

std::string FaultInjector::Damage(std::string_view bytes) {
    if (plan_.drop <= 0.0 && plan_.corrupt <= 0.0) return std::string(bytes);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    std::uniform_int_distribution<int> any(1, 255);
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        if (chance(random_) < plan_.drop) continue;
        if (chance(random_) < plan_.corrupt)
            out += static_cast<char>(static_cast<unsigned char>(c) ^
                                     static_cast<unsigned>(any(random_)));
        else
            out += c;
    }
    return out;
}

std::vector<std::string> FaultInjector::Pieces(const std::string& bytes) {
    if (!plan_.split) return {bytes};
    std::vector<std::string> out;
    std::uniform_int_distribution<std::size_t> size(1, 24);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = std::min(size(random_), bytes.size() - at);
        out.push_back(bytes.substr(at, n));
        at += n;
    }
    return out;
}

int FaultInjector::PauseMs() {
    std::uniform_int_distribution<int> pause(0, 15);
    return pause(random_);
}

}  // namespace pelor::sim
