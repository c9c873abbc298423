// The playback reader: positions, offsets, modes, decoding, re-sent sentences, the error path
// and the thread with its stop.
#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "decode/channel_store.h"
#include "logs/playback.h"
#include "logs/record_button.h"
#include "logs_fixture.h"

namespace pelor::logs::testing {
namespace {

struct PlaybackTest : CaptureFixture, ::testing::Test {
    PlaybackTest() {
        playback->chunkRead = [this](std::int64_t offset, std::string_view bytes) {
            offsets.push_back(offset);
            sizes.push_back(bytes.size());
        };
    }
    void Prepare(const std::string& bytes, LogKind kind = LogKind::Text, int interval = 0) {
        const std::string path = dir.Path("play.log");
        WriteAll(path, bytes);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        ASSERT_TRUE(playback->Prepare(f, kind, interval));
    }
    std::vector<std::int64_t> offsets;
    std::vector<std::size_t> sizes;
};

TEST_F(PlaybackTest, ForwardPlayReadsEveryThousandthAndStopsAtTheEnd) {
    Prepare(std::string(512000, 'x'));
    EXPECT_EQ(playback->Step(), Playback::StepResult::Unchanged);  // position 0 counts as shown
    playback->Modes().Press(PlaybackButton::FastForward);
    for (int i = 0; i < 1005; ++i) playback->Step();
    ASSERT_EQ(offsets.size(), 1000u);
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        ASSERT_EQ(offsets[i], static_cast<std::int64_t>(512 * (i + 1))) << i;
    }
    EXPECT_EQ(sizes.front(), 1000u);
    EXPECT_EQ(sizes.back(), 0u);  // offset 512,000 is the end: an empty chunk
    EXPECT_EQ(playback->Position(), 1000);
    EXPECT_EQ(window.shown.back(), 1000);
    EXPECT_EQ(PositionText(1000), "File Position = 100.0%");
    EXPECT_EQ(PositionText(5), "File Position =  0.5%");
}

TEST_F(PlaybackTest, OffsetsComeFromASinglePrecisionScale) {
    Prepare(std::string(3000, 'x'));  // 1000 / 3000 is not exact in single precision
    playback->Modes().SetSliderPosition(999);
    playback->Step();
    const double perPosition = 1.0 / static_cast<double>(1000.0f / 3000.0f);
    EXPECT_EQ(offsets.at(0), static_cast<std::int64_t>(999 * perPosition));
}

TEST_F(PlaybackTest, StepsAndReverseStayInsideTheFile) {
    Prepare(std::string(10000, 'x'));
    PlaybackModes& modes = playback->Modes();
    modes.Press(PlaybackButton::StepBack);
    EXPECT_EQ(playback->Step(), Playback::StepResult::Unchanged);  // at 0: stays, reads nothing
    EXPECT_TRUE(offsets.empty());
    EXPECT_FALSE(modes.StepBack());
    modes.Press(PlaybackButton::StepForward);
    EXPECT_EQ(playback->Step(), Playback::StepResult::Read);
    EXPECT_EQ(playback->Step(), Playback::StepResult::Unchanged);  // one step per press
    EXPECT_EQ(modes.PictureFor(PlaybackButton::StepForward), "PB_SFD");
    modes.Press(PlaybackButton::FastReverse);
    playback->Step();
    playback->Step();
    // 1 / (1000 / 10000 in single precision) is just below 10: offset 9, then back to 0.
    EXPECT_EQ(offsets, (std::vector<std::int64_t>{9, 0}));
    EXPECT_EQ(playback->Position(), 0);
}

TEST_F(PlaybackTest, EmptyFileReadsNothingAnywhere) {
    Prepare("");
    playback->Modes().Press(PlaybackButton::FastForward);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(playback->Step(), Playback::StepResult::Read);
    EXPECT_EQ(offsets, (std::vector<std::int64_t>{0, 0, 0}));
    EXPECT_EQ(sizes, (std::vector<std::size_t>{0, 0, 0}));
    EXPECT_TRUE(prompt.MessageTexts().empty());
}

TEST_F(PlaybackTest, ChunkTextGoesThroughTheTransducerDecoder) {
    const std::string row = "20261204194900,000001," + Sentence("12.5##A0", "DEPTH###", '0') + "," +
                            Sentence("-3.2##1F", "WTEMP###", '3') + ",\r\n";
    Prepare(row + row);
    playback->Modes().SetSliderPosition(1);
    playback->Step();
    std::lock_guard<std::mutex> lock(store.mutex);
    EXPECT_EQ(store.LastSentence[3], Sentence("-3.2##1F", "WTEMP###", '3'));
    EXPECT_NE(store.LastSentence[0].find("DEPTH###0"), std::string::npos);
    EXPECT_LE(store.ReceiveText.size(), 4000u);
}

TEST_F(PlaybackTest, EveryChunkReadAsksForTheGaugesNotTheBareBackground) {
    // A reader's repaint draws the gauges only when the pass clears the full-redraw flag.
    decode::PageBytes modes{};
    for (auto& m : modes[0]) m = 1;
    context.labelMode = &modes;
    const auto frame = Frame(127250, 1, 0x1234, {0, 0x10, 0x27, 0, 0, 0, 0, 0xFD});
    std::string frames;
    for (int i = 0; i < 100; ++i) frames.append(frame.begin(), frame.end());
    std::string rows = "Date Time, Count,RPM     ,0  ,\r\n";
    for (int i = 0; i < 100; ++i) rows += "20261204194900,000001, 850, 17,\r\n";
    const std::string text = Sentence(" 850##C4", "RPM     ", '0') + "\r\n";
    struct Case {
        LogKind kind;
        std::string log;
    };
    const Case kCases[] = {{LogKind::Text, text + text + std::string(2000, ' ')},
                           {LogKind::CsvHeaderPending, rows},
                           {LogKind::Ebl, frames}};
    for (const auto& c : kCases) {
        Prepare(c.log, c.kind);
        {
            std::lock_guard<std::mutex> lock(store.mutex);
            store.m_bRedrawAll = 1;
            store.m_PosMode.fill(0);
        }
        playback->Modes().SetSliderPosition(c.kind == LogKind::Ebl ? 1 : 0);
        playback->Refresh();
        ASSERT_EQ(playback->Step(), Playback::StepResult::Read);
        std::lock_guard<std::mutex> lock(store.mutex);
        EXPECT_EQ(store.m_bRedrawAll, 0) << static_cast<int>(c.kind);
        if (c.kind != LogKind::Ebl) {
            EXPECT_EQ(store.m_PosMode[0], 1) << static_cast<int>(c.kind);
            EXPECT_EQ(std::string(store.m_PosValueText[0].data(), 4), " 850");
        }
    }
}

TEST_F(PlaybackTest, CsvRowsComeBackAndARefreshReadsThePositionAgain) {
    decode::PageBytes modes{};
    for (auto& m : modes[0]) m = 1;
    context.labelMode = &modes;
    std::string log = "Date Time, Count,--------,WTEMP   ,3 ,NOTUSED ,4 ,\r\n";
    for (int i = 1; i <= 300; ++i) {
        log += "20261204194900," + std::to_string(100000 + i) + ",--------," +
               (i < 150 ? "11.1" : "22.2") + ",  5, 000,  1,\r\n";
    }
    Prepare(log, LogKind::CsvHeaderPending);
    auto shown = [&] {
        std::lock_guard<std::mutex> lock(store.mutex);
        return std::string(store.m_PosValueText[3].data(), 4);
    };
    playback->Modes().SetSliderPosition(100);
    ASSERT_EQ(playback->Step(), Playback::StepResult::Read);
    EXPECT_EQ(shown(), "11.1");
    playback->Modes().SetSliderPosition(900);
    ASSERT_EQ(playback->Step(), Playback::StepResult::Read);
    EXPECT_EQ(shown(), "22.2");
    {
        std::lock_guard<std::mutex> lock(store.mutex);
        EXPECT_EQ(store.m_PosMode[4], 0) << "a placeholder column became a value";
        decode::ResetPositions(store, nullptr);  // the page changed
    }
    EXPECT_EQ(playback->Step(), Playback::StepResult::Unchanged);
    playback->Refresh();
    EXPECT_EQ(playback->Step(), Playback::StepResult::Read);
    {
        std::lock_guard<std::mutex> lock(store.mutex);
        EXPECT_EQ(store.m_PosMode[3], 1);
    }
    // At the end of the log the chunk at the position is empty: a refresh still brings the
    // latest values back.
    playback->Modes().SetSliderPosition(1000);
    ASSERT_EQ(playback->Step(), Playback::StepResult::Read);
    {
        std::lock_guard<std::mutex> lock(store.mutex);
        decode::ResetPositions(store, nullptr);
    }
    playback->Refresh();
    EXPECT_EQ(playback->Step(), Playback::StepResult::Read);
    std::lock_guard<std::mutex> lock(store.mutex);
    EXPECT_EQ(store.m_PosMode[3], 1);
    EXPECT_EQ(std::string(store.m_PosValueText[3].data(), 4), "22.2");
}

TEST_F(PlaybackTest, EblChunksGoThroughTheFrameDecoderNotAsText) {
    const auto frame = Frame(127250, 1, 0x1234, {0, 0x10, 0x27, 0, 0, 0, 0, 0xFD});
    std::string bytes(frame.begin(), frame.end());
    std::string log;
    for (int i = 0; i < 40; ++i) log += bytes;
    Prepare(log, LogKind::Ebl);
    {
        std::lock_guard<std::mutex> lock(store.mutex);
        store.ReceiveText = "untouched";
    }
    playback->Modes().SetSliderPosition(1);
    playback->Step();
    std::lock_guard<std::mutex> lock(store.mutex);
    EXPECT_EQ(store.ReceiveText, "untouched");
    EXPECT_NE(store.m_strLinkStatus.find("NMEA 2000: Link Time"), std::string::npos)
        << store.m_strLinkStatus;
}

TEST_F(PlaybackTest, ResendsCompleteSentencesOnlyWhileALinkIsConnected) {
    const std::string one = Sentence("12.5##A0", "DEPTH###", '0');
    const std::string two = Sentence("-3.2##1F", "WTEMP###", '3');
    // The chunk at position 1 (offset 4) holds the first sentence and half of the second.
    std::string log = "junk," + one + "," + two.substr(0, 16);
    log += std::string(5000 - log.size(), ' ');
    log.replace(998, 5, "$IIXD");  // a sentence start cut by the chunk's end
    Prepare(log);
    playback->Modes().SetSliderPosition(1);
    playback->Step();
    EXPECT_TRUE(sent.empty());  // no link
    linkConnected = true;
    playback->Modes().SetSliderPosition(2);
    playback->Step();
    playback->Modes().SetSliderPosition(1);
    playback->Step();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], one.substr(0, one.size() - 1) + "\r\n");
}

TEST_F(PlaybackTest, ResendDropsOverlongSentences) {
    std::string log = "xxxx$" + std::string(120, 'A') + "*12\r\n$GOOD*34";
    log += std::string(2000, ' ');
    Prepare(log);
    linkConnected = true;
    playback->Modes().SetSliderPosition(0);
    playback->Modes().Press(PlaybackButton::StepForward);
    playback->Step();
    // The run after the first '$' passes 90 characters and is dropped; "$GOOD*34" is sent.
    EXPECT_EQ(sent, (std::vector<std::string>{"$GOOD*34\r\n"}));
}

TEST_F(PlaybackTest, ReadErrorShowsMessageAndEndsTheReader) {
    std::FILE* f = std::fopen(dir.Path("").c_str(), "rb");  // a directory: reads fail
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(playback->Prepare(f, LogKind::Text, 0));
    playback->Modes().SetSliderPosition(3);
    EXPECT_EQ(playback->Step(), Playback::StepResult::Failed);
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Error Reading from file"});
    EXPECT_FALSE(playback->FileOpen());
    EXPECT_EQ(view.ButtonPicture(kRecordButtonId), kRecordIdlePicture);
    EXPECT_EQ(view.Caption(), " Finished Reading Log File");
    EXPECT_EQ(window.closed, 0);  // the window stays until stop
}

TEST_F(PlaybackTest, PacingWaitsTheCaptureInterval) {
    Prepare(std::string(10000, 'x'), LogKind::Text, 10);
    playback->Modes().Press(PlaybackButton::FastForward);
    std::stop_source source;
    std::vector<std::time_t> times;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(playback->Pace(source.get_token()));
        playback->Step();
        times.push_back(clock.Now());
    }
    EXPECT_EQ(times[1] - times[0], 10);
    EXPECT_EQ(times[2] - times[1], 10);
    source.request_stop();
    EXPECT_FALSE(playback->Pace(source.get_token()));
}

TEST_F(PlaybackTest, ThreadPlaysUntilStoppedAndStopClosesEverything) {
    const std::string path = dir.Path("thread.txt");
    std::string log;
    while (log.size() < 20000) log += Sentence("12.5##A0", "DEPTH###", '0') + "\r\n";
    WriteAll(path, log);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(playback->Start(f, LogKind::Text, 0));
    playback->Modes().Press(PlaybackButton::FastForward);
    while (true) {
        {
            std::lock_guard<std::mutex> lock(store.mutex);
            if (!store.LastSentence[0].empty()) break;
        }
        std::this_thread::yield();
    }
    EXPECT_TRUE(playback->Running());
    EXPECT_TRUE(playback->Stop());
    EXPECT_FALSE(playback->Running());
    EXPECT_FALSE(playback->FileOpen());
    EXPECT_EQ(window.closed, 1);
}

TEST(PlaybackModesTest, ButtonsSetOneModeAndShowOnePressedPicture) {
    struct Case {
        std::vector<PlaybackButton> presses;
        const char* wantActive;  // the one "D" picture
        int from, want;          // NextPosition(from)
        const char* legend;
    } const kCases[] = {
        {{PlaybackButton::FastForward}, "PB_PFD", 5, 6, "forward"},
        {{PlaybackButton::FastForward}, "PB_PFD", 1000, 1000, "forward stops at the end"},
        {{PlaybackButton::FastForward, PlaybackButton::FastForward},
         "PB_STOPD",
         5,
         0,
         "forward again: slider"},
        {{PlaybackButton::FastReverse}, "PB_PBD", 5, 4, "reverse"},
        {{PlaybackButton::FastReverse}, "PB_PBD", 0, 0, "reverse stops at 0"},
        {{PlaybackButton::FastReverse, PlaybackButton::FastReverse},
         "PB_STOPD",
         5,
         0,
         "reverse again: slider"},
        {{PlaybackButton::StepBack}, "PB_SBD", 5, 4, "step back"},
        {{PlaybackButton::FastForward, PlaybackButton::Stop}, "PB_STOPD", 5, 0, "stop: slider"},
    };
    for (const auto& c : kCases) {
        PlaybackModes modes;
        modes.Reset();
        for (const auto b : c.presses) modes.Press(b);
        int pressed = 0;
        for (const auto& entry : kPlaybackButtons) {
            const std::string picture = modes.PictureFor(entry.button);
            if (picture.back() == 'D') {
                ++pressed;
                EXPECT_EQ(picture, c.wantActive) << c.legend;
            }
        }
        EXPECT_EQ(pressed, 1) << c.legend;
        EXPECT_EQ(modes.NextPosition(c.from), c.want) << c.legend;
    }
    PlaybackModes fresh;
    for (const auto& entry : kPlaybackButtons) {
        EXPECT_EQ(fresh.PictureFor(entry.button), std::string(entry.caption) + "U");
    }
    EXPECT_TRUE(fresh.Slider());
}

}  // namespace
}  // namespace pelor::logs::testing
