#include "logs/playback_modes.h"

#include "core/format.h"

namespace pelor::logs {

std::string PositionText(int position) {
    return core::Format("File Position = %4.1f%%", position * 0.1);
}

void PlaybackModes::Reset() {
    forward_ = 0;
    stepForward_ = 0;
    slider_mode_ = 1;
    stepBack_ = 0;
    reverse_ = 0;
    slider_ = 0;
    active_ = -1;
}

void PlaybackModes::SetOnly(std::atomic<std::uint8_t>& flag, PlaybackButton shown) {
    for (auto* f : {&forward_, &stepForward_, &slider_mode_, &stepBack_, &reverse_}) {
        if (f != &flag) f->store(0);
    }
    flag.store(1);
    active_ = static_cast<int>(shown);
}

void PlaybackModes::Press(PlaybackButton button) {
    switch (button) {
        case PlaybackButton::FastForward:
            if (forward_.load() != 0) {
                SetOnly(slider_mode_, PlaybackButton::Stop);
            } else {
                SetOnly(forward_, button);
            }
            return;
        case PlaybackButton::StepForward:
            SetOnly(stepForward_, button);
            return;
        case PlaybackButton::Stop:
            SetOnly(slider_mode_, button);
            return;
        case PlaybackButton::StepBack:
            SetOnly(stepBack_, button);
            return;
        case PlaybackButton::FastReverse:
            if (reverse_.load() != 0) {
                SetOnly(slider_mode_, PlaybackButton::Stop);
            } else {
                SetOnly(reverse_, button);
            }
            return;
    }
}

std::string PlaybackModes::PictureFor(PlaybackButton button) const {
    const std::string caption = kPlaybackButtons[static_cast<std::size_t>(button)].caption;
    return caption + (active_.load() == static_cast<int>(button) ? "D" : "U");
}

int PlaybackModes::NextPosition(int position) {
    if (forward_.load() != 0)
        return position + 1 > kPlaybackPositions ? kPlaybackPositions : position + 1;
    if (stepForward_.load() != 0) {
        stepForward_ = 0;
        return position + 1 > kPlaybackPositions ? kPlaybackPositions : position + 1;
    }
    if (slider_mode_.load() != 0) {
        const int s = slider_.load();
        return s > kPlaybackPositions ? kPlaybackPositions : (s < 0 ? 0 : s);
    }
    if (stepBack_.load() != 0) {
        stepBack_ = 0;
        return position - 1 < 0 ? 0 : position - 1;
    }
    if (reverse_.load() != 0) return position - 1 < 0 ? 0 : position - 1;
    return position;
}

}  // namespace pelor::logs
