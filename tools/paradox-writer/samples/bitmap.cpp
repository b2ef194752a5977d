#include "bitmap.h"

#include <cstdlib>

namespace quorvex::samples {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    Put16(out, at, v);
    Put16(out, at + 2, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> PartPicture(int width, int height, int hue) {
    const std::uint32_t rowSize = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t pixels = rowSize * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> bmp(54 + pixels, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    Put32(bmp, 2, static_cast<std::uint32_t>(bmp.size()));
    Put32(bmp, 10, 54);
    Put32(bmp, 14, 40);
    Put32(bmp, 18, static_cast<std::uint32_t>(width));
    Put32(bmp, 22, static_cast<std::uint32_t>(height));
    Put16(bmp, 26, 1);
    Put16(bmp, 28, 24);
    Put32(bmp, 34, pixels);
    Put32(bmp, 38, 2835);  // 72 dpi
    Put32(bmp, 42, 2835);
    const std::uint8_t r = static_cast<std::uint8_t>(80 + (hue * 53) % 160);
    const std::uint8_t g = static_cast<std::uint8_t>(60 + (hue * 97) % 170);
    const std::uint8_t b = static_cast<std::uint8_t>(90 + (hue * 31) % 150);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p =
                &bmp[54 + static_cast<std::size_t>(y) * rowSize + static_cast<std::size_t>(x) * 3];
            const bool box =
                x > width / 5 && x < width * 4 / 5 && y > height / 4 && y < height * 3 / 4;
            const bool shade = box && (x + y) % 7 == 0;
            p[0] = box ? static_cast<std::uint8_t>(shade ? b / 2 : b) : 0xF0;
            p[1] = box ? static_cast<std::uint8_t>(shade ? g / 2 : g) : 0xF0;
            p[2] = box ? static_cast<std::uint8_t>(shade ? r / 2 : r) : 0xF0;
        }
    }
    return bmp;
}

}  // namespace quorvex::samples
