#include "ui/touch_menus_dialog.h"

#include <QGridLayout>
#include <QPushButton>

#include "ui/artwork.h"

namespace pelor::ui {

namespace {
constexpr int kButtonSize = 96;
}

TouchMenusDialog::TouchMenusDialog(const std::map<std::string, QImage>& pictures, bool fullScreen,
                                   bool recording, QWidget* parent, std::function<void(int)> look)
    : QDialog(parent), pictures_(pictures), look_(std::move(look)), recording_(recording) {
    setObjectName("Touch Menus");
    setWindowTitle("Touch Menus");
    setStyleSheet("QDialog { background: #101418; }");
    result_.fullScreen = fullScreen;
    auto* grid = new QGridLayout(this);
    grid->setSpacing(12);
    int index = 0;
    for (const auto& entry : kTouchMenuButtons) {
        AddButton(entry, index / 4, index % 4);
        ++index;
    }
    if (look_) {
        index = 0;
        for (const auto& entry : kTouchLookButtons) AddButton(entry, 2, index++);
    }
    ShowPictures();
}

QPushButton* TouchMenusDialog::AddButton(const TouchMenuButton& entry, int row, int column) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(entry.caption));
    button->setProperty("controlId", entry.id);
    button->setFixedSize(kButtonSize, kButtonSize);
    button->setIconSize(QSize(kButtonSize, kButtonSize));
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet("QPushButton { border: none; background: transparent; }");
    const int id = entry.id;
    connect(button, &QPushButton::clicked, this, [this, id] { Press(id); });
    static_cast<QGridLayout*>(layout())->addWidget(button, row, column);
    buttons_[entry.id] = button;
    return button;
}

void TouchMenusDialog::ShowPictures() {
    for (const auto& [id, button] : buttons_) {
        const std::string caption = button->objectName().toStdString();
        // Recording, or full screen, shows the pressed picture as the button's normal look.
        const bool active = (id == 1675 && recording_) || (id == 1678 && result_.fullScreen);
        const std::string up = caption + (active ? "D" : "U");
        const std::string down = caption + (active ? "U" : "D");
        const QIcon icon = ButtonIcon(pictures_, up, down);
        if (icon.isNull()) {
            button->setIcon(QIcon());
            button->setText(QString::fromStdString(caption));
        } else {
            button->setText(QString());
            button->setIcon(icon);
        }
        button->setProperty("picture", QString::fromStdString(up));
    }
}

QPushButton* TouchMenusDialog::Button(int id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

void TouchMenusDialog::Press(int id) {
    if (id == kIdTouchNight || id == kIdTouchDimmer || id == kIdTouchBrighter) {
        if (look_) look_(id);
        ShowPictures();
        return;
    }
    switch (id) {
        case 1672:
            result_.next = true;
            break;
        case 1677:
            result_.exit = true;
            break;
        case 1678:
            result_.fullScreen = !result_.fullScreen;
            break;
        case 1676:
            result_.flash = true;
            break;
        case 1674:
            result_.connect = true;
            break;
        case 1671:
            result_.preferences = true;
            break;
        case 1675:
            result_.record = true;
            break;
        case 1673:
            result_.switches = true;
            break;
        default:
            return;
    }
    accept();
}

}  // namespace pelor::ui
