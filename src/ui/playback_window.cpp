#include "ui/playback_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "ui/artwork.h"

namespace pelor::ui {

PlaybackDialog::PlaybackDialog(logs::PlaybackModes& modes, std::function<void()> onUserClose,
                               QWidget* parent)
    : QDialog(parent), modes_(modes), onUserClose_(std::move(onUserClose)) {
    setWindowTitle("Log Playback");
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    pictures_ = BuildButtonPictures();

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setRange(0, logs::kPlaybackPositions);
    slider_->setValue(0);
    position_ = new QLabel("0", this);

    auto* row = new QHBoxLayout;
    for (const auto& entry : logs::kPlaybackButtons) {
        auto* b = new QPushButton(this);
        b->setObjectName(entry.caption);
        b->setToolTip(entry.tooltip);
        b->setFlat(true);
        b->setIconSize(QSize(48, 32));
        const logs::PlaybackButton which = entry.button;
        connect(b, &QPushButton::clicked, this, [this, which] { Press(which); });
        buttons_[static_cast<std::size_t>(entry.button)] = b;
        row->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(slider_);
    layout->addWidget(position_);
    layout->addLayout(row);

    // The reader takes the slider position only in slider mode.
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        modes_.SetSliderPosition(value);
        position_->setText(QString::fromStdString(logs::PositionText(value)));
    });
    RefreshPictures();
    resize(380, 125);
}

std::string PlaybackDialog::PictureOf(logs::PlaybackButton b) const {
    return Button(b)->property("picture").toString().toStdString();
}

void PlaybackDialog::RefreshPictures() {
    for (const auto& entry : logs::kPlaybackButtons) {
        const std::string name = modes_.PictureFor(entry.button);
        QPushButton* b = Button(entry.button);
        b->setIcon(ButtonIcon(pictures_, name, name));  // same look normal and pressed
        b->setProperty("picture", QString::fromStdString(name));
    }
    update();
}

void PlaybackDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        pictures_ = BuildButtonPictures();
        RefreshPictures();
    }
    QDialog::changeEvent(event);
}

void PlaybackDialog::Press(logs::PlaybackButton b) {
    modes_.Press(b);
    RefreshPictures();
}

void PlaybackDialog::ShowPosition(int position) {
    slider_->setValue(position);
    position_->setText(QString::fromStdString(logs::PositionText(position)));
}

void PlaybackDialog::CloseFromLogic() {
    closingFromLogic_ = true;
    close();
}

void PlaybackDialog::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    if (!closingFromLogic_ && onUserClose_) {
        closingFromLogic_ = true;  // once
        onUserClose_();
    }
}

PlaybackWindowHost::PlaybackWindowHost(logs::PlaybackModes& modes,
                                       std::function<void()> onUserClose, QWidget* parent)
    : QObject(parent), modes_(modes), onUserClose_(std::move(onUserClose)), parent_(parent) {}

PlaybackWindowHost::~PlaybackWindowHost() {
    if (dialog_) dialog_->CloseFromLogic();
}

void PlaybackWindowHost::Open() {
    if (!dialog_) dialog_ = new PlaybackDialog(modes_, onUserClose_, parent_);
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
    dialog_->ShowPosition(0);
}

void PlaybackWindowHost::ShowPosition(int position) {
    QMetaObject::invokeMethod(
        this,
        [this, position] {
            if (dialog_) dialog_->ShowPosition(position);
        },
        Qt::QueuedConnection);
}

void PlaybackWindowHost::Close() {
    if (dialog_) dialog_->CloseFromLogic();  // deleted on close
    dialog_ = nullptr;
}

}  // namespace pelor::ui
