#pragma once
// Drawing operations of the gauge area, in logical pixels. Pictures are named strips of
// frames prepared at start; the paint code never loads or creates anything.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelor::core {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Color&) const = default;
};

enum class CopyMode { Copy, Or };

class Canvas {
public:
    virtual ~Canvas() = default;
    // Copies `source` (in the picture's own pixels) of picture `picture` to (destX, destY).
    virtual void CopyPicture(std::string_view picture, Rect source, int destX, int destY,
                             CopyMode mode) = 0;
    virtual void FillRect(Rect area, Color color) = 0;
    // Darkens what `area` already shows (a gauge whose value is not current).
    virtual void Dim(Rect area) = 0;
    virtual void DrawText(int x, int y, std::string_view text, std::string_view font,
                          Color color) = 0;
    virtual void DrawLine(int x1, int y1, int x2, int y2, Color color) = 0;
    // Copies `source` of the canvas itself, stretched, to `dest` (display scale).
    virtual void StretchCopy(Rect source, Rect dest) = 0;
};

// Test double: every operation as one line of text, in order.
class RecordingCanvas : public Canvas {
public:
    void CopyPicture(std::string_view picture, Rect source, int destX, int destY,
                     CopyMode mode) override;
    void FillRect(Rect area, Color color) override;
    void Dim(Rect area) override;
    void DrawText(int x, int y, std::string_view text, std::string_view font, Color color) override;
    void DrawLine(int x1, int y1, int x2, int y2, Color color) override;
    void StretchCopy(Rect source, Rect dest) override;

    std::vector<std::string> operations;
};

}  // namespace pelor::core
