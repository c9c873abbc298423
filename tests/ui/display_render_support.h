#pragma once
// A page with every display mode, painted off screen with the built-in artwork.
#include <QImage>

#include "decode/channel_store.h"
#include "display/display.h"
#include "ui/qt_canvas.h"

namespace pelor::ui::testing {

// Creates the application object of the test program once (fonts need it); it is
// destroyed when the program ends.
void EnsureQtApplication();

// Fills the store with eleven gauges (one per mode, the indicator twice: on and off) placed
// for the display type.
void FillDemoPage(decode::ChannelStore& store, int displayType);

// Paints the page for the display type: background first, then the gauges; returns the
// window image.
QImage RenderDemoPage(display::Display& display, QtCanvas& canvas, int displayType, int scale = 100,
                      bool grid = false);

}  // namespace pelor::ui::testing
