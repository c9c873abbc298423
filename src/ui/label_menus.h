#pragma once
// The label menus of the main window: a top popup whose sixteen entries, captioned with the
// display label names, open one popup per label with its display-mode items. Each item
// carries its command id; choosing it emits Chosen(id).
#include <QObject>
#include <array>
#include <string>

#include "display/layout.h"

class QAction;
class QMenu;
class QWidget;

namespace pelor::ui {

class LabelMenus : public QObject {
    Q_OBJECT

public:
    explicit LabelMenus(QWidget* parent);
    ~LabelMenus() override;

    // Captions of the sixteen entries of the top popup (the display label names; an empty
    // name shows as "Label n") and the modes the display type cannot show, greyed.
    void Update(const std::array<std::string, 16>& labelNames,
                const std::array<bool, display::kModeCodeCount>& unavailable);

    QMenu* Top() const { return top_; }
    QMenu* Popup(int label) const { return popups_[static_cast<std::size_t>(label)]; }
    // The item with `commandId`, or nullptr.
    QAction* Action(int commandId) const;

Q_SIGNALS:
    void Chosen(int commandId);

private:
    QMenu* top_ = nullptr;
    std::array<QMenu*, 16> popups_{};
};

}  // namespace pelor::ui
