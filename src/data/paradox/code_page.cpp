#include "data/paradox/code_page.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace quorvex::paradox {

namespace {

struct KnownCodePage {
    int number;
    const char* iconvName;
    const char* codecName;
    bool multiByte;
};

// The code pages a Paradox header can name, with the names iconv and pxdump give them.
constexpr KnownCodePage kKnownCodePages[] = {
    {437, "CP437", "cp437", false},    {737, "CP737", "cp737", false},
    {775, "CP775", "cp775", false},    {850, "CP850", "cp850", false},
    {852, "CP852", "cp852", false},    {855, "CP855", "cp855", false},
    {857, "CP857", "cp857", false},    {860, "CP860", "cp860", false},
    {861, "CP861", "cp861", false},    {862, "CP862", "cp862", false},
    {863, "CP863", "cp863", false},    {864, "CP864", "cp864", false},
    {865, "CP865", "cp865", false},    {866, "CP866", "cp866", false},
    {869, "CP869", "cp869", false},    {874, "CP874", "cp874", false},
    {932, "CP932", "cp932", true},     {936, "GBK", "gbk", true},
    {949, "CP949", "cp949", true},     {950, "BIG5", "big5", true},
    {1250, "CP1250", "cp1250", false}, {1251, "CP1251", "cp1251", false},
    {1252, "CP1252", "cp1252", false}, {1253, "CP1253", "cp1253", false},
    {1254, "CP1254", "cp1254", false}, {1255, "CP1255", "cp1255", false},
    {1256, "CP1256", "cp1256", false}, {1257, "CP1257", "cp1257", false},
    {1258, "CP1258", "cp1258", false},
};

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

}  // namespace

std::optional<CodePage> CodePageFor(std::optional<int> number, const std::string& sortOrder) {
    if (!number) {
        return CodePage{};
    }
    if (*number == 0) {
        if (sortOrder == "BLROM800") {
            return CodePage{0, "HP-ROMAN8", "hp_roman8", false};
        }
        return std::nullopt;
    }
    for (const KnownCodePage& known : kKnownCodePages) {
        if (known.number == *number) {
            return CodePage{known.number, known.iconvName, known.codecName, known.multiByte};
        }
    }
    return std::nullopt;
}

// The UTF-8 form of each of the 256 byte values.
struct TextDecoder::SingleByteTable {
    std::array<std::array<char, 4>, 256> utf8{};
    std::array<std::uint8_t, 256> length{};
};

TextDecoder::TextDecoder(const CodePage& codePage) : codePage_(codePage) {
    iconv_t cd = ::iconv_open("UTF-8", codePage.iconvName.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("the code page " + codePage.iconvName + " is not available");
    }
    if (codePage.multiByte) {
        iconv_ = cd;
        return;
    }
    table_ = std::make_unique<SingleByteTable>();
    for (int byte = 0; byte < 256; ++byte) {
        char input = static_cast<char>(byte);
        char* in = &input;
        std::size_t inLeft = 1;
        char output[8];
        char* out = output;
        std::size_t outLeft = sizeof output;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const std::size_t result = ::iconv(cd, &in, &inLeft, &out, &outLeft);
        std::size_t produced = sizeof output - outLeft;
        if (result == static_cast<std::size_t>(-1) || inLeft != 0 || produced == 0 ||
            produced > 4) {
            std::memcpy(output, kReplacement, 3);
            produced = 3;
        }
        std::memcpy(table_->utf8[byte].data(), output, produced);
        table_->length[byte] = static_cast<std::uint8_t>(produced);
    }
    ::iconv_close(cd);
}

TextDecoder::~TextDecoder() {
    if (iconv_ != nullptr) {
        ::iconv_close(static_cast<iconv_t>(iconv_));
    }
}

std::string TextDecoder::decode(std::span<const std::uint8_t> bytes) const {
    std::string out;
    decodeAppend(bytes, out);
    return out;
}

void TextDecoder::decodeAppend(std::span<const std::uint8_t> bytes, std::string& out) const {
    if (!table_) {
        decodeMultiByte(bytes, out);
        return;
    }
    // Room for the longest form of every byte; each copy writes four bytes and advances by the
    // real length, so the tail is cut back afterwards.
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * 4);
    char* write = out.data() + start;
    for (const std::uint8_t byte : bytes) {
        std::memcpy(write, table_->utf8[byte].data(), 4);
        write += table_->length[byte];
    }
    out.resize(static_cast<std::size_t>(write - out.data()));
}

void TextDecoder::decodeMultiByte(std::span<const std::uint8_t> bytes, std::string& out) const {
    iconv_t cd = static_cast<iconv_t>(iconv_);
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = reinterpret_cast<char*>(const_cast<std::uint8_t*>(bytes.data()));
    std::size_t inLeft = bytes.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (result != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            continue;
        }
        if (errno == EINVAL) {
            // An incomplete sequence at the end: one replacement per byte left.
            for (std::size_t i = 0; i < inLeft; ++i) {
                out.append(kReplacement);
            }
            break;
        }
        // EILSEQ: a byte with no mapping.
        out.append(kReplacement);
        ++in;
        --inLeft;
        ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
}

}  // namespace quorvex::paradox
