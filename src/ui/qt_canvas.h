#pragma once
// The canvas of the gauge area on Qt: an off-screen buffer image that the paint draws into
// and a window image that receives the gauge area at the display scale; the main window
// shows the window image. Fonts are prepared once; pictures are made by a picture source when
// first asked for (the layout asks for those of its display type ahead of the paints), so a
// paint only copies rectangles and writes short texts.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/canvas.h"
#include "display/gauge_style.h"
#include "display/look.h"
#include "display/web_bitmap.h"

namespace pelor::ui {

// Hash and equality that look strings up by std::string_view without building a string.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using PictureMap = std::unordered_map<std::string, QImage, NameHash, std::equal_to<>>;

class QtCanvas : public core::Canvas {
public:
    QtCanvas();
    ~QtCanvas() override;
    QtCanvas(const QtCanvas&) = delete;
    QtCanvas& operator=(const QtCanvas&) = delete;

    // Makes the picture of a name ("STRIP1", "BACKGROUND4", ...) drawn at `zoom` times its
    // size; a null image when the name has no picture.
    using PictureSource = std::function<QImage(std::string_view name, double zoom)>;

    // Named pictures, converted once to the buffer's format; they replace any held before.
    void SetPictures(PictureMap pictures);
    // Where pictures not yet held come from. Pictures already held stay.
    void SetPictureSource(PictureSource source);
    // Makes `name` from the picture source unless it is held already. False when there is no
    // such picture.
    bool EnsurePicture(std::string_view name);
    // Lets go of a held picture (the source makes it again when it is asked for).
    void ReleasePicture(std::string_view name);
    bool HasPicture(std::string_view name) const;
    // The look every picture and colour is tinted to. A change lets go of every picture held:
    // they are made again, tinted once, as they are asked for; paints stay copies.
    void SetLook(const display::Look& look);
    const display::Look& GetLook() const { return look_; }
    // How many window pixels one pixel of the display type takes (the window's scale times the
    // screen's device pixel ratio). Every drawing call keeps the display type's coordinates;
    // the canvas draws them at this size: pictures are made again at it (the artwork drawn
    // anew, not stretched), fonts are sized to it. A change lets go of every picture and
    // font held; ResetBuffer must follow before the next paint.
    void SetZoom(double zoom);
    double Zoom() const { return zoom_; }
    // Bytes of pixels the held pictures take.
    std::size_t PictureBytes() const;
    // Creates the value and label fonts of every style (keys as display::FontKey gives them).
    // A font's height is the height of its text cell, as the style records give it.
    void PrepareFonts(const display::GaugeStyles& styles);

    // Sizes the buffer and fills it with `picture` (black when there is no such picture);
    // sizes the window image to `windowWidth` x `windowHeight`, black. Sizes are the display
    // type's; the images are made at the zoom.
    void ResetBuffer(int width, int height, std::string_view picture, int windowWidth,
                     int windowHeight);

    const QImage& Buffer() const { return buffer_; }
    const QImage& WindowImage() const { return window_; }

    // The window image's `windowArea` (display type coordinates) stretched to width x height,
    // as plain RGB rows: the pixels of the web bitmap, the same size at every zoom.
    display::RgbBuffer GaugeAreaPixels(core::Rect windowArea, int width, int height) const;

    void CopyPicture(std::string_view picture, core::Rect source, int destX, int destY,
                     core::CopyMode mode) override;
    void FillRect(core::Rect area, core::Color color) override;
    void Dim(core::Rect area) override;
    void DrawText(int x, int y, std::string_view text, std::string_view font,
                  core::Color color) override;
    void DrawLine(int x1, int y1, int x2, int y2, core::Color color) override;
    void StretchCopy(core::Rect source, core::Rect dest) override;

private:
    struct PreparedFont {
        QFont font;
        int ascent = 0;
    };
    using FontMap = std::unordered_map<std::string, PreparedFont, NameHash, std::equal_to<>>;

    QPainter& BufferPainter();
    void EndBufferPainter();
    void AddFont(const std::string& face, int height);
    // A rectangle and a point of the display type in buffer pixels.
    QRect Zoomed(core::Rect r) const;
    int Zoomed(int v) const;

    // The picture of `name`, made from the source when it is not held yet; nullptr if none.
    const QImage* FindPicture(std::string_view name);

    PictureMap pictures_;
    PictureSource source_;
    display::Look look_;
    double zoom_ = 1.0;
    FontMap fonts_;
    std::vector<std::pair<std::string, int>> fontsAsked_;  // every face and height asked for
    QImage buffer_;
    QImage window_;
    std::unique_ptr<QPainter> painter_;
};

}  // namespace pelor::ui
