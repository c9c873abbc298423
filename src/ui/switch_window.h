#pragma once
// The "Kantelo" window: the switch module's twelve outputs as large buttons in three columns
// of four (outputs 0..3 left, 4..7 middle, 8..11 right), each with the output's name beside
// it, and an OK button. Modeless; a press flips the button's look and asks the main window
// to toggle that output.
#include <QDialog>
#include <QImage>
#include <array>
#include <functional>
#include <map>
#include <string>

class QLabel;
class QPushButton;

namespace pelor::ui {

inline constexpr int kSwitchWindowButtonFirstId = 1534;
inline constexpr int kSwitchWindowNameFirstId = 1068;

class SwitchWindow : public QDialog {
    Q_OBJECT

public:
    SwitchWindow(const std::map<std::string, QImage>& pictures, std::function<void(int)> toggle,
                 QWidget* parent);

    // The names beside the buttons and the state each button shows (nonzero: on, green).
    void SetNames(const std::array<std::string, 12>& names);
    void SetStates(const std::array<std::uint8_t, 12>& states);
    // One output's state, as the module reported it.
    void SetState(int output, bool on);

    QPushButton* Button(int output) const { return buttons_[static_cast<std::size_t>(output)]; }
    QLabel* Name(int output) const { return names_[static_cast<std::size_t>(output)]; }
    bool State(int output) const { return states_[static_cast<std::size_t>(output)] != 0; }

private:
    void Press(int output);
    void ShowState(int output);

    const std::map<std::string, QImage>& pictures_;
    std::function<void(int)> toggle_;
    std::array<QPushButton*, 12> buttons_{};
    std::array<QLabel*, 12> names_{};
    std::array<std::uint8_t, 12> states_{};
};

}  // namespace pelor::ui
