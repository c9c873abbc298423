#pragma once
// The "Touch Menus" dialog: eight large picture buttons for a touch screen. Each press sets
// its result flag (FULLSCREEN inverts the full-screen flag it was given) and closes the dialog
// with OK; the main window then runs what was asked for.
#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <map>
#include <string>

class QPushButton;

namespace pelor::ui {

struct TouchMenuResult {
    bool next = false;
    bool exit = false;
    bool fullScreen = false;
    bool flash = false;
    bool connect = false;
    bool preferences = false;
    bool record = false;
    bool switches = false;
};

struct TouchMenuButton {
    int id;
    const char* caption;  // picture pair caption + "U" / caption + "D"
};

inline constexpr std::array<TouchMenuButton, 8> kTouchMenuButtons = {{
    {1672, "TOUCHNEXT"},
    {1677, "TOUCHEXIT"},
    {1678, "FULLSCREEN"},
    {1676, "TOUCHFLASH"},
    {1674, "TOUCHCONNECT"},
    {1671, "TOUCHPREF"},
    {1675, "TOUCHRECORD"},
    {1673, "TOUCHKANTELO"},
}};

// The look's buttons, in a row of their own: they change the look at once and leave the
// dialog open, so a skipper can step the brightness down until it is right.
inline constexpr int kIdTouchNight = 1679;
inline constexpr int kIdTouchDimmer = 1680;
inline constexpr int kIdTouchBrighter = 1681;
inline constexpr std::array<TouchMenuButton, 3> kTouchLookButtons = {{
    {kIdTouchNight, "TOUCHNIGHT"},
    {kIdTouchDimmer, "TOUCHDIMMER"},
    {kIdTouchBrighter, "TOUCHBRIGHTER"},
}};

class TouchMenusDialog : public QDialog {
    Q_OBJECT

public:
    // `fullScreen`: the window is in full screen; `recording`: a capture or playback runs.
    // Either shows its button's pressed picture as the normal look.
    // `look`, when given, runs a look button's id (the pictures are then shown anew from
    // `pictures`, which it may have drawn again).
    TouchMenusDialog(const std::map<std::string, QImage>& pictures, bool fullScreen, bool recording,
                     QWidget* parent, std::function<void(int)> look = {});

    const TouchMenuResult& Result() const { return result_; }
    QPushButton* Button(int id) const;

private:
    QPushButton* AddButton(const TouchMenuButton& entry, int row, int column);
    void ShowPictures();
    void Press(int id);

    const std::map<std::string, QImage>& pictures_;
    std::function<void(int)> look_;
    bool recording_ = false;
    TouchMenuResult result_;
    std::map<int, QPushButton*> buttons_;
};

}  // namespace pelor::ui
