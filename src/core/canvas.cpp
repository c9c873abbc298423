#include "core/canvas.h"

#include "core/format.h"

namespace pelor::core {

void RecordingCanvas::CopyPicture(std::string_view picture, Rect source, int destX, int destY,
                                  CopyMode mode) {
    operations.push_back(Format("copy %.*s %d,%d %dx%d -> %d,%d%s",
                                static_cast<int>(picture.size()), picture.data(), source.x,
                                source.y, source.width, source.height, destX, destY,
                                mode == CopyMode::Or ? " or" : ""));
}

void RecordingCanvas::FillRect(Rect area, Color color) {
    operations.push_back(Format("fill %d,%d %dx%d rgb(%d,%d,%d)", area.x, area.y, area.width,
                                area.height, color.r, color.g, color.b));
}

void RecordingCanvas::DrawText(int x, int y, std::string_view text, std::string_view font,
                               Color color) {
    operations.push_back(
        Format("text %d,%d \"%.*s\" %.*s rgb(%d,%d,%d)", x, y, static_cast<int>(text.size()),
               text.data(), static_cast<int>(font.size()), font.data(), color.r, color.g, color.b));
}

void RecordingCanvas::DrawLine(int x1, int y1, int x2, int y2, Color color) {
    operations.push_back(
        Format("line %d,%d -> %d,%d rgb(%d,%d,%d)", x1, y1, x2, y2, color.r, color.g, color.b));
}

void RecordingCanvas::Dim(Rect area) {
    operations.push_back(Format("dim %d,%d %dx%d", area.x, area.y, area.width, area.height));
}

void RecordingCanvas::StretchCopy(Rect source, Rect dest) {
    operations.push_back(Format("stretch %d,%d %dx%d -> %d,%d %dx%d", source.x, source.y,
                                source.width, source.height, dest.x, dest.y, dest.width,
                                dest.height));
}

}  // namespace pelor::core
