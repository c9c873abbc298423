#include "ui/label_menus.h"

#include <QAction>
#include <QMenu>

#include "app/label_menu_table.h"

namespace pelor::ui {

LabelMenus::LabelMenus(QWidget* parent) : QObject(parent) {
    top_ = new QMenu(parent);
    top_->setObjectName("LabelMenu");
    for (int label = 0; label < app::kLabelMenuCount; ++label) {
        QMenu* popup = top_->addMenu(QString("Label %1").arg(label));
        popup->setObjectName(QString("LabelMenu%1").arg(label));
        for (int item = 0; item < app::kLabelMenuItemCount; ++item) {
            const int id = app::LabelMenuCommandId(label, item);
            if (id == 0) continue;
            QAction* action = popup->addAction(
                QString::fromLatin1(app::kLabelMenuItems[static_cast<std::size_t>(item)].text));
            action->setData(id);
            connect(action, &QAction::triggered, this, [this, id] { Q_EMIT Chosen(id); });
        }
        popups_[static_cast<std::size_t>(label)] = popup;
    }
}

LabelMenus::~LabelMenus() = default;

void LabelMenus::Update(const std::array<std::string, 16>& labelNames,
                        const std::array<bool, display::kModeCodeCount>& unavailable) {
    for (int label = 0; label < app::kLabelMenuCount; ++label) {
        QMenu* popup = popups_[static_cast<std::size_t>(label)];
        const QString name =
            QString::fromLatin1(labelNames[static_cast<std::size_t>(label)]).trimmed();
        popup->menuAction()->setText(name.isEmpty() ? QString("Label %1").arg(label) : name);
        for (QAction* action : popup->actions()) {
            const auto choice = app::LabelMenuChoiceFor(action->data().toInt());
            if (!choice) continue;
            action->setEnabled(!unavailable[static_cast<std::size_t>(choice->mode)]);
        }
    }
}

QAction* LabelMenus::Action(int commandId) const {
    const auto choice = app::LabelMenuChoiceFor(commandId);
    if (!choice) return nullptr;
    for (QAction* action : popups_[static_cast<std::size_t>(choice->label)]->actions()) {
        if (action->data().toInt() == commandId) return action;
    }
    return nullptr;
}

}  // namespace pelor::ui
