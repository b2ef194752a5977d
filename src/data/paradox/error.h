#pragma once

#include <stdexcept>
#include <string>

namespace quorvex::paradox {

// Everything the reader refuses ends here: a damaged or foreign file, a value that cannot be
// decoded, an I/O failure. The message names the file and says what is wrong in plain words, so
// the layers above can show it to the user unchanged.
class Error : public std::runtime_error {
  public:
    Error(const std::string& file, const std::string& fault);

    const std::string& file() const { return file_; }
    const std::string& fault() const { return fault_; }

  private:
    std::string file_;
    std::string fault_;
};

}  // namespace quorvex::paradox
