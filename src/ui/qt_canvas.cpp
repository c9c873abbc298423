#include "ui/qt_canvas.h"

#include <QFontMetrics>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/format.h"
#include "ui/window_look.h"

namespace pelor::ui {

namespace {

constexpr QImage::Format kFormat = QImage::Format_RGB32;

QColor ToQColor(core::Color c) {
    return QColor(c.r, c.g, c.b);
}

}  // namespace

QtCanvas::QtCanvas() = default;

QtCanvas::~QtCanvas() {
    EndBufferPainter();
}

void QtCanvas::SetPictures(PictureMap pictures) {
    for (auto& [name, image] : pictures) {
        if (image.format() != kFormat) image = image.convertToFormat(kFormat);
        image = TintedImage(std::move(image), look_);
    }
    pictures_ = std::move(pictures);
}

void QtCanvas::SetPictureSource(PictureSource source) {
    source_ = std::move(source);
}

bool QtCanvas::EnsurePicture(std::string_view name) {
    return FindPicture(name) != nullptr;
}

const QImage* QtCanvas::FindPicture(std::string_view name) {
    if (const auto it = pictures_.find(name); it != pictures_.end()) return &it->second;
    if (!source_) return nullptr;
    QImage image = source_(name, zoom_);
    if (image.isNull()) return nullptr;
    if (image.format() != kFormat) image = image.convertToFormat(kFormat);
    image = TintedImage(std::move(image), look_);
    return &pictures_.emplace(std::string(name), std::move(image)).first->second;
}

void QtCanvas::SetLook(const display::Look& look) {
    if (look == look_) return;
    look_ = look;
    pictures_.clear();
}

void QtCanvas::SetZoom(double zoom) {
    zoom = std::clamp(zoom, 0.1, 16.0);
    if (zoom == zoom_) return;
    EndBufferPainter();
    zoom_ = zoom;
    pictures_.clear();
    fonts_.clear();
    for (const auto& [face, height] : fontsAsked_) AddFont(face, height);
}

int QtCanvas::Zoomed(int v) const {
    return zoom_ == 1.0 ? v : static_cast<int>(std::lround(v * zoom_));
}

QRect QtCanvas::Zoomed(core::Rect r) const {
    if (zoom_ == 1.0) return QRect(r.x, r.y, r.width, r.height);
    const int x = Zoomed(r.x);
    const int y = Zoomed(r.y);
    return QRect(x, y, Zoomed(r.x + r.width) - x, Zoomed(r.y + r.height) - y);
}

void QtCanvas::ReleasePicture(std::string_view name) {
    if (const auto it = pictures_.find(name); it != pictures_.end()) pictures_.erase(it);
}

bool QtCanvas::HasPicture(std::string_view name) const {
    return pictures_.find(name) != pictures_.end();
}

std::size_t QtCanvas::PictureBytes() const {
    std::size_t bytes = 0;
    for (const auto& [name, image] : pictures_)
        bytes += static_cast<std::size_t>(image.sizeInBytes());
    return bytes;
}

void QtCanvas::AddFont(const std::string& face, int height) {
    const std::string key = display::FontKey(face, height);
    if (fonts_.find(key) != fonts_.end()) return;
    if (std::find(fontsAsked_.begin(), fontsAsked_.end(), std::pair(face, height)) ==
        fontsAsked_.end()) {
        fontsAsked_.emplace_back(face, height);
    }
    const int cell = std::max(Zoomed(height), 1);
    QFont font(QString::fromStdString(face));
    font.setWeight(QFont::DemiBold);  // weight 600
    font.setPixelSize(cell);
    font.setStyleStrategy(QFont::PreferAntialias);
    // Shrink the em size until the text cell (ascent + descent) is the asked height.
    const int measured = QFontMetrics(font).height();
    if (measured > cell) font.setPixelSize(std::max(1, cell * cell / measured));
    fonts_[key] = PreparedFont{font, QFontMetrics(font).ascent()};
}

void QtCanvas::PrepareFonts(const display::GaugeStyles& styles) {
    for (const auto& s : styles) {
        AddFont(s.valueFontFace, s.valueFontHeight);
        AddFont(s.labelFontFace, s.labelFontHeight);
    }
}

void QtCanvas::ResetBuffer(int width, int height, std::string_view picture, int windowWidth,
                           int windowHeight) {
    EndBufferPainter();
    buffer_ = QImage(std::max(Zoomed(width), 1), std::max(Zoomed(height), 1), kFormat);
    buffer_.fill(Qt::black);
    if (const QImage* image = FindPicture(picture)) {
        QPainter p(&buffer_);
        p.drawImage(0, 0, *image);
    }
    window_ = QImage(std::max(Zoomed(windowWidth), 1), std::max(Zoomed(windowHeight), 1), kFormat);
    window_.fill(Qt::black);
}

QPainter& QtCanvas::BufferPainter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&buffer_);
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
    }
    return *painter_;
}

void QtCanvas::EndBufferPainter() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

void QtCanvas::CopyPicture(std::string_view picture, core::Rect source, int destX, int destY,
                           core::CopyMode mode) {
    // A picture the layout did not prepare (a mode the page table does not use, sent by the
    // unit's screen records) is made here once.
    const QImage* image = FindPicture(picture);
    if (image == nullptr) return;
    QPainter& p = BufferPainter();
    p.setCompositionMode(mode == core::CopyMode::Or ? QPainter::RasterOp_SourceOrDestination
                                                    : QPainter::CompositionMode_Source);
    p.drawImage(QPoint(Zoomed(destX), Zoomed(destY)), *image, Zoomed(source));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void QtCanvas::FillRect(core::Rect area, core::Color color) {
    BufferPainter().fillRect(Zoomed(area), ToQColor(display::TintColor(look_, color)));
}

void QtCanvas::Dim(core::Rect area) {
    // Two thirds of the brightness goes: still legible as the gauge it was, plainly not live.
    BufferPainter().fillRect(Zoomed(area), QColor(0, 0, 0, 170));
}

void QtCanvas::DrawText(int x, int y, std::string_view text, std::string_view font,
                        core::Color color) {
    if (text.empty()) return;
    const auto it = fonts_.find(font);
    if (it == fonts_.end()) return;
    QPainter& p = BufferPainter();
    p.setFont(it->second.font);
    p.setPen(ToQColor(display::TintColor(look_, color)));
    // Texts are single-byte; Latin-1 keeps every byte a character.
    p.drawText(QPoint(Zoomed(x), Zoomed(y) + it->second.ascent),
               QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void QtCanvas::DrawLine(int x1, int y1, int x2, int y2, core::Color color) {
    QPainter& p = BufferPainter();
    const QColor c = ToQColor(display::TintColor(look_, color));
    if (zoom_ == 1.0) {
        p.setPen(c);
        p.drawLine(x1, y1, x2, y2);
        return;
    }
    // A one-pixel line of the display type is zoom pixels wide.
    p.setPen(QPen(c, std::max(1.0, zoom_), Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF((x1 + 0.5) * zoom_, (y1 + 0.5) * zoom_),
               QPointF((x2 + 0.5) * zoom_, (y2 + 0.5) * zoom_));
}

void QtCanvas::StretchCopy(core::Rect source, core::Rect dest) {
    EndBufferPainter();
    QPainter p(&window_);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect from = Zoomed(source);
    const QRect to = Zoomed(dest);
    if (from.size() == to.size()) {
        p.drawImage(to.topLeft(), buffer_, from);
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(to, buffer_, from);
    }
}

display::RgbBuffer QtCanvas::GaugeAreaPixels(core::Rect windowArea, int width, int height) const {
    display::RgbBuffer out;
    out.width = std::max(width, 0);
    out.height = std::max(height, 0);
    QImage area = window_.copy(Zoomed(windowArea));
    if (area.width() != out.width || area.height() != out.height) {
        area = area.scaled(out.width, out.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    area = area.convertToFormat(QImage::Format_RGB888);
    const auto rowBytes = static_cast<std::size_t>(out.width) * 3;
    out.pixels.resize(rowBytes * static_cast<std::size_t>(out.height));
    for (int y = 0; y < out.height && y < area.height(); ++y) {
        std::memcpy(out.pixels.data() + rowBytes * static_cast<std::size_t>(y),
                    area.constScanLine(y),
                    std::min<std::size_t>(rowBytes, static_cast<std::size_t>(area.bytesPerLine())));
    }
    return out;
}

}  // namespace pelor::ui
