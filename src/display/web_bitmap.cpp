#include "display/web_bitmap.h"

#include <cstdio>

#include "core/format.h"
#include "core/replace_target.h"

namespace pelor::display {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

}  // namespace

int BmpRowSize(int width) {
    return ((width * 3) + 3) / 4 * 4;
}

std::vector<std::uint8_t> EncodeWebBitmap(const RgbBuffer& image) {
    const int width = image.width > 0 ? image.width : 0;
    const int height = image.height > 0 ? image.height : 0;
    const auto rowSize = static_cast<std::size_t>(BmpRowSize(width));
    const std::size_t imageSize = rowSize * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> out(kBmpHeaderSize + imageSize, 0);

    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<std::uint32_t>(kBmpHeaderSize + imageSize));
    Put32(out, 10, kBmpHeaderSize);
    Put32(out, 14, 40);
    Put32(out, 18, static_cast<std::uint32_t>(width));
    Put32(out, 22, static_cast<std::uint32_t>(height));
    Put16(out, 26, 1);
    Put16(out, 28, 24);
    Put32(out, 30, 0);
    Put32(out, 34, static_cast<std::uint32_t>(imageSize));
    Put32(out, 38, 100);
    Put32(out, 42, 100);

    const std::size_t available = image.pixels.size();
    for (int y = 0; y < height; ++y) {
        // Stored row 0 is the bottom row of the picture.
        std::size_t dest = kBmpHeaderSize + rowSize * static_cast<std::size_t>(height - 1 - y);
        std::size_t src = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3;
        for (int x = 0; x < width; ++x, src += 3, dest += 3) {
            if (src + 2 >= available) break;
            out[dest] = image.pixels[src + 2];
            out[dest + 1] = image.pixels[src + 1];
            out[dest + 2] = image.pixels[src];
        }
    }
    return out;
}

bool WriteWebBitmap(const std::string& path, const RgbBuffer& image, core::Prompt& prompt) {
    const std::vector<std::uint8_t> bytes = EncodeWebBitmap(image);
    // Through a link to the file it names, keeping the old file's permissions; a bitmap the
    // user may not write is not replaced.
    const bool ok = core::ReplaceFile(path, [&bytes](std::FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    });
    if (!ok) prompt.Message(core::Format("Could not Open %s", path.c_str()), "Error");
    return ok;
}

}  // namespace pelor::display
