#include "ui/data_viewer_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include <QEvent>
#include <QKeyEvent>
#include "display/layout.h"
#include "logs/record_button.h"
#include "ui/artwork.h"
#include "ui/flash_command.h"
#include "ui/gauge_area.h"
#include "ui/picture_preparer.h"
#include "ui/playback_window.h"
#include "ui/preferences_sheet.h"
#include "ui/window_interaction.h"

namespace pelor::ui {

namespace {

QString Latin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The order of the picture buttons down the button column.
constexpr int kColumnOrder[] = {app::kIdPage,   app::kIdDisplay, app::kIdConnect,
                                app::kIdRecord, app::kIdStop,    app::kIdSave,
                                app::kIdFlash,  app::kIdClear,   app::kIdOk};
constexpr int kButtonHeight = 38;
// Switch buttons are 32 x 32; each has its output's name under it, so the rows leave room
// for a line of small text and the columns for eight characters.
constexpr int kSwitchPitchX = 40;
constexpr int kSwitchPitchY = 46;
// The least time a button's picture is shown before the next one replaces it.
constexpr qint64 kPictureShownAtLeastMs = 200;

}  // namespace

CDataViewerDlg::CDataViewerDlg(QWidget* parent)
    : QDialog(parent),
      prompt_(this),
      dashboard_(std::make_unique<app::Dashboard>(prompt_, store_, *this, clock_)) {
    setObjectName("Data_Viewer");
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    BuildControls();
}

CDataViewerDlg::~CDataViewerDlg() {
    // The dashboard's readers may still call into this window until they are joined.
    dashboard_.reset();
}

void CDataViewerDlg::BuildControls() {
    gaugeArea_ = new GaugeArea(*dashboard_, canvas_, this);
    picturePreparer_ = new PicturePreparer(canvas_, this);

    menuBar_ = new QMenuBar(this);
    QMenu* help = menuBar_->addMenu("&Help");
    help->addAction("&About Pelor...", this, &CDataViewerDlg::ShowAbout);

    for (const auto& entry : app::kPictureButtons) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(entry.caption));
        button->setProperty("controlId", entry.id);
        button->setToolTip(QString::fromLatin1(entry.caption));
        button->setFocusPolicy(Qt::NoFocus);
        button->setFlat(true);
        button->setStyleSheet("QPushButton { border: none; background: transparent; }");
        buttons_.insert(entry.id, button);
        button->setAutoDefault(false);
        const int id = entry.id;
        if (id == app::kIdRecord) {
            connect(button, &QPushButton::clicked, this,
                    [this] { recordClick_->start(QApplication::doubleClickInterval()); });
        } else {
            connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
        }
    }
    recordClick_ = new QTimer(this);
    recordClick_->setSingleShot(true);
    connect(recordClick_, &QTimer::timeout, this, [this] { OnCommand(app::kIdRecord); });
    zoomTimer_ = new QTimer(this);
    zoomTimer_->setSingleShot(true);
    zoomTimer_->setInterval(120);
    connect(zoomTimer_, &QTimer::timeout, this, [this] { ZoomToWindow(); });
    // Resizable and maximisable: the gauge area scales to the window.
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    // Pointer, label menus, touch zones, CLEAR and the switch module.
    interaction_ = new WindowInteraction(*dashboard_, *this, *gaugeArea_, buttonPictures_,
                                         [this](int id) { OnCommand(id); });
    interaction_->PrepareButtons([this](int id) { return Button(id); });

    // A double click on RECORD chooses the log file.
    Button(app::kIdRecord)->installEventFilter(this);
    Button(app::kIdRecord)->setToolTip(QString::fromLatin1(logs::kRecordTooltip));
    playbackHost_ = new PlaybackWindowHost(
        dashboard_->Playback().Modes(), [this] { dashboard_->Capture().Stop(); }, this);
    dashboard_->Playback().SetWindow(playbackHost_);

    statusWindow_ = new QPlainTextEdit(this);
    statusWindow_->setObjectName("StatusWindow");
    statusWindow_->setProperty("controlId", app::kIdStatusWindow);
    statusWindow_->setReadOnly(true);
    statusWindow_->setPlainText(QString::fromLatin1(display::kStatusWindowText));
    statusWindow_->hide();

    // Control 1008 is a hidden static text kept for its id.
    hiddenText_ = new QLabel("12345", this);
    hiddenText_->setProperty("controlId", app::kIdHiddenText);
    hiddenText_->hide();
}

bool CDataViewerDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Button(app::kIdRecord) && event->type() == QEvent::MouseButtonDblClick) {
        recordClick_->stop();
        dashboard_->ChooseLogFile();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CDataViewerDlg::keyPressEvent(QKeyEvent* event) {
    if (LookKey(*event)) {
        event->accept();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        case Qt::Key_F11:
            // The whole screen for the gauges, on any monitor; F11 again returns.
            event->accept();
            // Kept here: where no window manager runs, the sizing below clears Qt's own
            // full-screen state.
            wholeScreen_ = !wholeScreen_;
            if (!wholeScreen_) {
                showNormal();
                if (normalGeometry_.isValid()) setGeometry(normalGeometry_);
            } else {
                normalGeometry_ = geometry();
                normalZoom_ = viewZoom_;
                showFullScreen();
                // Where no window manager sizes a full-screen window, it is sized here.
                if (const QScreen* s = screen()) setGeometry(s->geometry());
            }
            return;
        case Qt::Key_F4:
            if (event->modifiers() & Qt::AltModifier) {
                event->accept();
                close();
                return;
            }
            break;
        default:
            break;
    }
    QDialog::keyPressEvent(event);
}

int CDataViewerDlg::DoModal() {
    int result = kNotStarted;
    if (OnInitDialog()) result = exec();
    OnDestroy();
    return result;
}

bool CDataViewerDlg::OnInitDialog() {
    if (!dashboard_->Initialise(*this)) return false;
    // Link state and stale gauges are looked at four times a second.
    auto* watch = new QTimer(this);
    connect(watch, &QTimer::timeout, this, [this] { dashboard_->Watch(); });
    watch->start(250);
    return true;
}

void CDataViewerDlg::OnDestroy() {
    dashboard_->Destroy(*this);
}

void CDataViewerDlg::done(int result) {
    if (!closingQuietly_ && !dashboard_->KeepPagesBeforeQuit(true)) return;
    QDialog::done(result);
}

void CDataViewerDlg::CloseWithoutQuestions() {
    closingQuietly_ = true;
    reject();
}

void CDataViewerDlg::ShowAbout() {
    QMessageBox::about(this, "About Pelor",
                       "Pelor\nInstrument dashboard for the remote sensor unit\nVersion 3.04");
}

void CDataViewerDlg::OnCommand(int controlId) {
    switch (controlId) {
        case app::kIdOk:
            accept();
            break;
        case app::kIdPage:
            dashboard_->NextPage();
            break;
        case app::kIdStop:
            dashboard_->ToggleHold();
            break;
        case app::kIdConnect:
            dashboard_->ToggleConnection();
            break;
        case app::kIdSave:
            dashboard_->SaveLabelsAndPages();
            break;
        case app::kIdRecord:
            dashboard_->Record();
            break;
        case app::kIdDisplay:
            // A new project is loaded at the next start: the window closes with OK.
            if (OpenPreferences(*dashboard_, prompt_, *this, this) ==
                prefs::PreferencesResult::EndProgram) {
                accept();
            }
            break;
        case app::kIdFlash:
            RunFlashCommand(*dashboard_, prompt_, this);
            break;
        default:
            // The touch menu's look buttons, CLEAR, the switch buttons and the label menus.
            if (!LookCommand(controlId)) interaction_->OnCommand(controlId);
            break;
    }
}

void CDataViewerDlg::PrepareDrawing() {
    PrepareCanvas(canvas_, dashboard_->display);
    ApplyStoredLook();
    buttonPictures_ = BuildButtonPictures();
    for (const auto& entry : app::kPictureButtons) {
        QString picture = QString::fromLatin1(entry.caption);
        if (entry.id == app::kIdConnect) picture = "CONNECT170_170";
        if (entry.id == app::kIdRecord) picture = QString::fromLatin1(logs::kRecordIdlePicture);
        ShowPicture(entry.id, picture);
    }
}

// "NAME": the pair NAMEU / NAMED. "UP_DOWN": the pictures UP and DOWN, where DOWN may give
// only the part after UP's letters ("CONNECT171_170").
void CDataViewerDlg::ShowPicture(int controlId, const QString& picture) {
    QPushButton* b = Button(controlId);
    if (b == nullptr) return;
    b->setProperty("pictureName", picture);  // shown again in a new look
    QString up = picture + "U";
    QString down = picture + "D";
    const qsizetype cut = picture.indexOf('_');
    if (cut > 0) {
        up = picture.left(cut);
        down = picture.mid(cut + 1);
        if (buttonPictures_.count(down.toStdString()) == 0) {
            qsizetype letters = 0;
            while (letters < up.size() && !up[letters].isDigit()) ++letters;
            down = up.left(letters) + down;
        }
    }
    const QIcon icon = ButtonIcon(buttonPictures_, up.toStdString(), down.toStdString());
    if (icon.isNull()) {
        b->setText(picture);
        return;
    }
    const auto it = buttonPictures_.find(up.toStdString());
    const QSize size = it != buttonPictures_.end() ? it->second.size() : QSize(96, 32);
    b->setText(QString());
    b->setIcon(icon);
    b->setIconSize(size);
    b->resize(size);
}

void CDataViewerDlg::SetCaption(std::string_view text) {
    QMetaObject::invokeMethod(
        this, [this, t = Latin1(text)] { setWindowTitle(t); }, Qt::QueuedConnection);
}

void CDataViewerDlg::RequestRepaint() {
    gaugeArea_->RequestRender();
    QMetaObject::invokeMethod(gaugeArea_, qOverload<>(&QWidget::update), Qt::QueuedConnection);
}

void CDataViewerDlg::Beep() {
    QMetaObject::invokeMethod(qApp, &QApplication::beep, Qt::QueuedConnection);
}

void CDataViewerDlg::SetButtonPicture(int controlId, std::string_view picture) {
    quint64 serial = 0;
    {
        std::lock_guard lock(pictureMutex_);
        serial = ++pictureCalls_[controlId];
    }
    // A command's pressed look is set on this thread just before its send: it is drawn at
    // once, not queued behind the send with the picture that ends it.
    if (QThread::currentThread() == thread()) {
        ShowButtonPicture(controlId, Latin1(picture), serial);
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, controlId, name = Latin1(picture), serial] {
            ShowButtonPicture(controlId, name, serial);
        },
        Qt::QueuedConnection);
}

void CDataViewerDlg::ShowButtonPicture(int controlId, const QString& picture, quint64 serial) {
    {
        std::lock_guard lock(pictureMutex_);
        if (pictureCalls_[controlId] != serial) return;
    }
    // A picture stays long enough to be seen: PAGE's pressed look lasts only as long as the
    // send of its command.
    if (!pictureClock_.isValid()) pictureClock_.start();
    const auto shown = pictureShownAt_.find(controlId);
    if (shown != pictureShownAt_.end()) {
        const qint64 left = shown->second + kPictureShownAtLeastMs - pictureClock_.elapsed();
        if (left > 0) {
            QTimer::singleShot(static_cast<int>(left), this, [this, controlId, picture, serial] {
                ShowButtonPicture(controlId, picture, serial);
            });
            return;
        }
    }
    pictureShownAt_[controlId] = pictureClock_.elapsed();
    ShowPicture(controlId, picture);
    if (interaction_ != nullptr) interaction_->SwitchPictureShown(controlId, picture);
    if (QPushButton* b = Button(controlId); b != nullptr && b->isVisible()) b->repaint();
}

void CDataViewerDlg::SetStatusText(std::string_view text) {
    QMetaObject::invokeMethod(
        this,
        [this, t = Latin1(text)] {
            statusWindow_->setPlainText(t.left(display::kStatusWindowLimit));
        },
        Qt::QueuedConnection);
}

void CDataViewerDlg::ApplyLayout() {
    // A new layout keeps the window's zoom; the first one starts scaled down when the display
    // type's window would not fit the screen (types 12 to 14 open larger than 1280 x 1024).
    if (laidOut_) {
        PlaceForZoom(viewZoom_, true);
        return;
    }
    laidOut_ = true;
    PlaceForZoom(1.0, true);
    const QScreen* screen = this->screen();
    if (screen == nullptr) return;
    const QSize room = screen->availableGeometry().size();
    if (width() > room.width() || height() > room.height())
        PlaceForZoom(std::min(1.0, ZoomForSize(room)), true);
}

void CDataViewerDlg::PlaceForZoom(double zoom, bool resizeWindow) {
    placing_ = true;
    viewZoom_ = zoom;
    const auto z = [zoom](int v) { return static_cast<int>(std::lround(v * zoom)); };
    const qreal ratio = devicePixelRatioF();
    canvas_.SetZoom(zoom * ratio);
    ApplyCanvasLayout(canvas_, dashboard_->display);
    // The strips follow once the event loop runs, so the window shows without waiting for them.
    picturePreparer_->Prepare(LayoutStripNames(dashboard_->display));
    const display::LayoutState& layout = dashboard_->display.Layout();
    const int top = menuBar_->sizeHint().height();
    menuBar_->setGeometry(0, 0, 200, top);

    // Picture buttons down the column right of the gauge area, the twelve switch buttons
    // below them, three to a row. They keep their size at every zoom.
    const core::Rect column = layout.buttonColumn;
    const int columnX = z(column.x);
    int y = z(column.y) + top;
    for (int id : kColumnOrder) {
        QPushButton* b = Button(id);
        b->move(columnX, y);
        y += std::max(b->height(), kButtonHeight) + 4;
    }
    y += 8;
    for (int i = 0; i < app::kSwitchButtonCount; ++i) {
        QPushButton* b = Button(app::kIdSwitch0 + i);
        b->move(columnX + (i % 3) * kSwitchPitchX, y + (i / 3) * kSwitchPitchY);
    }
    const int buttonsBottom = y + 4 * kSwitchPitchY;

    const bool status = dashboard_->settings.showComStatus == 1;
    statusWindow_->setVisible(status);
    const core::Rect r = layout.statusRect;
    if (status) statusWindow_->setGeometry(z(r.x), z(r.y) + top, z(r.width), z(r.height));

    const QImage& image = canvas_.WindowImage();
    const int imageWidth = static_cast<int>(std::lround(image.width() / ratio));
    const int imageHeight = static_cast<int>(std::lround(image.height() / ratio));
    int width = std::max(imageWidth, columnX + column.width + 10);
    int height = std::max(
        {imageHeight + top, buttonsBottom + 10, status ? z(r.y + r.height) + top + 10 : 0});
    if (layout.windowWidth > 0) width = std::max(width, z(layout.windowWidth));
    if (layout.windowHeight > 0) height = std::max(height, z(layout.windowHeight) + top);
    if (resizeWindow) {
        // Any size from a quarter of the display type's window up: the gauge area follows.
        setMinimumSize(std::max(160, width / 4), std::max(120, height / 4));
        resize(width, height);
        move(layout.windowX, layout.windowY);
    }
    gaugeArea_->setGeometry(0, top, std::max(width, this->width()),
                            std::max(height, this->height()) - top);
    gaugeArea_->lower();
    placedSize_ = resizeWindow ? QSize(width, height) : size();
    setWindowTitle(Latin1(dashboard_->Caption()));
    interaction_->SetViewZoom(zoom);
    interaction_->Update();
    interaction_->PlaceSwitchNames([this](int id) { return Button(id); });
    placing_ = false;
    RequestRepaint();
}

double CDataViewerDlg::ZoomForSize(QSize size) const {
    const display::LayoutState& layout = dashboard_->display.Layout();
    const core::Rect& a = layout.scaledGaugeArea;
    const int top = menuBar_->sizeHint().height();
    // The gauge area and the button column side by side, the gauge area's margin kept.
    const double across =
        double(size.width() - layout.buttonColumn.width - 10) / std::max(layout.buttonColumn.x, 1);
    const double down = double(size.height() - top) / std::max(a.y + a.height + 20, 1);
    return std::clamp(std::min(across, down), 0.25, 8.0);
}

void CDataViewerDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The classic full screen is a cut of the window at its zoom; other sizes (the user's, a
    // maximised or full-screen window) take the zoom that fits, once the resizing settles.
    if (placing_ || !laidOut_ || size() == placedSize_ || dashboard_->page.m_bFullScreen == 1)
        return;
    zoomTimer_->start();
}

void CDataViewerDlg::ZoomToWindow() {
    // Back from F11 at the size it had: the zoom it had.
    const bool restored =
        !wholeScreen_ && normalGeometry_.isValid() && size() == normalGeometry_.size();
    const double zoom = restored ? normalZoom_ : ZoomForSize(size());
    if (std::abs(zoom - viewZoom_) < 0.005 && devicePixelRatioF() * zoom == canvas_.Zoom()) {
        gaugeArea_->resize(width(), height() - gaugeArea_->y());
        placedSize_ = size();
        return;
    }
    PlaceForZoom(zoom, false);
}

QWidget* CDataViewerDlg::GaugeAreaWidget() const {
    return gaugeArea_;
}

}  // namespace pelor::ui
