#pragma once
// Prepares pictures of the canvas in the background of the user interface thread: one picture
// per turn of the event loop, so the window shows and answers while the rest is drawn.
#include <QObject>
#include <QTimer>
#include <deque>
#include <string>
#include <vector>

#include "ui/qt_canvas.h"

namespace pelor::ui {

class PicturePreparer : public QObject {
    Q_OBJECT

public:
    PicturePreparer(QtCanvas& canvas, QObject* parent);

    // Replaces what is still waiting with `names` and starts preparing them.
    void Prepare(std::vector<std::string> names);
    // Nothing is left to prepare.
    bool Idle() const { return pending_.empty(); }

private:
    void PrepareNext();

    QtCanvas& canvas_;
    std::deque<std::string> pending_;
    QTimer timer_;
};

}  // namespace pelor::ui
