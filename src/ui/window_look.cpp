#include "ui/window_look.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QDialogButtonBox>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPixmap>
#include <QRegularExpression>
#include <QWidget>
#include <optional>
#include <utility>

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

// The pictures Qt itself puts on buttons (the OK tick, the Cancel cross) and on labels (a
// message box's warning sign) are tinted too; the originals are kept for the next look.
constexpr const char* kOriginalIcon = "pelorOriginalIcon";
constexpr const char* kOriginalPixmap = "pelorOriginalPixmap";

void TintButtonIcon(QAbstractButton* b, const display::Look& look) {
    QVariant kept = b->property(kOriginalIcon);
    if (!kept.isValid()) {
        if (b->icon().isNull() || look.Plain()) return;
        kept = QVariant::fromValue(b->icon());
        b->setProperty(kOriginalIcon, kept);
    }
    const QIcon original = kept.value<QIcon>();
    if (look.Plain()) {
        b->setIcon(original);
        return;
    }
    const QImage picture = original.pixmap(b->iconSize()).toImage();
    b->setIcon(QIcon(QPixmap::fromImage(TintedImage(picture, look))));
}

void TintLabelPixmap(QLabel* l, const display::Look& look) {
    QVariant kept = l->property(kOriginalPixmap);
    if (!kept.isValid()) {
        if (l->pixmap().isNull() || look.Plain()) return;
        kept = QVariant::fromValue(l->pixmap());
        l->setProperty(kOriginalPixmap, kept);
    }
    const QPixmap original = kept.value<QPixmap>();
    l->setPixmap(look.Plain() ? original
                              : QPixmap::fromImage(TintedImage(original.toImage(), look)));
}

void TintWindowSheets(QWidget* window, const display::Look& look) {
    TintWidgetSheet(window, look);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        TintWidgetSheet(child, look);
        // Only Qt's own pictures: those of the dialog buttons (OK, Cancel, Yes, No) and a
        // message box's sign. The artwork's pictures are tinted when they are drawn.
        if (auto* b = qobject_cast<QAbstractButton*>(child);
            b != nullptr && qobject_cast<QDialogButtonBox*>(b->parentWidget()) != nullptr) {
            TintButtonIcon(b, look);
        }
        if (auto* l = qobject_cast<QLabel*>(child);
            l != nullptr && qobject_cast<QMessageBox*>(l->window()) != nullptr) {
            TintLabelPixmap(l, look);
        }
    }
}

// Dusk and night turn a light day palette dark: each colour's lightness is turned over
// (a light grey window becomes near black, black text becomes light) before it is tinted,
// so that dialogs are lit text on a dark ground like the gauges. A day palette that is dark
// already (the program's own: black windows, lit text) is only tinted.
QColor Darkened(const QColor& c) {
    const QColor hsl = c.toHsl();
    return QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), 255 - hsl.lightness(), c.alpha());
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

QImage TintedImage(QImage image, const display::Look& look) {
    if (look.Plain() || image.isNull()) return image;
    QImage out = std::move(image);
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
    for (auto& [name, image] : pictures) image = TintedImage(std::move(image), look);
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
    const bool turnOver = look.palette != display::Palette::Day &&
                          dayPalette->color(QPalette::Active, QPalette::Window).lightness() > 127;
    if (!look.Plain()) {
        for (int g = 0; g < QPalette::NColorGroups; ++g) {
            const auto group = static_cast<QPalette::ColorGroup>(g);
            for (int r = 0; r < QPalette::NColorRoles; ++r) {
                const auto role = static_cast<QPalette::ColorRole>(r);
                QColor c = dayPalette->color(group, role);
                if (turnOver) c = Darkened(c);
                palette.setColor(group, role, Tint(c, look));
            }
        }
    }
    QApplication::setPalette(palette);
    for (QWidget* w : QApplication::topLevelWidgets()) TintWindowSheets(w, look);
}

}  // namespace pelor::ui
