#include "ui/switch_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/artwork.h"

namespace pelor::ui {

namespace {
constexpr int kPictureSize = 96;
}

SwitchWindow::SwitchWindow(const std::map<std::string, QImage>& pictures,
                           std::function<void(int)> toggle, QWidget* parent)
    : QDialog(parent), pictures_(pictures), toggle_(std::move(toggle)) {
    setObjectName("Kantelo");
    setWindowTitle("Kantelo");
    setModal(false);
    setStyleSheet("QDialog { background: #101418; } QLabel { color: #d8e8d8; font-weight: bold; }");
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);
    for (int k = 0; k < 12; ++k) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString("SWITCH%1").arg(k));
        button->setProperty("controlId", kSwitchWindowButtonFirstId + k);
        button->setFixedSize(kPictureSize, kPictureSize);
        button->setIconSize(QSize(kPictureSize, kPictureSize));
        button->setFlat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setStyleSheet("QPushButton { border: none; background: transparent; }");
        connect(button, &QPushButton::clicked, this, [this, k] { Press(k); });
        auto* name = new QLabel(this);
        name->setProperty("controlId", kSwitchWindowNameFirstId + k);
        name->setMinimumWidth(90);
        const int column = (k / 4) * 2;
        const int row = k % 4;
        grid->addWidget(button, row, column);
        grid->addWidget(name, row, column + 1);
        buttons_[static_cast<std::size_t>(k)] = button;
        names_[static_cast<std::size_t>(k)] = name;
        states_[static_cast<std::size_t>(k)] = 1;
        ShowState(k);
    }
    auto* ok = new QPushButton(this);
    ok->setObjectName("PREFOK");
    ok->setProperty("controlId", 1);
    ok->setFocusPolicy(Qt::NoFocus);
    const QIcon icon = ButtonIcon(pictures_, "PREFOKU", "PREFOKD");
    if (icon.isNull()) {
        ok->setText("OK");
        ok->setMinimumSize(96, 32);
        ok->setStyleSheet(
            "QPushButton { color: #5fd08a; background: #1c2428; border: 1px solid #4a5a60;"
            " border-radius: 6px; font-weight: bold; }"
            "QPushButton:pressed { background: #10181c; }");
    } else {
        const auto it = pictures_.find("PREFOKU");
        ok->setIcon(icon);
        ok->setIconSize(it->second.size());
        ok->setFixedSize(it->second.size());
        ok->setFlat(true);
        ok->setStyleSheet("QPushButton { border: none; background: transparent; }");
    }
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok, 4, 4, 1, 2, Qt::AlignRight);
}

void SwitchWindow::SetNames(const std::array<std::string, 12>& names) {
    for (int k = 0; k < 12; ++k) {
        names_[static_cast<std::size_t>(k)]->setText(
            QString::fromLatin1(names[static_cast<std::size_t>(k)]).trimmed());
    }
}

void SwitchWindow::SetStates(const std::array<std::uint8_t, 12>& states) {
    for (int k = 0; k < 12; ++k) SetState(k, states[static_cast<std::size_t>(k)] != 0);
}

void SwitchWindow::SetState(int output, bool on) {
    if (output < 0 || output >= 12) return;
    states_[static_cast<std::size_t>(output)] = on ? 1 : 0;
    ShowState(output);
}

void SwitchWindow::Press(int output) {
    states_[static_cast<std::size_t>(output)] ^= 1;
    ShowState(output);
    if (toggle_) toggle_(output);
    update();
}

void SwitchWindow::ShowState(int output) {
    const bool on = states_[static_cast<std::size_t>(output)] != 0;
    const std::string up = on ? "SWGREENU" : "SWREDU";
    const std::string down = on ? "SWGREEND" : "SWREDD";
    QPushButton* b = buttons_[static_cast<std::size_t>(output)];
    b->setIcon(ButtonIcon(pictures_, up, down));
    b->setProperty("picture", QString::fromStdString(on ? "SWGREEN" : "SWRED"));
}

}  // namespace pelor::ui
