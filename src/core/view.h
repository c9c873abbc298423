#pragma once
// What the logic asks of the main window. Reader threads call these too; an implementation
// must be safe to call from any thread and must not wait for the user interface thread.
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace pelor::core {

class View {
public:
    virtual ~View() = default;
    virtual void SetCaption(std::string_view text) = 0;
    // Asks for a paint of the whole client area as soon as the user interface thread can.
    virtual void RequestRepaint() = 0;
    virtual void Beep() = 0;
    // Shows the picture pair named `picture` ("RECORD", "CONNECT170", ...) on button `controlId`.
    virtual void SetButtonPicture(int controlId, std::string_view picture) = 0;
    virtual void SetStatusText(std::string_view text) = 0;
};

// Test double: records every call; safe from any thread.
class RecordingView : public View {
public:
    void SetCaption(std::string_view text) override;
    void RequestRepaint() override;
    void Beep() override;
    void SetButtonPicture(int controlId, std::string_view picture) override;
    void SetStatusText(std::string_view text) override;

    std::string Caption() const;
    int RepaintCount() const;
    int BeepCount() const;
    std::string ButtonPicture(int controlId) const;
    std::string StatusText() const;

private:
    mutable std::mutex mutex_;
    std::string caption_;
    std::string status_;
    int repaints_ = 0;
    int beeps_ = 0;
    std::vector<std::pair<int, std::string>> pictures_;
};

}  // namespace pelor::core
