#include "ui/picture_preparer.h"

namespace pelor::ui {

PicturePreparer::PicturePreparer(QtCanvas& canvas, QObject* parent)
    : QObject(parent), canvas_(canvas) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &PicturePreparer::PrepareNext);
}

void PicturePreparer::Prepare(std::vector<std::string> names) {
    pending_.assign(std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
    if (pending_.empty())
        timer_.stop();
    else
        timer_.start();
}

void PicturePreparer::PrepareNext() {
    if (!pending_.empty()) {
        canvas_.EnsurePicture(pending_.front());
        pending_.pop_front();
    }
    if (pending_.empty()) timer_.stop();
}

}  // namespace pelor::ui
