#include "ui/window_interaction.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>
#include <cmath>

#include "app/dashboard.h"
#include "app/interaction.h"
#include "app/label_menu_table.h"
#include "ui/label_menus.h"
#include "ui/switch_window.h"
#include "ui/touch_menus_dialog.h"

namespace pelor::ui {

WindowInteraction::WindowInteraction(app::Dashboard& dashboard, QWidget& window, QWidget& gaugeArea,
                                     const std::map<std::string, QImage>& pictures,
                                     std::function<void(int)> command)
    : QObject(&window),
      dashboard_(dashboard),
      window_(window),
      gaugeArea_(gaugeArea),
      pictures_(pictures),
      command_(std::move(command)) {
    menus_ = new LabelMenus(&window);
    connect(menus_, &LabelMenus::Chosen, this, [this](int id) { OnCommand(id); });
    gaugeArea_.installEventFilter(this);
    gaugeArea_.setContextMenuPolicy(Qt::DefaultContextMenu);
    for (int k = 0; k < 12; ++k) {
        auto* name = new QLabel(&window);
        name->setObjectName(QString("SwitchName%1").arg(k));
        name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        name->setStyleSheet("QLabel { color: #c8d8c8; }");
        QFont font = name->font();
        font.setPixelSize(8);
        name->setFont(font);
        names_[static_cast<std::size_t>(k)] = name;
    }
}

WindowInteraction::~WindowInteraction() = default;

SwitchWindow* WindowInteraction::Switches() const {
    return switchWindow_.data();
}

void WindowInteraction::Update() {
    std::array<std::string, 16> labelNames;
    const auto& strings = dashboard_.tables.labelSettings.LabelStrings;
    for (std::size_t i = 0; i < labelNames.size(); ++i) labelNames[i] = strings[i];
    menus_->Update(labelNames, dashboard_.display.Layout().modeUnavailable);
    const auto& switchNames = dashboard_.tables.labelSettings.KanteloLabels;
    for (std::size_t k = 0; k < names_.size(); ++k) {
        const QString text = QString::fromLatin1(switchNames[k]).trimmed();
        names_[k]->setProperty("fullName", text);
        names_[k]->setText(
            names_[k]->fontMetrics().elidedText(text, Qt::ElideRight, names_[k]->width()));
        names_[k]->setToolTip(text);
    }
    if (switchWindow_) {
        std::array<std::string, 12> n;
        for (std::size_t k = 0; k < n.size(); ++k) n[k] = switchNames[k];
        switchWindow_->SetNames(n);
    }
}

void WindowInteraction::PrepareButtons(const std::function<QPushButton*(int)>& button) {
    for (const auto& entry : app::kPictureButtons) {
        QPushButton* b = button(entry.id);
        if (b == nullptr) continue;
        const std::string tip = app::ToolTipText(entry.id);
        b->setToolTip(tip.empty() ? QString() : QString::fromLatin1(tip));
        // The main window's switch buttons keep their 32 x 32 size whatever picture they show.
        if (entry.id >= app::kIdSwitch0 && entry.id < app::kIdSwitch0 + app::kSwitchButtonCount)
            b->setFixedSize(32, 32);
    }
}

void WindowInteraction::PlaceSwitchNames(const std::function<QPushButton*(int)>& button) {
    for (int k = 0; k < app::kSwitchButtonCount; ++k) {
        QPushButton* b = button(app::kIdSwitch0 + k);
        QLabel* name = names_[static_cast<std::size_t>(k)];
        if (b == nullptr) continue;
        // Under the button, no wider than its column, so that neighbours never overlap; a
        // name too long for the column is cut with an ellipsis and shown whole as tool tip.
        const int width = b->width() + 6;
        const QString text = name->property("fullName").toString();
        name->setText(name->fontMetrics().elidedText(text, Qt::ElideRight, width));
        name->setToolTip(text);
        name->setGeometry(b->x() - 3, b->y() + b->height() + 1, width, 11);
        name->show();
        name->raise();
    }
}

bool WindowInteraction::OnCommand(int controlId) {
    if (controlId == app::kIdClear) {
        app::ClearCurrentPage(dashboard_);
        return true;
    }
    if (controlId >= app::kIdSwitch0 && controlId < app::kIdSwitch0 + app::kSwitchButtonCount) {
        app::ToggleSwitchOutput(dashboard_, controlId - app::kIdSwitch0);
        return true;
    }
    return app::RunLabelMenuCommand(dashboard_, controlId);
}

void WindowInteraction::SwitchPictureShown(int controlId, const QString& picture) {
    if (!switchWindow_) return;
    const int output = controlId - app::kIdSwitch0;
    if (output < 0 || output >= app::kSwitchButtonCount) return;
    if (picture == QString::fromLatin1(unit::kSwitchOnPicture.data(),
                                       static_cast<qsizetype>(unit::kSwitchOnPicture.size())))
        switchWindow_->SetState(output, true);
    else if (picture == QString::fromLatin1(unit::kSwitchOffPicture.data(),
                                            static_cast<qsizetype>(unit::kSwitchOffPicture.size())))
        switchWindow_->SetState(output, false);
}

bool WindowInteraction::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &gaugeArea_) return QObject::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::ContextMenu: {
            auto* e = static_cast<QContextMenuEvent*>(event);
            ContextMenu(Unzoomed(e->pos()), e->globalPos());
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
            app::ToggleGrid(dashboard_);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() != Qt::LeftButton || dashboard_.page.m_bTouchMode != 1) break;
            TouchRelease(Unzoomed(e->position().toPoint()));
            return true;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

QPoint WindowInteraction::Unzoomed(const QPoint& pos) const {
    if (zoom_ == 1.0) return pos;
    return QPoint(static_cast<int>(std::floor(pos.x() / zoom_)),
                  static_cast<int>(std::floor(pos.y() / zoom_)));
}

void WindowInteraction::ContextMenu(const QPoint& pos, const QPoint& globalPos) {
    // Outside every grid cell: no menu, and the selected cell stays as it was.
    if (!app::SelectCellAt(dashboard_, pos.x(), pos.y())) return;
    menus_->Top()->popup(globalPos);
}

void WindowInteraction::TouchRelease(const QPoint& pos) {
    switch (app::TouchZoneAt(dashboard_.display.Layout(), pos.x(), pos.y())) {
        case display::kTouchNextPage:
            dashboard_.NextPage();
            break;
        case display::kTouchSwitches:
            OpenSwitchWindow();
            break;
        case display::kTouchFirstPage:
            app::GoToFirstPage(dashboard_);
            break;
        case display::kTouchMenu:
            RunTouchMenu();
            break;
        default:
            break;
    }
}

void WindowInteraction::OpenSwitchWindow() {
    if (!switchWindow_) {
        switchWindow_ = new SwitchWindow(
            pictures_, [this](int output) { OnCommand(app::kIdSwitch0 + output); }, &window_);
        switchWindow_->setAttribute(Qt::WA_DeleteOnClose);
    }
    std::array<std::string, 12> names;
    const auto& labels = dashboard_.tables.labelSettings.KanteloLabels;
    for (std::size_t k = 0; k < names.size(); ++k) names[k] = labels[k];
    switchWindow_->SetNames(names);
    // Each button starts from the module's last report, so the window never shows an output
    // on that the module reported off.
    std::array<std::uint8_t, 12> states{};
    {
        std::lock_guard lock(dashboard_.channels.mutex);
        states = dashboard_.channels.SwitchState;
    }
    switchWindow_->SetStates(states);
    switchWindow_->show();
    switchWindow_->raise();
}

void WindowInteraction::LookChanged() {
    if (!switchWindow_) return;
    std::array<std::uint8_t, 12> states{};
    {
        std::lock_guard lock(dashboard_.channels.mutex);
        states = dashboard_.channels.SwitchState;
    }
    switchWindow_->SetStates(states);
}

void WindowInteraction::RunTouchMenu() {
    const bool recording = dashboard_.Capture().Recording() || dashboard_.Capture().PlayingBack();
    TouchMenusDialog dialog(pictures_, dashboard_.page.m_bFullScreen == 1, recording, &window_,
                            [this](int id) { command_(id); });
    if (dialog.exec() != QDialog::Accepted) return;
    const TouchMenuResult r = dialog.Result();
    SetFullScreen(r.fullScreen);
    if (r.next) dashboard_.NextPage();
    if (r.exit) command_(app::kIdOk);
    if (r.flash) command_(app::kIdFlash);
    if (r.preferences) command_(app::kIdDisplay);
    if (r.connect) command_(app::kIdConnect);
    if (r.record) command_(app::kIdRecord);
    if (r.switches) OpenSwitchWindow();
}

void WindowInteraction::SetFullScreen(bool on) {
    const bool was = dashboard_.page.m_bFullScreen == 1;
    dashboard_.page.m_bFullScreen = on ? 1 : 0;
    const core::Rect normal = app::NormalWindowRect(dashboard_.display.Layout());
    if (!on) {
        if (!was) return;
        // Back to the normal window at (10, 10).
        const QSize size = normalSize_.isValid() ? normalSize_ : window_.size();
        window_.resize(size);
        window_.move(normal.x, normal.y);
        return;
    }
    const auto rect = app::FullScreenRect(dashboard_.page.m_nDisplayType, normal);
    if (!rect) return;
    if (!was) normalSize_ = window_.size();
    // The cut of the gauge area at the zoom it is drawn at.
    window_.resize(static_cast<int>(std::lround(rect->width * zoom_)),
                   static_cast<int>(std::lround(rect->height * zoom_)));
    window_.move(rect->x, rect->y);
}

}  // namespace pelor::ui
