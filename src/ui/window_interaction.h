#pragma once
// The main window's pointer, menus, touch zones and switch controls, over the dashboard's
// logic (app/interaction.h): right click selects a grid cell and opens the label menu, a
// double click toggles the grid, in touch mode a left click in a zone turns pages, opens the
// "Kantelo" window or the "Touch Menus" dialog; CLEAR, the switch buttons and the label menu
// commands run here.
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <array>
#include <functional>
#include <map>
#include <string>

class QLabel;
class QPushButton;
class QWidget;

namespace pelor::app {
class Dashboard;
}

namespace pelor::ui {

class LabelMenus;
class SwitchWindow;

class WindowInteraction : public QObject {
    Q_OBJECT

public:
    // `window`: the main window (resized for full screen); `gaugeArea`: the widget whose
    // pointer events are handled, in the coordinates of the grid cells and touch zones;
    // `command`: runs a main-window command by id (the touch menu's choices).
    WindowInteraction(app::Dashboard& dashboard, QWidget& window, QWidget& gaugeArea,
                      const std::map<std::string, QImage>& pictures,
                      std::function<void(int)> command);
    ~WindowInteraction() override;

    // After the tables are loaded: menu captions and greyed modes, switch names.
    void Update();
    // The gauge area's zoom: pointer positions are divided by it to find cells and zones.
    void SetViewZoom(double zoom) { zoom_ = zoom > 0 ? zoom : 1.0; }
    // Tool tips of the main window's buttons, and the switch buttons' fixed 32 x 32 size.
    void PrepareButtons(const std::function<QPushButton*(int)>& button);
    // The names under the main window's switch buttons, placed after the buttons moved.
    void PlaceSwitchNames(const std::function<QPushButton*(int)>& button);

    // CLEAR, switch buttons 1534..1545 and label menu commands; false for other ids.
    bool OnCommand(int controlId);
    // The main window showed `picture` on a switch button: the "Kantelo" window follows the
    // module's report.
    void SwitchPictureShown(int controlId, const QString& picture);

    // The look changed (the button pictures were drawn again): windows showing them follow.
    void LookChanged();
    void OpenSwitchWindow();
    void RunTouchMenu();

    LabelMenus& Menus() { return *menus_; }
    SwitchWindow* Switches() const;
    QLabel* SwitchName(int output) const { return names_[static_cast<std::size_t>(output)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ContextMenu(const QPoint& pos, const QPoint& globalPos);
    void TouchRelease(const QPoint& pos);
    void SetFullScreen(bool on);

    app::Dashboard& dashboard_;
    QWidget& window_;
    QWidget& gaugeArea_;
    const std::map<std::string, QImage>& pictures_;
    std::function<void(int)> command_;
    LabelMenus* menus_ = nullptr;
    QPointer<SwitchWindow> switchWindow_;
    std::array<QLabel*, 12> names_{};
    QSize normalSize_;
    double zoom_ = 1.0;
    // A position in the gauge area in the display type's coordinates.
    QPoint Unzoomed(const QPoint& pos) const;
};

}  // namespace pelor::ui
