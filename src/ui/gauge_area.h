#pragma once
// The gauge area of the main window.
#include <QWidget>

#include "app/dashboard.h"

namespace pelor::ui {

class GaugeArea : public QWidget {
    Q_OBJECT

public:
    GaugeArea(app::Dashboard& dashboard, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    app::Dashboard& dashboard_;
};

}  // namespace pelor::ui
