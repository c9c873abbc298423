#pragma once
// The look (day, dusk or night palette and brightness) on the Qt side: the application
// palette and every widget's style sheet follow it, and the pictures the artwork draws are
// tinted to it once when they are made. Runs on the user interface thread only.
#include <QImage>
#include <QString>
#include <map>
#include <string>

#include "display/look.h"

namespace pelor::ui {

// The look in force; pictures drawn from now on are tinted to it.
const display::Look& CurrentLook();

// Makes `look` the look in force: the application palette becomes the day palette (the one in
// force at the first call) tinted to it, and the colours in the style sheets of every widget,
// those shown later included, are tinted to it. Day at full brightness restores them as they were.
void ApplyWindowLook(const display::Look& look);

// `image` tinted to `look`. Pass an image moved in to tint it without a copy; one of
// another format than 32-bit RGB comes back premultiplied ARGB.
QImage TintedImage(QImage image, const display::Look& look);
// Every picture of `pictures` tinted to `look`, in place.
void TintPictures(std::map<std::string, QImage>& pictures, const display::Look& look);

// The colours (#rgb, #rrggbb and the few colour names the windows use) of a style sheet
// tinted to `look`.
QString TintStyleSheet(const QString& sheet, const display::Look& look);

}  // namespace pelor::ui
