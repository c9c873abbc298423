#include "display/web_bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/prompt.h"

namespace pelor::display {
namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// 5 x 3 picture: top row red, middle green, bottom blue; pixel (4, 0) white.
RgbBuffer Stripes() {
    RgbBuffer img;
    img.width = 5;
    img.height = 3;
    img.pixels.resize(std::size_t{5} * 3 * 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) img.pixels[(y * 5 + x) * 3 + y] = 200;
    }
    img.pixels[(0 * 5 + 4) * 3 + 0] = 255;
    img.pixels[(0 * 5 + 4) * 3 + 1] = 255;
    img.pixels[(0 * 5 + 4) * 3 + 2] = 255;
    return img;
}

TEST(WebBitmap, HeadersAreExact) {
    const auto b = EncodeWebBitmap(Stripes());
    const std::uint32_t rowSize = 16;  // 15 bytes rounded up to 4
    ASSERT_EQ(b.size(), 54u + rowSize * 3);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32(b, 2), 54u + rowSize * 3);
    EXPECT_EQ(U16(b, 6), 0);
    EXPECT_EQ(U16(b, 8), 0);
    EXPECT_EQ(U32(b, 10), 54u);
    EXPECT_EQ(U32(b, 14), 40u);
    EXPECT_EQ(U32(b, 18), 5u);
    EXPECT_EQ(U32(b, 22), 3u);  // positive: bottom-up
    EXPECT_EQ(U16(b, 26), 1);
    EXPECT_EQ(U16(b, 28), 24);
    EXPECT_EQ(U32(b, 30), 0u);
    EXPECT_EQ(U32(b, 34), rowSize * 3);
    EXPECT_EQ(U32(b, 38), 100u);
    EXPECT_EQ(U32(b, 42), 100u);
    EXPECT_EQ(U32(b, 46), 0u);
    EXPECT_EQ(U32(b, 50), 0u);
}

TEST(WebBitmap, RowsAreBottomUpBgrAndPadded) {
    const auto b = EncodeWebBitmap(Stripes());
    const std::size_t row = 16;
    // Stored row 0 = bottom (blue), row 2 = top (red, white at x 4).
    EXPECT_EQ(b[54 + 0], 200);  // blue of the bottom row
    EXPECT_EQ(b[54 + 2], 0);
    EXPECT_EQ(b[54 + row + 1], 200);      // green middle row
    EXPECT_EQ(b[54 + 2 * row + 2], 200);  // red top row
    EXPECT_EQ(b[54 + 2 * row + 0], 0);
    EXPECT_EQ(b[54 + 2 * row + 12], 255);
    EXPECT_EQ(b[54 + 15], 0);  // padding byte
}

TEST(WebBitmap, ShortPixelBufferGivesBlackNotAnOverread) {
    RgbBuffer img;
    img.width = 4;
    img.height = 4;
    img.pixels.assign(5, 9);
    const auto b = EncodeWebBitmap(img);
    EXPECT_EQ(b.size(), 54u + 12 * 4);
    EXPECT_EQ(b[54 + 3 * 12], 9);
    EXPECT_EQ(b[54], 0);
}

TEST(WebBitmap, WritesTheFileAndReportsAFolderThatDoesNotExist) {
    core::ScriptedPrompt prompt;
    const std::string path = std::string(PELOR_BINARY_DIR) + "/web_bitmap_test.bmp";
    ASSERT_TRUE(WriteWebBitmap(path, Stripes(), prompt));
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, EncodeWebBitmap(Stripes()));
    EXPECT_TRUE(prompt.shown.empty());
    std::remove(path.c_str());

    const std::string missing = std::string(PELOR_BINARY_DIR) + "/no-such-folder/web.bmp";
    for (int paint = 0; paint < 2; ++paint)
        EXPECT_FALSE(WriteWebBitmap(missing, Stripes(), prompt));
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[1].text, "Could not Open " + missing);
    EXPECT_EQ(prompt.shown[1].caption, "Error");
}

// The bitmap is replaced like every other file the program writes: through a link, keeping
// the permissions, never over a file nobody may write, and with nothing left beside it.
TEST(WebBitmap, IsWrittenThroughALinkKeepingPermissionsAndRefusedWhenReadOnly) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(PELOR_BINARY_DIR) / "web_bitmap_keep";
    fs::remove_all(dir);
    fs::create_directories(dir / "www");
    const std::string target = (dir / "www" / "pelor.bmp").string();
    const std::string link = (dir / "pelor.bmp").string();
    std::ofstream(target, std::ios::binary) << "old";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target, link);
    const auto bytesOf = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    };

    core::ScriptedPrompt prompt;
    ASSERT_TRUE(WriteWebBitmap(link, Stripes(), prompt));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(bytesOf(target), EncodeWebBitmap(Stripes()));
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read);
    RgbBuffer other = Stripes();
    other.pixels.assign(other.pixels.size(), 7);
    EXPECT_FALSE(WriteWebBitmap(link, other, prompt));
    EXPECT_EQ(bytesOf(target), EncodeWebBitmap(Stripes()));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Could not Open " + link);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "www"), fs::directory_iterator{}), 1);
    fs::permissions(target, fs::perms::owner_all);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace pelor::display
