#pragma once
// The modeless "Log Playback" window: a slider over the log (0..1000, tenths of a percent),
// the position text and five picture buttons that choose the playback mode. The host object
// lives as long as the main window; the dialog itself is created when playback starts and
// destroyed when it stops. Closing the dialog by hand runs the callback (the record logic's
// stop); closing it from the logic does not.
#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <string>

#include "logs/playback.h"
#include "logs/playback_modes.h"

class QLabel;
class QPushButton;
class QSlider;

namespace pelor::ui {

class PlaybackDialog : public QDialog {
    Q_OBJECT

public:
    PlaybackDialog(logs::PlaybackModes& modes, std::function<void()> onUserClose, QWidget* parent);

    QSlider* Slider() const { return slider_; }
    QLabel* PositionLabel() const { return position_; }
    QPushButton* Button(logs::PlaybackButton b) const {
        return buttons_[static_cast<std::size_t>(b)];
    }
    // The picture name each button shows ("PB_PFU", "PB_PFD", ...), kept as its property.
    std::string PictureOf(logs::PlaybackButton b) const;

    void ShowPosition(int position);
    // Closes without running the callback.
    void CloseFromLogic();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A new look (day, dusk, night): the button pictures are drawn again in it.
    void changeEvent(QEvent* event) override;

private:
    void Press(logs::PlaybackButton b);
    void RefreshPictures();

    logs::PlaybackModes& modes_;
    std::function<void()> onUserClose_;
    std::map<std::string, QImage> pictures_;
    QSlider* slider_ = nullptr;
    QLabel* position_ = nullptr;
    std::array<QPushButton*, 5> buttons_{};
    bool closingFromLogic_ = false;
};

// The playback engine's window: creates, raises and destroys the dialog on the user interface
// thread; positions from the reader thread arrive as queued calls.
class PlaybackWindowHost : public QObject, public logs::PlaybackWindow {
    Q_OBJECT

public:
    PlaybackWindowHost(logs::PlaybackModes& modes, std::function<void()> onUserClose,
                       QWidget* parent);
    ~PlaybackWindowHost() override;

    void Open() override;
    void ShowPosition(int position) override;
    void Close() override;

    // The open dialog, or null.
    PlaybackDialog* Dialog() const { return dialog_; }

private:
    logs::PlaybackModes& modes_;
    std::function<void()> onUserClose_;
    QWidget* parent_;
    QPointer<PlaybackDialog> dialog_;
};

}  // namespace pelor::ui
