#include "ui/data_viewer_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/gauge_area.h"

namespace pelor::ui {

namespace {

QString Latin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr int kStatusTextLimit = 1000;

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
    menuBar_ = new QMenuBar(this);
    QMenu* help = menuBar_->addMenu("&Help");
    help->addAction("&About Pelor...", this, &CDataViewerDlg::ShowAbout);

    gaugeArea_ = new GaugeArea(*dashboard_, this);

    auto* side = new QVBoxLayout;
    for (const auto& spec : app::kPictureButtons) {
        auto* button = new QPushButton(QString::fromLatin1(spec.caption), this);
        button->setObjectName(QString::fromLatin1(spec.caption));
        button->setProperty("controlId", spec.id);
        button->setFocusPolicy(Qt::NoFocus);
        buttons_.insert(spec.id, button);
        const int id = spec.id;
        connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    }
    for (int id : {app::kIdPage, app::kIdDisplay, app::kIdConnect, app::kIdRecord, app::kIdStop,
                   app::kIdSave, app::kIdFlash, app::kIdClear, app::kIdOk}) {
        side->addWidget(buttons_.value(id));
    }
    side->addStretch(1);

    auto* switches = new QHBoxLayout;
    for (int i = 0; i < app::kSwitchButtonCount; ++i) {
        switches->addWidget(buttons_.value(app::kIdSwitch0 + i));
    }

    statusWindow_ = new QPlainTextEdit(this);
    statusWindow_->setObjectName("StatusWindow");
    statusWindow_->setProperty("controlId", app::kIdStatusWindow);
    statusWindow_->setReadOnly(true);
    statusWindow_->setMaximumHeight(90);
    statusWindow_->hide();

    // Control 1008 is a hidden static text kept for its id.
    hiddenText_ = new QLabel("12345", this);
    hiddenText_->setProperty("controlId", app::kIdHiddenText);
    hiddenText_->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(gaugeArea_, 1);
    top->addLayout(side);
    auto* main = new QVBoxLayout(this);
    main->setMenuBar(menuBar_);
    main->addLayout(top, 1);
    main->addLayout(switches);
    main->addWidget(statusWindow_);
}

int CDataViewerDlg::DoModal() {
    int result = app::kIdOk;
    if (OnInitDialog()) result = exec();
    OnDestroy();
    return result;
}

bool CDataViewerDlg::OnInitDialog() {
    setToolTipDuration(-1);
    return dashboard_->Initialise(*this);
}

void CDataViewerDlg::OnDestroy() {
    dashboard_->Destroy(*this);
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
        case app::kIdSave:
            dashboard_->SaveLabelsAndPages();
            break;
        default:
            // Recording, links, flash programming, preferences, the switch module and the
            // label menus are not part of this build yet: their buttons do nothing.
            break;
    }
}

void CDataViewerDlg::SetCaption(std::string_view text) {
    QMetaObject::invokeMethod(
        this, [this, t = Latin1(text)] { setWindowTitle(t); }, Qt::QueuedConnection);
}

void CDataViewerDlg::RequestRepaint() {
    QMetaObject::invokeMethod(gaugeArea_, qOverload<>(&QWidget::update), Qt::QueuedConnection);
}

void CDataViewerDlg::Beep() {
    QMetaObject::invokeMethod(qApp, &QApplication::beep, Qt::QueuedConnection);
}

void CDataViewerDlg::SetButtonPicture(int controlId, std::string_view picture) {
    QMetaObject::invokeMethod(
        this,
        [this, controlId, name = Latin1(picture)] {
            if (QPushButton* b = Button(controlId)) b->setText(name);
        },
        Qt::QueuedConnection);
}

void CDataViewerDlg::SetStatusText(std::string_view text) {
    QMetaObject::invokeMethod(
        this, [this, t = Latin1(text)] { statusWindow_->setPlainText(t.left(kStatusTextLimit)); },
        Qt::QueuedConnection);
}

void CDataViewerDlg::ApplyLayout() {
    statusWindow_->setVisible(dashboard_->settings.showComStatus == 1);
    setWindowTitle(Latin1(dashboard_->Caption()));
}

}  // namespace pelor::ui
