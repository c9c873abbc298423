// Button pictures: a bevelled dark key with a green symbol and caption ("U"), and the same
// key pressed in, lit from behind ("D").
#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "ui/artwork.h"
#include "ui/artwork_style.h"
#include "ui/window_look.h"

namespace pelor::ui {

namespace {

using namespace art;

enum class Symbol {
    None,
    Record,
    Stop,
    Save,
    Connect,
    Flash,
    Page,
    Display,
    Clear,
    Ok,
    Exit,
    FullScreen,
    Switch,
    FastBack,
    StepBack,
    StepForward,
    FastForward,
    Moon,
    Dimmer,
    Brighter
};

void Key(QPainter& p, const QRectF& r, bool down) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal radius = std::min<qreal>(8, std::min(r.width(), r.height()) / 5);
    QLinearGradient bezel(r.topLeft(), r.bottomLeft());
    bezel.setColorAt(0, down ? kBezelDark : kBezelLight);
    bezel.setColorAt(1, down ? kBezelLight : kBezelDark);
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    const QRectF face = r.adjusted(2.5, 2.5, -2.5, -2.5);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    if (down) {
        fill.setColorAt(0, QColor(10, 40, 28));
        fill.setColorAt(1, QColor(22, 74, 50));
    } else {
        fill.setColorAt(0, QColor(40, 52, 58));
        fill.setColorAt(1, QColor(12, 18, 22));
    }
    p.setBrush(fill);
    p.drawRoundedRect(face, radius - 1.5, radius - 1.5);
    p.restore();
}

void Lamp(QPainter& p, QPointF c, qreal r, const QColor& color, bool lit) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    if (lit) {
        QRadialGradient glow(c, r * 2);
        QColor edge = color;
        edge.setAlpha(0);
        QColor mid = color;
        mid.setAlpha(110);
        glow.setColorAt(0, mid);
        glow.setColorAt(1, edge);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, r * 2, r * 2);
    }
    QRadialGradient body(c - QPointF(r * 0.3, r * 0.3), r * 1.2);
    body.setColorAt(0, lit ? color.lighter(170) : color.darker(250));
    body.setColorAt(1, lit ? color : color.darker(400));
    p.setPen(QPen(QColor(20, 24, 26), std::max<qreal>(1, r * 0.15)));
    p.setBrush(body);
    p.drawEllipse(c, r, r);
    p.restore();
}

void DrawSymbol(QPainter& p, Symbol s, const QRectF& box, const QColor& c) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal u = std::min(box.width(), box.height());
    const QPointF m = box.center();
    const QPen pen(c, std::max<qreal>(1.5, u * 0.11), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    auto tri = [&](QPointF at, qreal size, bool right) {
        QPainterPath t;
        const qreal d = right ? 1 : -1;
        t.moveTo(at + QPointF(-d * size * 0.5, -size * 0.6));
        t.lineTo(at + QPointF(d * size * 0.5, 0));
        t.lineTo(at + QPointF(-d * size * 0.5, size * 0.6));
        t.closeSubpath();
        p.setBrush(c);
        p.setPen(Qt::NoPen);
        p.drawPath(t);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
    };
    switch (s) {
        case Symbol::None:
            break;
        case Symbol::Record:
            Lamp(p, m, u * 0.32, kRed, true);
            break;
        case Symbol::Stop:
            p.setBrush(c);
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(QRectF(m.x() - u * 0.3, m.y() - u * 0.3, u * 0.6, u * 0.6), 2, 2);
            break;
        case Symbol::Save: {
            const QRectF r(m.x() - u * 0.36, m.y() - u * 0.36, u * 0.72, u * 0.72);
            p.drawRoundedRect(r, 2, 2);
            p.drawLine(QPointF(r.left() + u * 0.16, r.top()),
                       QPointF(r.left() + u * 0.16, r.top() + u * 0.22));
            p.drawLine(QPointF(r.left() + u * 0.16, r.top() + u * 0.22),
                       QPointF(r.right() - u * 0.16, r.top() + u * 0.22));
            p.drawLine(QPointF(r.right() - u * 0.16, r.top() + u * 0.22),
                       QPointF(r.right() - u * 0.16, r.top()));
            break;
        }
        case Symbol::Connect: {
            p.drawLine(QPointF(m.x() - u * 0.42, m.y()), QPointF(m.x() - u * 0.12, m.y()));
            p.drawLine(QPointF(m.x() + u * 0.12, m.y()), QPointF(m.x() + u * 0.42, m.y()));
            p.drawRoundedRect(QRectF(m.x() - u * 0.14, m.y() - u * 0.22, u * 0.28, u * 0.44), 2, 2);
            break;
        }
        case Symbol::Flash: {
            QPainterPath bolt;
            bolt.moveTo(m + QPointF(u * 0.08, -u * 0.42));
            bolt.lineTo(m + QPointF(-u * 0.2, u * 0.05));
            bolt.lineTo(m + QPointF(0, u * 0.05));
            bolt.lineTo(m + QPointF(-u * 0.08, u * 0.42));
            bolt.lineTo(m + QPointF(u * 0.22, -u * 0.06));
            bolt.lineTo(m + QPointF(u * 0.02, -u * 0.06));
            bolt.closeSubpath();
            p.setBrush(kAmber);
            p.setPen(Qt::NoPen);
            p.drawPath(bolt);
            break;
        }
        case Symbol::Page:
        case Symbol::StepForward:
            tri(m - QPointF(u * 0.05, 0), u * 0.55, true);
            if (s == Symbol::StepForward)
                p.drawLine(m + QPointF(u * 0.3, -u * 0.3), m + QPointF(u * 0.3, u * 0.3));
            break;
        case Symbol::StepBack:
            tri(m + QPointF(u * 0.05, 0), u * 0.55, false);
            p.drawLine(m + QPointF(-u * 0.3, -u * 0.3), m + QPointF(-u * 0.3, u * 0.3));
            break;
        case Symbol::FastForward:
            tri(m - QPointF(u * 0.18, 0), u * 0.45, true);
            tri(m + QPointF(u * 0.18, 0), u * 0.45, true);
            break;
        case Symbol::FastBack:
            tri(m - QPointF(u * 0.18, 0), u * 0.45, false);
            tri(m + QPointF(u * 0.18, 0), u * 0.45, false);
            break;
        case Symbol::Display: {
            // A gear: the settings of the display.
            p.setBrush(Qt::NoBrush);
            for (int i = 0; i < 8; ++i) {
                p.drawLine(Polar(m, u * 0.26, i * 45), Polar(m, u * 0.4, i * 45));
            }
            p.drawEllipse(m, u * 0.25, u * 0.25);
            p.drawEllipse(m, u * 0.08, u * 0.08);
            break;
        }
        case Symbol::Clear:
            p.drawLine(m + QPointF(-u * 0.3, -u * 0.3), m + QPointF(u * 0.3, u * 0.3));
            p.drawLine(m + QPointF(u * 0.3, -u * 0.3), m + QPointF(-u * 0.3, u * 0.3));
            break;
        case Symbol::Ok: {
            QPainterPath tick;
            tick.moveTo(m + QPointF(-u * 0.34, 0));
            tick.lineTo(m + QPointF(-u * 0.1, u * 0.26));
            tick.lineTo(m + QPointF(u * 0.36, -u * 0.3));
            p.drawPath(tick);
            break;
        }
        case Symbol::Exit:
            p.drawArc(QRectF(m.x() - u * 0.32, m.y() - u * 0.3, u * 0.64, u * 0.64), 120 * 16,
                      300 * 16);
            p.drawLine(m + QPointF(0, -u * 0.42), m + QPointF(0, -u * 0.05));
            break;
        case Symbol::FullScreen: {
            const qreal a = u * 0.36;
            const qreal b = u * 0.16;
            for (int sx : {-1, 1}) {
                for (int sy : {-1, 1}) {
                    const QPointF corner = m + QPointF(sx * a, sy * a);
                    p.drawLine(corner, corner - QPointF(sx * b, 0));
                    p.drawLine(corner, corner - QPointF(0, sy * b));
                }
            }
            break;
        }
        case Symbol::Switch:
            p.drawRoundedRect(QRectF(m.x() - u * 0.38, m.y() - u * 0.18, u * 0.76, u * 0.36),
                              u * 0.18, u * 0.18);
            Lamp(p, m + QPointF(u * 0.2, 0), u * 0.13, kGreen, true);
            break;
        case Symbol::Moon: {
            // A crescent: the disc less a disc set off to the upper right.
            QPainterPath disc;
            disc.addEllipse(m, u * 0.34, u * 0.34);
            QPainterPath bite;
            bite.addEllipse(m + QPointF(u * 0.16, -u * 0.12), u * 0.3, u * 0.3);
            p.setBrush(c);
            p.setPen(Qt::NoPen);
            p.drawPath(disc.subtracted(bite));
            break;
        }
        case Symbol::Dimmer:
        case Symbol::Brighter: {
            // A sun with short rays (dimmer) or long rays (brighter).
            const qreal ray = s == Symbol::Brighter ? 0.44 : 0.32;
            for (int i = 0; i < 8; ++i)
                p.drawLine(Polar(m, u * 0.24, i * 45), Polar(m, u * ray, i * 45));
            p.setBrush(s == Symbol::Brighter ? c : QColor(Qt::transparent));
            p.drawEllipse(m, u * 0.16, u * 0.16);
            break;
        }
    }
    p.restore();
}

void Caption(QPainter& p, const QRectF& box, const QString& text, const QColor& color, int pixels) {
    QFont f("Arial");
    f.setPixelSize(pixels);
    f.setWeight(QFont::DemiBold);
    p.setFont(f);
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
}

// A wide key of the button bar: symbol on the left, caption beside it.
QImage BarKey(Symbol s, const QString& caption, bool down, QColor symbolColor = kGreen) {
    QImage img(100, 40, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const qreal shift = down ? 1 : 0;
    Key(p, QRectF(0, 0, 100, 40), down);
    DrawSymbol(p, s, QRectF(6 + shift, 8 + shift, 24, 24),
               down ? symbolColor.lighter(130) : symbolColor);
    Caption(p, QRectF(30 + shift, shift, 66, 40), caption, down ? QColor(190, 255, 215) : kGreen,
            12);
    return img;
}

// A square key: symbol above the caption (touch menu, playback).
QImage SquareKey(int w, int h, Symbol s, const QString& caption, bool down) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const qreal shift = down ? 1 : 0;
    Key(p, QRectF(0, 0, w, h), down);
    const QColor c = down ? QColor(190, 255, 215) : kGreen;
    if (caption.isEmpty()) {
        DrawSymbol(p, s, QRectF(h * 0.2 + shift + (w - h) / 2.0, h * 0.2 + shift, h * 0.6, h * 0.6),
                   c);
    } else {
        DrawSymbol(p, s, QRectF(w * 0.25 + shift, h * 0.14 + shift, w * 0.5, h * 0.5), c);
        Caption(p, QRectF(shift, h * 0.64 + shift, w, h * 0.3), caption, c, std::max(9, h / 7));
    }
    return img;
}

QImage LampKey(int size, const QColor& color, bool down, const QString& caption) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    Key(p, QRectF(0, 0, size, size), down);
    const bool hasCaption = !caption.isEmpty();
    const QPointF centre(size / 2.0, hasCaption ? size * 0.42 : size / 2.0);
    Lamp(p, centre, size * (hasCaption ? 0.22 : 0.26), color, true);
    if (hasCaption) {
        Caption(p, QRectF(0, size * 0.7, size, size * 0.26), caption,
                down ? QColor(230, 255, 240) : QColor(200, 210, 214), std::max(8, size / 7));
    }
    return img;
}

QImage SwitchKey(int number, bool down) {
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    Key(p, QRectF(0, 0, 32, 32), down);
    Caption(p, QRectF(down ? 1 : 0, down ? 1 : 0, 32, 32), QString::number(number),
            down ? QColor(190, 255, 215) : kGreen, 13);
    return img;
}

}  // namespace

std::map<std::string, QImage> BuildButtonPictures() {
    std::map<std::string, QImage> m;
    auto pair = [&](const std::string& name, auto make) {
        m[name + "U"] = make(false);
        m[name + "D"] = make(true);
    };
    struct Bar {
        const char* name;
        Symbol symbol;
        const char* caption;
    };
    const Bar bars[] = {
        {"RECORD", Symbol::Record, "RECORD"}, {"STOP", Symbol::Stop, "STOP"},
        {"SAVE", Symbol::Save, "SAVE"},       {"FLASH", Symbol::Flash, "FLASH"},
        {"PAGE", Symbol::Page, "PAGE"},       {"DISPLAY", Symbol::Display, "SETUP"},
        {"CLEAR", Symbol::Clear, "CLEAR"},    {"OK", Symbol::Ok, "OK"},
    };
    for (const auto& b : bars) {
        pair(b.name, [&](bool down) { return BarKey(b.symbol, b.caption, down); });
    }
    m["CONNECT170"] = BarKey(Symbol::Connect, "CONNECT", false, kRed.lighter(120));
    m["CONNECT171"] = BarKey(Symbol::Connect, "ONLINE", true, kGreen);
    m["CONNECTU"] = m["CONNECT170"];
    m["CONNECTD"] = m["CONNECT171"];
    for (int i = 0; i < 12; ++i) {
        pair("KANTELO" + std::to_string(i), [&](bool down) { return SwitchKey(i + 1, down); });
    }
    pair("SWGREEN", [](bool down) { return LampKey(96, kGreen, down, "ON"); });
    pair("SWRED", [](bool down) { return LampKey(96, kRed, down, "OFF"); });
    pair("SWON32", [](bool down) { return LampKey(32, kGreen, down, ""); });
    pair("SWOFF32", [](bool down) { return LampKey(32, kRed, down, ""); });
    m["SWYELLOW"] = LampKey(32, kAmber, false, "");

    struct Touch {
        const char* name;
        Symbol symbol;
        const char* caption;
    };
    const Touch touch[] = {
        {"TOUCHNEXT", Symbol::Page, "NEXT"},
        {"TOUCHEXIT", Symbol::Exit, "EXIT"},
        {"FULLSCREEN", Symbol::FullScreen, "FULL"},
        {"TOUCHFLASH", Symbol::Flash, "FLASH"},
        {"TOUCHCONNECT", Symbol::Connect, "CONNECT"},
        {"TOUCHPREF", Symbol::Display, "SETUP"},
        {"TOUCHRECORD", Symbol::Record, "RECORD"},
        {"TOUCHKANTELO", Symbol::Switch, "SWITCH"},
        {"TOUCHNIGHT", Symbol::Moon, "DAY/NIGHT"},
        {"TOUCHDIMMER", Symbol::Dimmer, "DIMMER"},
        {"TOUCHBRIGHTER", Symbol::Brighter, "BRIGHTER"},
    };
    for (const auto& t : touch) {
        pair(t.name, [&](bool down) { return SquareKey(96, 96, t.symbol, t.caption, down); });
    }
    const std::pair<const char*, Symbol> playback[] = {
        {"PB_PB", Symbol::FastBack},    {"PB_SB", Symbol::StepBack},    {"PB_STOP", Symbol::Stop},
        {"PB_SF", Symbol::StepForward}, {"PB_PF", Symbol::FastForward},
    };
    for (const auto& [name, symbol] : playback) {
        const Symbol s = symbol;
        pair(name, [&](bool down) { return SquareKey(48, 32, s, QString(), down); });
    }
    TintPictures(m, CurrentLook());
    return m;
}

QIcon ButtonIcon(const std::map<std::string, QImage>& pictures, const std::string& up,
                 const std::string& down) {
    QIcon icon;
    const auto u = pictures.find(up);
    const auto d = pictures.find(down);
    if (u != pictures.end())
        icon.addPixmap(QPixmap::fromImage(u->second), QIcon::Normal, QIcon::Off);
    if (d != pictures.end()) {
        icon.addPixmap(QPixmap::fromImage(d->second), QIcon::Active, QIcon::Off);
        icon.addPixmap(QPixmap::fromImage(d->second), QIcon::Normal, QIcon::On);
    }
    return icon;
}

}  // namespace pelor::ui
