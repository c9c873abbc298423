#include "core/view.h"

namespace pelor::core {

void RecordingView::SetCaption(std::string_view text) {
    std::lock_guard lock(mutex_);
    caption_ = std::string(text);
}

void RecordingView::RequestRepaint() {
    std::lock_guard lock(mutex_);
    ++repaints_;
}

void RecordingView::Beep() {
    std::lock_guard lock(mutex_);
    ++beeps_;
}

void RecordingView::SetButtonPicture(int controlId, std::string_view picture) {
    std::lock_guard lock(mutex_);
    for (auto& p : pictures_) {
        if (p.first == controlId) {
            p.second = std::string(picture);
            return;
        }
    }
    pictures_.emplace_back(controlId, std::string(picture));
}

void RecordingView::SetStatusText(std::string_view text) {
    std::lock_guard lock(mutex_);
    status_ = std::string(text);
}

std::string RecordingView::Caption() const {
    std::lock_guard lock(mutex_);
    return caption_;
}

int RecordingView::RepaintCount() const {
    std::lock_guard lock(mutex_);
    return repaints_;
}

int RecordingView::BeepCount() const {
    std::lock_guard lock(mutex_);
    return beeps_;
}

std::string RecordingView::ButtonPicture(int controlId) const {
    std::lock_guard lock(mutex_);
    for (const auto& p : pictures_) {
        if (p.first == controlId) return p.second;
    }
    return {};
}

std::string RecordingView::StatusText() const {
    std::lock_guard lock(mutex_);
    return status_;
}

}  // namespace pelor::core
