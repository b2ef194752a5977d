#include "json_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quorvex::pxdump {

std::string JsonString(const std::string& utf8) {
    static const char digits[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (c < 0x20) {
                    out += "\\u00";
                    out += digits[c >> 4];
                    out += digits[c & 0xF];
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
    return out;
}

std::string ShortestDoubleText(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    // The shortest round-trip digits and the decimal exponent, from scientific notation.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific);
    const std::string scientific(buffer, result.ptr);
    const std::size_t e = scientific.find('e');
    std::string digits;
    for (std::size_t i = 0; i < e; ++i) {
        if (scientific[i] != '.') {
            digits += scientific[i];
        }
    }
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    std::string text = std::signbit(value) ? "-" : "";
    const int count = static_cast<int>(digits.size());
    if (exponent >= -4 && exponent < 16) {
        const int point = exponent + 1;  // digits before the decimal point
        if (point <= 0) {
            text.append("0.");
            text.append(static_cast<std::size_t>(-point), '0');
            text.append(digits);
        } else if (point >= count) {
            text.append(digits);
            text.append(static_cast<std::size_t>(point - count), '0');
            text.append(".0");
        } else {
            text.append(digits, 0, static_cast<std::size_t>(point));
            text.push_back('.');
            text.append(digits, static_cast<std::size_t>(point));
        }
        return text;
    }
    text.push_back(digits[0]);
    if (count > 1) {
        text.push_back('.');
        text.append(digits, 1);
    }
    const int magnitude = std::abs(exponent);
    text += exponent < 0 ? "e-" : "e+";
    if (magnitude < 10) {
        text += '0';
    }
    text += std::to_string(magnitude);
    return text;
}

std::string LowerHex(std::span<const std::uint8_t> bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 0xF];
    }
    return hex;
}

}  // namespace quorvex::pxdump
