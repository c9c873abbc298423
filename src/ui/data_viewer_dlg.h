#pragma once
// The main window: gauge area, picture buttons, switch buttons and the status window. It stays
// thin: the Dashboard holds the state and runs the commands; this window implements the seams
// (prompt, view) and the window-only steps of start-up and shut-down.
#include <QDialog>
#include <QMap>
#include <QRect>
#include <QSize>
#include <memory>

#include "app/dashboard.h"
#include "core/clock.h"
#include "ui/qt_canvas.h"
#include "ui/qt_prompt.h"
#include "ui/qt_settings_store.h"

#include <QElapsedTimer>
#include <QImage>
#include <map>
#include <mutex>

class QPushButton;
class QPlainTextEdit;
class QLabel;
class QMenuBar;
class QKeyEvent;
class QResizeEvent;
class QTimer;

namespace pelor::ui {

class GaugeArea;
class PicturePreparer;
class PlaybackWindowHost;
class WindowInteraction;

class CDataViewerDlg : public QDialog, public core::View, public app::WindowHooks {
    Q_OBJECT

public:
    explicit CDataViewerDlg(QWidget* parent = nullptr);
    ~CDataViewerDlg() override;

    // Runs the window modally: start-up, the event loop, shut-down. Returns the dialog result,
    // or kNotStarted when start-up ended the program before the window was shown.
    static constexpr int kNotStarted = -1;
    int DoModal();

    app::Dashboard& dashboard() { return *dashboard_; }
    QPushButton* Button(int controlId) const { return buttons_.value(controlId, nullptr); }
    QWidget* GaugeAreaWidget() const;
    WindowInteraction& Interaction() { return *interaction_; }
    const QtCanvas& Canvas() const { return canvas_; }
    // How many window units one pixel of the display type takes in the gauge area.
    double ViewZoom() const { return viewZoom_; }
    const std::map<std::string, QImage>& ButtonPictures() const { return buttonPictures_; }

    // core::View, callable from any thread.
    void SetCaption(std::string_view text) override;
    void RequestRepaint() override;
    void Beep() override;
    void SetButtonPicture(int controlId, std::string_view picture) override;
    void SetStatusText(std::string_view text) override;

    // app::WindowHooks.
    void PrepareDrawing() override;
    void ApplyLayout() override;

    // The window's look changes now, without a restart: palette, dialogs, button pictures and
    // gauges (pictures are tinted again once, then paints stay copies). The settings keep it.
    void SetLook(const display::Look& look);
    display::Look WindowLook() const;
    // N: day -> dusk -> night; minus and plus: one brightness step down or up. False for
    // other keys.
    bool LookKey(const QKeyEvent& event);
    // The touch menu's DAY/NIGHT, DIMMER and BRIGHTER; false for other ids.
    bool LookCommand(int controlId);

    bool OnInitDialog();
    void OnDestroy();
    // Every way the user ends the program (OK, the close box, Alt+F4) comes here: unsaved
    // page layout is offered for saving first, and Cancel keeps the window open.
    void done(int result) override;
    // Ends the program without asking anything (a quit signal: nobody may be there to answer).
    void CloseWithoutQuestions();
    void OnCommand(int controlId);
    void ShowAbout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape does not end the program (nor does Return press a button); Alt+F4 closes the
    // window the normal way, also where no window manager does it.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void ShowPicture(int controlId, const QString& picture);
    // SetButtonPicture's call number `serial` for the button, on the window's thread: dropped
    // when a later call overtook it, put off while the button's last picture has not been up
    // for kPictureShownAtLeastMs.
    void ShowButtonPicture(int controlId, const QString& picture, quint64 serial);
    // Start-up: the look the settings keep, before any picture is drawn.
    void ApplyStoredLook();
    // Lays the window out with the gauge area `zoom` times the display type's size: canvas,
    // pictures, buttons beside it, the status window. `resizeWindow`: the window takes the
    // size that holds it all; otherwise it keeps its own.
    void PlaceForZoom(double zoom, bool resizeWindow);
    // The zoom at which the gauge area and the button column fill a window of `size`.
    double ZoomForSize(QSize size) const;
    // After the user (or the window manager) resized the window.
    void ZoomToWindow();

    QtPrompt prompt_;
    QtCanvas canvas_;
    std::map<std::string, QImage> buttonPictures_;
    QtSettingsStore store_;
    core::SystemClock clock_;
    std::unique_ptr<app::Dashboard> dashboard_;

    QMenuBar* menuBar_ = nullptr;
    GaugeArea* gaugeArea_ = nullptr;
    QPlainTextEdit* statusWindow_ = nullptr;
    QLabel* hiddenText_ = nullptr;
    PlaybackWindowHost* playbackHost_ = nullptr;
    PicturePreparer* picturePreparer_ = nullptr;
    WindowInteraction* interaction_ = nullptr;
    QMap<int, QPushButton*> buttons_;
    // RECORD's single click waits out the double-click time: a double click only chooses the
    // log, it does not start or stop a recording first.
    QTimer* recordClick_ = nullptr;
    // The gauge area's zoom (1: the display type's own size); a resize is taken up once it
    // settles.
    double viewZoom_ = 1.0;
    bool laidOut_ = false;
    bool placing_ = false;
    QSize placedSize_;
    QRect normalGeometry_;  // before F11 made the window full screen, and its zoom
    double normalZoom_ = 1.0;
    bool wholeScreen_ = false;  // F11
    bool closingQuietly_ = false;
    QTimer* zoomTimer_ = nullptr;
    std::mutex pictureMutex_;  // SetButtonPicture runs on reader threads too
    std::map<int, quint64> pictureCalls_;
    std::map<int, qint64> pictureShownAt_;
    QElapsedTimer pictureClock_;
};

}  // namespace pelor::ui
