#pragma once
// "THEMES": a preview of a sample gauge, the built-in dial strip (fourteen 128 x 128 frames)
// with a value and a label drawn over it; the button steps to the next frame.
#include <QDialog>
#include <QImage>

namespace pelor::ui {

class ThemePreview;

class CThemes : public QDialog {
    Q_OBJECT

public:
    explicit CThemes(QWidget* parent = nullptr);
    int Frame() const;
    void NextFrame();

private:
    ThemePreview* preview_ = nullptr;
};

// The preview picture of frame `frame` of `strip` (frames of 128 x 128 side by side).
QImage ThemePreviewImage(const QImage& strip, int frame, QSize size);

}  // namespace pelor::ui
