#pragma once
// The web bitmap: the gauge area written after a paint as a 24-bit bottom-up BMP for a web
// server to publish.
//
//   offset 0   "BM", file size (54 + image size), 0, 0, pixel offset 54      (14 bytes)
//   offset 14  header size 40, width, height (> 0: bottom-up), planes 1, 24 bits,
//              no compression, image size, 100 pixels per metre both ways, 0, 0  (40 bytes)
//   offset 54  rows bottom first, blue-green-red, each padded to a multiple of 4 bytes
#include <cstdint>
#include <string>
#include <vector>

#include "core/prompt.h"

namespace pelor::display {

// Pixels as red-green-blue triples, top row first, no row padding.
struct RgbBuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // width * height * 3
};

inline constexpr int kBmpHeaderSize = 54;

// Bytes per stored row: 3 per pixel rounded up to a multiple of 4.
int BmpRowSize(int width);

// The whole file. An image whose pixel vector is shorter than width * height * 3 gives
// black for the missing pixels.
std::vector<std::uint8_t> EncodeWebBitmap(const RgbBuffer& image);

// Writes the file beside its target and renames it over, so a reader never sees half a
// picture. On failure shows "Could not Open %s" (the path), caption "Error", and returns false.
bool WriteWebBitmap(const std::string& path, const RgbBuffer& image, core::Prompt& prompt);

}  // namespace pelor::display
