#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quorvex::pxdump {

// A JSON string literal for UTF-8 text: quotes, backslashes and control characters escaped,
// everything else kept as it is.
std::string JsonString(const std::string& utf8);

// The shortest text that reads back as the same double, written as Python's repr writes it:
// "7.489999999999999", "1.0", "-0.0", "1e+16", "1.5e-07", "inf", "nan".
std::string ShortestDoubleText(double value);

std::string LowerHex(std::span<const std::uint8_t> bytes);

}  // namespace quorvex::pxdump
