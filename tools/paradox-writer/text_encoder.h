#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvex::pxwriter {

// Turns UTF-8 text into a table's code page. A character the code page cannot hold throws
// std::invalid_argument: a test table must hold exactly what the test asked for.
class TextEncoder {
  public:
    explicit TextEncoder(const std::string& iconvName);
    ~TextEncoder();
    TextEncoder(const TextEncoder&) = delete;
    TextEncoder& operator=(const TextEncoder&) = delete;

    std::vector<std::uint8_t> encode(const std::string& utf8) const;

  private:
    std::string name_;
    void* iconv_;
};

}  // namespace quorvex::pxwriter
