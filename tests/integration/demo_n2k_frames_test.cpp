// The NMEA 2000 demo against the simulator's frames: on every page, every gauge takes its
// mode and place and shows the value the simulated network sent, in the unit it is labelled
// with, and moves as the values move.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "../../tools/demo_project_n2k.h"
#include "core/prompt.h"
#include "decode/channel_store.h"
#include "decode/context_tables.h"
#include "decode/n2k_binary.h"
#include "display/display.h"
#include "simulator/scenario.h"
#include "tables/page_file.h"
#include "tables/project_tables.h"

namespace {

using namespace pelor;

const std::string kDir = PELOR_SOURCE_DIR "/examples/demo-n2k/";
constexpr double kPi = 3.14159265358979323846;

int U16(const std::vector<std::uint8_t>& p, std::size_t at) {
    return p[at] | (p[at + 1] << 8);
}
int S16(const std::vector<std::uint8_t>& p, std::size_t at) {
    return static_cast<std::int16_t>(U16(p, at));
}
double Fahrenheit(double kelvin) {
    return kelvin * 9.0 / 5.0 - 459.67;
}
double Degrees(int tenThousandthsRad) {
    return tenThousandthsRad / 10000.0 * 180.0 / kPi;
}
constexpr double kPsiPerHectopascal = 100.0 / 6894.757;
constexpr double kKnotsPerMetrePerSecond = 3600.0 / 1852.0;

// What a channel should show, read from the message as NMEA 2000 defines its fields.
// nullopt: the message does not update the channel.
struct Expected {
    double value = 0;
    bool dashes = false;  // shown as "----" (a negative angle)
};
struct Source {
    std::uint32_t pgn;
    std::function<std::optional<Expected>(const std::vector<std::uint8_t>&)> read;
    double tolerance;  // in shown units
};

std::optional<Expected> Value(double v) {
    return Expected{v, false};
}
// Whole degrees, truncated toward zero: a tilt of less than a degree either way shows 0.
std::optional<Expected> Angle(int raw) {
    const double d = std::trunc(Degrees(raw));
    if (d < 0) return Expected{0, true};
    return Value(d);
}

const std::map<int, Source>& Sources() {
    using P = const std::vector<std::uint8_t>&;
    static const std::map<int, Source> sources = {
        {0, {127488, [](P p) { return Value(U16(p, 1) * 0.25); }, 1}},
        // Temperatures: whole kelvin, then whole degrees F, each truncated: up to 2.8 F under.
        {1, {127489, [](P p) { return Value(Fahrenheit(U16(p, 5) * 0.01)); }, 2.8}},
        {2, {127489, [](P p) { return Value(U16(p, 1) * kPsiPerHectopascal); }, 1}},
        {3, {127488, [](P p) { return Value(U16(p, 3) * kPsiPerHectopascal); }, 1}},
        {4, {127489, [](P p) { return Value(U16(p, 7) * 0.01); }, 0.11}},
        {5, {127489, [](P p) { return Value(U16(p, 9) * 0.1 / 3.785412); }, 0.11}},
        {6, {127508, [](P p) { return Value(S16(p, 1) * 0.01); }, 0.11}},
        // The simulated battery sends its current in whole amperes.
        {7, {127508, [](P p) { return Value(S16(p, 3)); }, 0}},
        {8,
         {127505, [](P p) { return p[0] == 0x00 ? Value(U16(p, 1) * 0.004) : std::nullopt; }, 1}},
        {9,
         {127505, [](P p) { return p[0] == 0x10 ? Value(U16(p, 1) * 0.004) : std::nullopt; }, 1}},
        {10, {127250, [](P p) { return Angle(U16(p, 1)); }, 1}},
        {11,
         {130306,
          [](P p) {
              return (p[5] & 7) == 2 ? Value(U16(p, 1) * 0.01 * kKnotsPerMetrePerSecond)
                                     : std::nullopt;
          },
          0.11}},
        {12, {130306, [](P p) { return (p[5] & 7) == 2 ? Angle(U16(p, 3)) : std::nullopt; }, 1}},
        {13, {127257, [](P p) { return Angle(S16(p, 3)); }, 1}},
        {14, {127257, [](P p) { return Angle(S16(p, 5)); }, 1}},
        {15, {130311, [](P p) { return Value(Fahrenheit(U16(p, 2) * 0.01)); }, 2.8}},
    };
    return sources;
}

struct DemoRig {
    core::ScriptedPrompt prompt;
    tables::Project project;
    std::unique_ptr<tables::ProjectTables> tables = std::make_unique<tables::ProjectTables>();
    decode::PageBytes modes{};
    decode::PageBytes cells{};
    display::Display display;
    decode::ChannelStore store;
    decode::ChannelContext context;

    DemoRig() {
        project.directory = kDir;
        EXPECT_EQ(tables::LoadProject(prompt, project, kDir, "DemoN2K.cdp", false), "DemoN2K.cdp");
        tables::LoadStartupTables(prompt, project, *tables);
        EXPECT_TRUE(prompt.shown.empty());
        for (std::size_t p = 0; p < 16; ++p) {
            for (std::size_t l = 0; l < 16; ++l) {
                modes[p][l] = tables::LabelMode(tables->pages, p, l);
                cells[p][l] = tables::LabelCell(tables->pages, p, l);
            }
        }
        display.ApplyLayout(store, tables->values.displayType, 100, false);
        decode::AttachTables(context, *tables, modes, cells);
        context.gridX = &display.GridX();
        context.gridY = &display.GridY();
        context.frameCounts = display.StyleFrameCounts();
        context.displayType = tables->values.displayType;
    }

    void Feed(const std::vector<std::string>& frames) {
        std::string bytes;
        for (const auto& f : frames) bytes += f;
        std::vector<std::uint8_t> work(bytes.begin(), bytes.end());
        decode::DecodeN2KBinary(store, context, work.data(), work.size());
    }
};

TEST(N2kDemoAgainstSimulatorFrames, EveryGaugeOfEveryPageShowsTheValueSentAndMoves) {
    DemoRig rig;
    sim::UnitState unit;
    for (int page = 0; page < tools::kN2kDemoPageCount; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        rig.context.currentPage = page;
        decode::ResetPositions(rig.store, nullptr);
        std::map<int, Expected> last;
        std::map<int, std::set<std::string>> texts;
        std::map<int, std::set<int>> frames;
        for (int cycle = 0; cycle < 24; ++cycle) {
            const double t = 0.5 + 5.0 * cycle;  // apparent wind on even seconds, true on odd
            rig.Feed(sim::CycleMessages(sim::Mode::Frames, unit, t, cycle));
            for (const auto& m : sim::N2kMessages(unit, t)) {
                for (const auto& [channel, source] : Sources()) {
                    if (source.pgn != m.pgn) continue;
                    if (const auto e = source.read(m.payload)) last[channel] = *e;
                }
            }
            for (const auto& g : tools::kN2kDemoGauges) {
                if (g.page != page) continue;
                const auto c = static_cast<std::size_t>(g.label);
                ASSERT_EQ(rig.store.m_PosMode[c], g.mode) << "channel " << int(g.label);
                ASSERT_EQ(rig.store.m_PosX[c], rig.display.GridX()[g.cell]);
                ASSERT_EQ(rig.store.m_PosY[c], rig.display.GridY()[g.cell]);
                ASSERT_TRUE(last.count(g.label));
                const std::string shown(rig.store.m_PosValueText[c].data(), 4);
                const Expected& want = last[g.label];
                const std::string legend = std::string(tools::kN2kDemoChannels[c].label) +
                                           " at t=" + std::to_string(t) + " shows '" + shown +
                                           "', sent " + std::to_string(want.value);
                if (want.dashes) {
                    EXPECT_EQ(shown, "----") << legend;
                } else {
                    char* end = nullptr;
                    const double value = std::strtod(shown.c_str(), &end);
                    ASSERT_NE(end, shown.c_str()) << legend;
                    EXPECT_NEAR(value, want.value, Sources().at(g.label).tolerance + 1e-9)
                        << legend;
                }
                texts[g.label].insert(shown);
                frames[g.label].insert(rig.store.m_PosFrame[c]);
            }
        }
        for (const auto& g : tools::kN2kDemoGauges) {
            if (g.page != page) continue;
            const char* label = tools::kN2kDemoChannels[g.label].label;
            EXPECT_GE(texts[g.label].size(), 3u) << label << " hardly moves";
            if (g.mode == display::kModeDial || g.mode == display::kModeLargeDial ||
                g.mode == display::kModeLargeRamp || g.mode == display::kModeBargraph ||
                g.mode == display::kModeBarText) {
                EXPECT_GE(frames[g.label].size(), 2u) << label << "'s needle or bar stands still";
            }
        }
    }
}

}  // namespace
