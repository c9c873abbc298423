// The "Log Playback" window: its controls, the button modes and pictures, positions from
// another thread, and closing by hand versus closing from the logic.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <thread>

#include "display_render_support.h"
#include "logs/playback_modes.h"
#include "ui/playback_window.h"

namespace pelor::ui {
namespace {

using logs::PlaybackButton;

struct PlaybackWindowTest : ::testing::Test {
    PlaybackWindowTest() { testing::EnsureQtApplication(); }
    void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    logs::PlaybackModes modes;
    int userCloses = 0;
    PlaybackWindowHost host{modes, [this] { ++userCloses; }, nullptr};
};

TEST_F(PlaybackWindowTest, OpensWithSliderTextButtonsAndTooltips) {
    host.Open();
    PlaybackDialog* d = host.Dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Log Playback");
    EXPECT_FALSE(d->isModal());
    EXPECT_EQ(d->Slider()->minimum(), 0);
    EXPECT_EQ(d->Slider()->maximum(), 1000);
    EXPECT_EQ(d->Slider()->value(), 0);
    for (const auto& entry : logs::kPlaybackButtons) {
        EXPECT_EQ(d->Button(entry.button)->toolTip().toStdString(), entry.tooltip);
        EXPECT_EQ(d->PictureOf(entry.button), std::string(entry.caption) + "U");
        EXPECT_FALSE(d->Button(entry.button)->icon().isNull()) << entry.caption;
    }
    host.Open();  // a second start brings the same window to the front
    EXPECT_EQ(host.Dialog(), d);
    host.Close();
}

TEST_F(PlaybackWindowTest, ButtonsSetTheModeAndItsPicture) {
    host.Open();
    PlaybackDialog* d = host.Dialog();
    d->Button(PlaybackButton::FastForward)->click();
    EXPECT_TRUE(modes.Forward());
    EXPECT_EQ(d->PictureOf(PlaybackButton::FastForward), "PB_PFD");
    d->Button(PlaybackButton::FastForward)->click();
    EXPECT_TRUE(modes.Slider());
    EXPECT_EQ(d->PictureOf(PlaybackButton::FastForward), "PB_PFU");
    EXPECT_EQ(d->PictureOf(PlaybackButton::Stop), "PB_STOPD");
    d->Button(PlaybackButton::StepBack)->click();
    EXPECT_TRUE(modes.StepBack());
    EXPECT_EQ(d->PictureOf(PlaybackButton::StepBack), "PB_SBD");
    d->Slider()->setValue(250);
    EXPECT_EQ(modes.SliderPosition(), 250);
    EXPECT_EQ(d->PositionLabel()->text().toStdString(), "File Position = 25.0%");
    host.Close();
}

TEST_F(PlaybackWindowTest, PositionsFromTheReaderThreadArriveQueued) {
    host.Open();
    std::thread reader([this] { host.ShowPosition(473); });
    reader.join();
    Settle();
    EXPECT_EQ(host.Dialog()->Slider()->value(), 473);
    EXPECT_EQ(host.Dialog()->PositionLabel()->text().toStdString(), "File Position = 47.3%");
    host.Close();
    host.ShowPosition(5);  // after close: dropped
    Settle();
    EXPECT_EQ(userCloses, 0);
}

TEST_F(PlaybackWindowTest, ClosingByHandRunsStopOnce) {
    host.Open();
    host.Dialog()->close();
    Settle();
    EXPECT_EQ(userCloses, 1);
    EXPECT_EQ(host.Dialog(), nullptr);
    host.Close();  // the stop that follows closes nothing more
    EXPECT_EQ(userCloses, 1);
}

}  // namespace
}  // namespace pelor::ui
