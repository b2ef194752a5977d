#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace quorvex::paradox {

// How a table's text is to be read: the code page number as the header names it (0 when none),
// the iconv name used to decode it and the short name reported by pxdump.
struct CodePage {
    int number = 437;
    std::string iconvName = "CP437";
    std::string codecName = "cp437";
    bool multiByte = false;
};

// The code page for a header's number and sort-order id. A Paradox 3.x header names none
// (`number` absent): text is then DOS US 437. Number 0 with the "BLROM800" sort order is HP
// Roman-8. Returns nothing for a number this reader does not know.
std::optional<CodePage> CodePageFor(std::optional<int> number, const std::string& sortOrder);

// Turns a table's text bytes into UTF-8. Bytes the code page does not map become U+FFFD, one
// per byte, never dropped. Single-byte pages are decoded through a table built once with iconv.
class TextDecoder {
  public:
    // Throws std::runtime_error when iconv does not know the code page.
    explicit TextDecoder(const CodePage& codePage);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    std::string decode(std::span<const std::uint8_t> bytes) const;
    void decodeAppend(std::span<const std::uint8_t> bytes, std::string& out) const;

    const CodePage& codePage() const { return codePage_; }

  private:
    struct SingleByteTable;
    void decodeMultiByte(std::span<const std::uint8_t> bytes, std::string& out) const;

    CodePage codePage_;
    std::unique_ptr<SingleByteTable> table_;
    void* iconv_ = nullptr;  // iconv_t, for multi-byte pages only
};

}  // namespace quorvex::paradox
