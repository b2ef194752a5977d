#include "text_encoder.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace quorvex::pxwriter {

TextEncoder::TextEncoder(const std::string& iconvName) : name_(iconvName) {
    iconv_t cd = ::iconv_open(iconvName.c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::invalid_argument("iconv does not know the code page " + iconvName);
    }
    iconv_ = cd;
}

TextEncoder::~TextEncoder() { ::iconv_close(static_cast<iconv_t>(iconv_)); }

std::vector<std::uint8_t> TextEncoder::encode(const std::string& utf8) const {
    iconv_t cd = static_cast<iconv_t>(iconv_);
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::vector<std::uint8_t> out(utf8.size() * 2 + 8);
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* write = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size();
    if (::iconv(cd, &in, &inLeft, &write, &outLeft) == static_cast<std::size_t>(-1)) {
        throw std::invalid_argument("the text \"" + utf8 + "\" cannot be written in code page " +
                                    name_);
    }
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace quorvex::pxwriter
