#pragma once

#include <cstdint>
#include <vector>

namespace quorvex::samples {

// A small 24-bit Windows bitmap ("BM...") of a part drawn in flat colours: a box of the given
// hue on a light background, the kind of picture a parts table keeps in a graphic field.
std::vector<std::uint8_t> PartPicture(int width, int height, int hue);

}  // namespace quorvex::samples
