#include "simulator/scenario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "simulator/protocol.h"

namespace pelor::sim {

namespace {

constexpr double kPi = 3.14159265358979323846;

double Wave(double seconds, double period, double phase) {
    return 0.5 + 0.5 * std::sin(2 * kPi * seconds / period + phase);
}

void Put16(std::vector<std::uint8_t>& p, std::size_t at, std::uint32_t v) {
    p[at] = static_cast<std::uint8_t>(v & 0xFF);
    p[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t>& p, std::size_t at, std::uint32_t v) {
    Put16(p, at, v & 0xFFFF);
    Put16(p, at + 2, v >> 16);
}

// 0..1 along a wave of its own for message field `k`.
double Field(double seconds, int k) {
    return Wave(seconds, 20.0 + 3.0 * k, 0.7 * k);
}

std::uint32_t Angle(double degrees) {  // radians / 10000 in 16 bits
    return static_cast<std::uint32_t>(degrees * kPi / 180.0 * 10000.0) & 0xFFFF;
}

std::uint32_t KelvinHundredths(double celsius) {
    return static_cast<std::uint32_t>((celsius + 273.15) * 100.0);
}

}  // namespace

const std::array<ChannelPlan, 16>& ChannelPlans() {
    static const std::array<ChannelPlan, 16> plans = {{
        // A typical installation: analog senders on inputs 0..11, then depth, speed and
        // the two tachometers.
        {"ENG TEMP", 60, 95, 41, 0},
        {"OIL PRES", 10, 80, 23, 0},
        {"FUEL    ", 5, 100, 60, 0},
        {"WATER   ", 0, 100, 45, 0},
        {"BATT V  ", 11.5, 14.4, 19, 1},
        {"BOOST   ", 0, 30, 27, 1},
        {"TRANS T ", 40, 90, 52, 0},
        {"EXH TEMP", 200, 600, 37, 0},
        {"FUEL PRS", 2, 6, 29, 1},
        {"COOL PRS", 0.5, 1.5, 31, 1},
        {"SEA TEMP", 5, 30, 90, 1},
        {"HOUSE V ", 11.5, 14.4, 21, 1},
        {"DEPTH   ", 2, 60, 33, 1},
        {"SPEED   ", 0, 25, 26, 1},
        {"STBD RPM", 600, 3600, 28, 0},
        {"RPM     ", 600, 3600, 30, 0},
    }};
    return plans;
}

int ChannelLevel(int channel, double seconds) {
    const auto& plan = ChannelPlans()[static_cast<std::size_t>(channel & 15)];
    return static_cast<int>(Wave(seconds, plan.periodSeconds, channel) * 255.0);
}

std::string ChannelDisplay(int channel, double seconds) {
    const auto& plan = ChannelPlans()[static_cast<std::size_t>(channel & 15)];
    const double value =
        plan.low + (plan.high - plan.low) * Wave(seconds, plan.periodSeconds, channel);
    char text[32];
    std::snprintf(text, sizeof text, "%4.*f", plan.decimals, value);
    std::string out = text;
    if (out.size() > 4) out = out.substr(0, 4);
    return out;
}

std::vector<N2kMessage> N2kMessages(const UnitState& state, double t) {
    std::vector<N2kMessage> out;
    auto add = [&](std::uint32_t pgn, std::size_t size) -> std::vector<std::uint8_t>& {
        out.push_back({pgn, std::vector<std::uint8_t>(size, 0xFF)});
        return out.back().payload;
    };
    {  // engine, rapid: speed 0.25 rpm, boost 100 Pa, trim
        auto& p = add(127488, 8);
        p[0] = 0;
        Put16(p, 1, static_cast<std::uint32_t>((600 + 3000 * Field(t, 1)) * 4));
        Put16(p, 3, static_cast<std::uint32_t>(2000 * Field(t, 2)));
        p[5] = static_cast<std::uint8_t>(100 * Field(t, 3));
    }
    {  // engine, dynamic: oil pressure, oil temperature, coolant, alternator, fuel rate
        auto& p = add(127489, 26);
        p[0] = 0;
        Put16(p, 1, static_cast<std::uint32_t>(5000 * Field(t, 4)));
        Put16(p, 3, static_cast<std::uint32_t>((70 + 50 * Field(t, 5) + 273.15) * 10));
        Put16(p, 5, KelvinHundredths(60 + 35 * Field(t, 6)));
        Put16(p, 7, static_cast<std::uint32_t>(1150 + 300 * Field(t, 7)));
        Put16(p, 9, static_cast<std::uint32_t>(3000 * Field(t, 8)));
        Put16(p, 15, static_cast<std::uint32_t>(1500 * Field(t, 9)));
        Put16(p, 17, static_cast<std::uint32_t>(600 * Field(t, 10)));
        Put16(p, 20, Field(t, 11) > 0.8 ? 0x0001 : 0x0000);
    }
    {  // battery: voltage, current, temperature
        auto& p = add(127508, 8);
        p[0] = 0;
        Put16(p, 1, static_cast<std::uint32_t>(1150 + 290 * Field(t, 12)));
        Put16(p, 3, static_cast<std::uint32_t>(static_cast<int>(80 * Field(t, 13)) - 20) & 0xFFFF);
        Put16(p, 5, KelvinHundredths(15 + 25 * Field(t, 14)));
    }
    {  // fluid level: type fuel (0), instance 0
        auto& p = add(127505, 8);
        p[0] = 0x00;
        Put16(p, 1, static_cast<std::uint32_t>(25000 * Field(t, 15)));
    }
    {  // fluid level: type fresh water (1), instance 0
        auto& p = add(127505, 8);
        p[0] = 0x10;
        Put16(p, 1, static_cast<std::uint32_t>(25000 * Field(t, 36)));
    }
    {  // transmission: oil pressure, oil temperature
        auto& p = add(127493, 8);
        p[0] = 0;
        Put16(p, 2, static_cast<std::uint32_t>(20000 * Field(t, 16)));
        Put16(p, 4, static_cast<std::uint32_t>((50 + 40 * Field(t, 17) + 273.15) * 10));
    }
    {  // environment: water temperature, pressure
        auto& p = add(130311, 8);
        p[1] = 0;
        Put16(p, 2, KelvinHundredths(10 + 20 * Field(t, 18)));
        Put16(p, 6, static_cast<std::uint32_t>(980 + 60 * Field(t, 19)));
    }
    {  // meteorological station: wind, pressure, air temperature
        auto& p = add(130323, 30);
        Put16(p, 15, static_cast<std::uint32_t>(1800 * Field(t, 20)));
        Put16(p, 17, Angle(359 * Field(t, 21)));
        Put16(p, 22, static_cast<std::uint32_t>(980 + 60 * Field(t, 22)));
        Put16(p, 24, KelvinHundredths(5 + 30 * Field(t, 23)));
    }
    {  // wind data, apparent then true on alternate cycles
        auto& p = add(130306, 8);
        Put16(p, 1, static_cast<std::uint32_t>(1800 * Field(t, 24)));
        Put16(p, 3, Angle(359 * Field(t, 25)));
        p[5] = static_cast<int>(t) % 2 == 0 ? 2 : 0;
    }
    {  // heading, deviation
        auto& p = add(127250, 8);
        Put16(p, 1, Angle(359 * Field(t, 26)));
        Put16(p, 3, Angle(10 * Field(t, 27)));
    }
    {  // attitude: pitch, roll
        auto& p = add(127257, 8);
        Put16(p, 3, Angle(20 * Field(t, 28) - 10));
        Put16(p, 5, Angle(40 * Field(t, 29) - 20));
    }
    {  // rate of turn, 1/32e6 rad/s... shown as is
        auto& p = add(127251, 8);
        Put32(p, 1,
              static_cast<std::uint32_t>(static_cast<std::int32_t>((Field(t, 30) - 0.5) * 64e8)));
    }
    {  // temperature: instance 0, source 1 (outside)
        auto& p = add(130312, 8);
        p[1] = 0;
        p[2] = 1;
        Put16(p, 3, KelvinHundredths(10 + 25 * Field(t, 31)));
    }
    {  // rudder
        auto& p = add(127245, 8);
        p[0] = 0;
        Put16(p, 2, Angle(70 * Field(t, 32) - 35));
        Put16(p, 4, Angle(70 * Field(t, 33) - 35));
    }
    {  // binary switch bank status: the simulated outputs, two bits each
        auto& p = add(127501, 8);
        p[0] = static_cast<std::uint8_t>(state.bankInstance);
        for (int i = 0; i < 12; ++i) {
            const auto byte = static_cast<std::size_t>(i / 4) + 1;
            if (i % 4 == 0) p[byte] = 0;
            p[byte] |= static_cast<std::uint8_t>((state.outputs[i] ? 1 : 0) << (2 * (i % 4)));
        }
    }
    {  // course and speed over ground
        auto& p = add(129026, 8);
        p[1] = 0;
        Put16(p, 2, Angle(359 * Field(t, 34)));
        Put16(p, 4, static_cast<std::uint32_t>(1300 * Field(t, 35)));
    }
    {  // system time: days and seconds x 10000 since 1970
        auto& p = add(126992, 8);
        p[1] = 0;
        const auto now = static_cast<std::uint32_t>(1765000000 + t);
        Put16(p, 2, now / 86400);
        Put32(p, 4, (now % 86400) * 10000);
    }
    return out;
}

std::vector<std::string> CycleMessages(Mode mode, const UnitState& state, double t,
                                       std::uint64_t cycle) {
    std::vector<std::string> out;
    const auto timeMs = static_cast<std::uint32_t>(t * 1000.0) + 3600000;
    // While the unit holds, its stream of values pauses: only the status (switch bank and
    // clock, or the unit's status sentences) goes on, so the link still shows it is alive.
    const auto held = [&state](const N2kMessage& m) {
        return state.hold && m.pgn != 127501 && m.pgn != 126992;
    };
    if (mode == Mode::Frames) {
        for (const auto& m : N2kMessages(state, t))
            if (!held(m)) out.push_back(N2kFrame(m.pgn, timeMs, 35, m.payload));
        return out;
    }
    if (mode == Mode::Gateway) {
        // Seven messages a cycle, taken in turn: about 500 bytes.
        auto messages = N2kMessages(state, t);
        std::erase_if(messages, held);
        const std::size_t count = std::min<std::size_t>(7, messages.size());
        for (std::size_t k = 0; k < count; ++k) {
            const auto& m = messages[(cycle * count + k) % messages.size()];
            out.push_back(N2kSentence(m.pgn, timeMs, 35, m.payload));
        }
        return out;
    }
    if (cycle % 2 == 0) {
        out.push_back(VersionSentence("SIM 1.0"));
        char d[64];
        std::snprintf(d, sizeof d, "PAGE %d%s%s", state.page, state.hold ? " HOLD" : "",
                      state.passThrough ? " PASSTHRU" : "");
        out.push_back(StatusDSentence(d));
        out.push_back(StatusHSentence("BATTERY " + ChannelDisplay(4, t) + "V"));
    }
    out.push_back(SwitchSentence(state.outputs));
    if (state.hold) return out;
    if (mode == Mode::Screen) {
        // Gauge type, unit-screen position and frame range for each channel's record.
        struct Gauge {
            int type, x, y, firstFrame, frames;
        };
        static const Gauge gauges[16] = {
            {3, 10, 10, 29, 18}, {3, 90, 10, 29, 18}, {2, 170, 10, 2, 20},   {2, 250, 10, 2, 20},
            {79, 10, 90, 0, 1},  {79, 90, 90, 0, 1},  {6, 170, 90, 55, 30},  {7, 250, 90, 76, 30},
            {8, 10, 150, 0, 1},  {70, 90, 150, 0, 1}, {4, 170, 150, 2, 30},  {110, 250, 150, 0, 1},
            {79, 10, 210, 0, 1}, {79, 90, 210, 0, 1}, {6, 170, 210, 55, 30}, {7, 250, 210, 76, 30},
        };
        for (int c = 0; c < 16; ++c) {
            const auto& g = gauges[c];
            const int frame = g.firstFrame + ChannelLevel(c, t) * (g.frames - 1) / 255;
            out.push_back(ScreenRecord(g.type, g.x, g.y, frame, ChannelDisplay(c, t),
                                       ChannelPlans()[static_cast<std::size_t>(c)].label));
        }
        return out;
    }
    // Half of the channels a cycle, taken in turn: about 500 bytes a cycle, which a text
    // link's default read of 500 bytes a half second takes in without falling behind.
    for (int k = 0; k < 8; ++k) {
        const int c = static_cast<int>((cycle * 8 + static_cast<std::uint64_t>(k)) % 16);
        out.push_back(XdrSentence(c, ValueText(ChannelDisplay(c, t), ChannelLevel(c, t)),
                                  ChannelPlans()[static_cast<std::size_t>(c)].label));
    }
    return out;
}

}  // namespace pelor::sim
