#pragma once
// The five modes of log playback and the buttons that choose them. The window (user interface
// thread) writes the flags and the slider position; the playback reader reads them and clears
// the step flags. At most one flag is set; a window starts in slider mode at position 0.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>

namespace pelor::logs {

enum class PlaybackButton { FastReverse, StepBack, Stop, StepForward, FastForward };

struct PlaybackButtonRow {
    PlaybackButton button;
    const char* caption;  // also the name of its picture pair: caption + "U" / caption + "D"
    const char* tooltip;
};

// Left to right, as the window shows them.
inline constexpr std::array<PlaybackButtonRow, 5> kPlaybackButtons = {{
    {PlaybackButton::FastReverse, "PB_PB", "Fast Reverse through Log File"},
    {PlaybackButton::StepBack, "PB_SB", "Single Step Backward through Log File"},
    {PlaybackButton::Stop, "PB_STOP", "Stop Playback and use Slider"},
    {PlaybackButton::StepForward, "PB_SF", "Single Step Forward through Log File"},
    {PlaybackButton::FastForward, "PB_PF", "Fast Forward through Log File"},
}};

inline constexpr int kPlaybackPositions = 1000;

// "File Position = %4.1f%%" for a position in tenths of a percent.
std::string PositionText(int position);

class PlaybackModes {
public:
    // Slider mode only, slider at 0, no button shown pressed.
    void Reset();

    // A button press: sets the mode it stands for (the fast buttons toggle back to slider).
    void Press(PlaybackButton button);

    // The button whose "D" picture is shown, or none before the first press.
    bool HasActiveButton() const { return active_.load() >= 0; }
    PlaybackButton ActiveButton() const { return static_cast<PlaybackButton>(active_.load()); }
    // The picture name a button shows now: caption + "D" when active, caption + "U" otherwise.
    std::string PictureFor(PlaybackButton button) const;

    void SetSliderPosition(int position) { slider_.store(position); }
    int SliderPosition() const { return slider_.load(); }

    // Reader side: the next position from the flags, first match in the order forward, step
    // forward, slider, step back, reverse; the step flags are cleared when taken.
    int NextPosition(int position);

    bool Forward() const { return forward_.load() != 0; }
    bool StepForward() const { return stepForward_.load() != 0; }
    bool Slider() const { return slider_mode_.load() != 0; }
    bool StepBack() const { return stepBack_.load() != 0; }
    bool Reverse() const { return reverse_.load() != 0; }

private:
    void SetOnly(std::atomic<std::uint8_t>& flag, PlaybackButton shown);

    std::atomic<std::uint8_t> forward_{0};
    std::atomic<std::uint8_t> stepForward_{0};
    std::atomic<std::uint8_t> slider_mode_{1};
    std::atomic<std::uint8_t> stepBack_{0};
    std::atomic<std::uint8_t> reverse_{0};
    std::atomic<int> slider_{0};
    std::atomic<int> active_{-1};
};

}  // namespace pelor::logs
