#include "ui/window_look.h"

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QPalette>
#include <QRegularExpression>
#include <QWidget>
#include <optional>

namespace pelor::ui {

namespace {

// Where a widget keeps the style sheet it was given and the tinted one it was last set to:
// a sheet the code sets anew is taken as the new original.
constexpr const char* kOriginalSheet = "pelorOriginalStyleSheet";
constexpr const char* kTintedSheet = "pelorTintedStyleSheet";

display::Look& Current() {
    static display::Look look;
    return look;
}

QColor Tint(const QColor& c, const display::Look& look) {
    const core::Color t = display::TintColor(
        look, core::Color{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                          static_cast<std::uint8_t>(c.blue())});
    return QColor(t.r, t.g, t.b, c.alpha());
}

void TintWidgetSheet(QWidget* w, const display::Look& look) {
    const QString sheet = w->styleSheet();
    const QVariant tinted = w->property(kTintedSheet);
    QString original = sheet;
    if (tinted.isValid() && tinted.toString() == sheet)
        original = w->property(kOriginalSheet).toString();
    if (original.isEmpty()) return;
    const QString next = TintStyleSheet(original, look);
    w->setProperty(kOriginalSheet, original);
    w->setProperty(kTintedSheet, next);
    if (next != sheet) w->setStyleSheet(next);
}

void TintWindowSheets(QWidget* window, const display::Look& look) {
    TintWidgetSheet(window, look);
    for (QWidget* child : window->findChildren<QWidget*>()) TintWidgetSheet(child, look);
}

// Windows that show after the look changed (dialogs, message boxes, the playback window)
// get their style sheets tinted as they show.
class ShowWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow()) TintWindowSheets(w, Current());
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

const display::Look& CurrentLook() {
    return Current();
}

QString TintStyleSheet(const QString& sheet, const display::Look& look) {
    if (look.Plain()) return sheet;
    static const QRegularExpression colour(
        R"((#[0-9a-fA-F]{6}\b|#[0-9a-fA-F]{3}\b|\b(?:white|black|red|green|blue|yellow|gray|grey)\b))");
    QString out;
    qsizetype last = 0;
    auto it = colour.globalMatch(sheet);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += sheet.mid(last, m.capturedStart() - last);
        const QColor c(m.captured(0));
        out += c.isValid() ? Tint(c, look).name(QColor::HexRgb) : m.captured(0);
        last = m.capturedEnd();
    }
    out += sheet.mid(last);
    return out;
}

QImage TintedImage(const QImage& image, const display::Look& look) {
    if (look.Plain() || image.isNull()) return image;
    QImage out = image;
    if (out.format() != QImage::Format_ARGB32_Premultiplied &&
        out.format() != QImage::Format_ARGB32 && out.format() != QImage::Format_RGB32) {
        out = out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    for (int y = 0; y < out.height(); ++y) {
        display::TintPixels(look, reinterpret_cast<std::uint32_t*>(out.scanLine(y)),
                            static_cast<std::size_t>(out.width()));
    }
    return out;
}

void TintPictures(std::map<std::string, QImage>& pictures, const display::Look& look) {
    if (look.Plain()) return;
    for (auto& [name, image] : pictures) image = TintedImage(image, look);
}

void ApplyWindowLook(const display::Look& look) {
    static std::optional<QPalette> dayPalette;
    static ShowWatch* watch = nullptr;
    if (!dayPalette) dayPalette = QApplication::palette();
    if (watch == nullptr && qApp != nullptr) {
        watch = new ShowWatch(qApp);
        qApp->installEventFilter(watch);
    }
    Current() = look;
    QPalette palette = *dayPalette;
    if (!look.Plain()) {
        for (int g = 0; g < QPalette::NColorGroups; ++g) {
            const auto group = static_cast<QPalette::ColorGroup>(g);
            for (int r = 0; r < QPalette::NColorRoles; ++r) {
                const auto role = static_cast<QPalette::ColorRole>(r);
                palette.setColor(group, role, Tint(dayPalette->color(group, role), look));
            }
        }
    }
    QApplication::setPalette(palette);
    for (QWidget* w : QApplication::topLevelWidgets()) TintWindowSheets(w, look);
}

}  // namespace pelor::ui
