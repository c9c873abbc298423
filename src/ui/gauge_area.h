#pragma once
// The client area of the main window: shows the canvas's window image, which the display
// paints with the gauges, and hands the painted gauge area to the dashboard for the web bitmap
// when the project asks for one (the dashboard's step writes the file).
#include <QWidget>
#include <atomic>

#include "app/dashboard.h"
#include "ui/qt_canvas.h"

namespace pelor::ui {

class GaugeArea : public QWidget {
    Q_OBJECT

public:
    GaugeArea(app::Dashboard& dashboard, QtCanvas& canvas, QWidget* parent);

    // Any thread: the next paint draws the gauge area anew from the channels. Other paints
    // (the window uncovered, the status window's text changed) show the last picture as it
    // was, so they can neither blank the gauges nor take a reader's repaint for themselves.
    void RequestRender() { renderPending_ = true; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    app::Dashboard& dashboard_;
    QtCanvas& canvas_;
    std::atomic<bool> renderPending_{true};
};

}  // namespace pelor::ui
