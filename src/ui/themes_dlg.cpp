#include "ui/themes_dlg.h"

#include <QDialogButtonBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "display/gauge_style.h"
#include "ui/artwork.h"

namespace pelor::ui {
namespace {

constexpr int kFrameSize = 128;
const QColor kFace(212, 208, 200);
const QColor kText(70, 199, 131);

}  // namespace

QImage ThemePreviewImage(const QImage& strip, int frame, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kFace);
    QPainter p(&image);
    const int frames = std::max(1, strip.width() / kFrameSize);
    const int n = ((frame % frames) + frames) % frames;
    const QPoint at(40, 28);
    p.drawImage(at, strip, QRect(n * kFrameSize, 0, kFrameSize, kFrameSize));
    QFont value("Arial");
    value.setPixelSize(24);
    value.setWeight(QFont::Bold);
    p.setFont(value);
    p.setPen(kText);
    p.drawText(at + QPoint(34, 54 + 24), "1234");
    QFont label("Arial");
    label.setPixelSize(16);
    label.setWeight(QFont::DemiBold);
    p.setFont(label);
    p.drawText(at + QPoint(35, 108 + 16), "GAUGE ID");
    return image;
}

class ThemePreview : public QWidget {
public:
    explicit ThemePreview(QWidget* parent) : QWidget(parent) {
        const auto styles = display::DefaultGaugeStyles();
        strip_ = DrawGaugeStrip(1, styles[1]);
        setObjectName("ThemePreview");
        setFixedSize(220, 200);
    }
    int frame = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, ThemePreviewImage(strip_, frame, size()));
    }

private:
    QImage strip_;
};

CThemes::CThemes(QWidget* parent) : QDialog(parent) {
    setObjectName("THEMES");
    setWindowTitle("THEMES");
    preview_ = new ThemePreview(this);
    auto* next = new QPushButton("Next Frame", this);
    next->setObjectName("NextFrame");
    connect(next, &QPushButton::clicked, this, &CThemes::NextFrame);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(preview_, 0, Qt::AlignHCenter);
    layout->addWidget(next, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
    resize(540, 390);
}

int CThemes::Frame() const {
    return preview_->frame;
}

void CThemes::NextFrame() {
    ++preview_->frame;
    preview_->update();
}

}  // namespace pelor::ui
