#pragma once
// The built-in pictures, drawn by our own code: the picture strip of every gauge style at
// the frame size and count of its style record, the background pictures of the theme
// entries, and the up/down picture pairs of every button. Dark faces, luminous green
// markings, anti-aliased needles and ticks.
#include <QIcon>
#include <QImage>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "display/display.h"
#include "display/gauge_style.h"
#include "display/theme.h"
#include "ui/qt_canvas.h"

namespace pelor::ui {

// The pixel size of a picture `size` units wide or high drawn at `zoom` (units are the display
// type's pixels): a frame k of width w covers pixels ZoomedPixels(k * w) to ZoomedPixels((k + 1) *
// w).
int ZoomedPixels(int size, double zoom);

// The strip of style record `index` (frames side by side) for `style`'s geometry, drawn at
// `zoom` times its size: the artwork is drawn again at that size, never stretched.
QImage DrawGaugeStrip(int index, const display::GaugeStyle& style, double zoom = 1.0);

// Background picture of theme entry 1..12 at its built-in size times `zoom`.
QImage DrawBackground(int entry, double zoom = 1.0);

// One picture the gauge paint names: "STRIP0".."STRIP10" or "BACKGROUND1".."BACKGROUND12".
// A picture file named by the theme is loaded when it can be read; otherwise, and for
// empty names, the built-in picture is drawn. A null image for any other name. At a `zoom`
// other than 1 the built-in pictures are drawn at that size; a picture file is scaled to it.
QImage BuildGaugePicture(std::string_view name, const display::GaugeStyles& styles,
                         const display::Theme& theme, double zoom = 1.0);

// Every picture the gauge paint names, made at once.
PictureMap BuildGaugePictures(const display::GaugeStyles& styles, const display::Theme& theme);

// Start-up, after the theme is loaded: every font of the display's styles, and the source
// that makes the pictures from these styles and this theme when they are first needed.
void PrepareCanvas(QtCanvas& canvas, const display::Display& display);

// The background of the current display type, made now; any other background held is let go.
void PrepareLayoutPictures(QtCanvas& canvas, const display::Display& display);

// The strips of every mode the current display type can show, in mode order: prepared after
// the window shows (a paint that needs one earlier makes it then).
std::vector<std::string> LayoutStripNames(const display::Display& display);

// After each layout change: the display type's background (PrepareLayoutPictures), the buffer
// at the display type's size, starting as its background picture, and a window image that
// holds the scaled gauge area with a margin of 20 pixels on every side.
void ApplyCanvasLayout(QtCanvas& canvas, const display::Display& display);

// Button pictures by name: caption + "U" (up) and caption + "D" (down) for RECORD, STOP,
// SAVE, FLASH, PAGE, DISPLAY, CLEAR, OK, KANTELO0..KANTELO11, the touch-menu buttons
// (TOUCHNEXT, TOUCHEXIT, FULLSCREEN, TOUCHFLASH, TOUCHCONNECT, TOUCHPREF, TOUCHRECORD,
// TOUCHKANTELO, and TOUCHNIGHT, TOUCHDIMMER, TOUCHBRIGHTER for the look), the playback buttons
// (PB_PB, PB_SB, PB_STOP, PB_SF, PB_PF) and the switch window's SWGREEN and SWRED; the single
// pictures CONNECT170 (not connected) and CONNECT171 (connected); and for the main window's 32 x 32
// switch buttons SWON32U/D (green, on), SWOFF32U/D (red, off) and SWYELLOW (pending, both looks).
// Tinted to the look in force (CurrentLook).
std::map<std::string, QImage> BuildButtonPictures();

// An icon with the up picture as its normal look and the down picture as its active and
// pressed look; either name may be missing (an empty icon part).
QIcon ButtonIcon(const std::map<std::string, QImage>& pictures, const std::string& up,
                 const std::string& down);

}  // namespace pelor::ui
