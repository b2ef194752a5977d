#include "data/paradox/error.h"

namespace quorvex::paradox {

Error::Error(const std::string& file, const std::string& fault)
    : std::runtime_error("Cannot read the Paradox table file \"" + file + "\": " + fault),
      file_(file),
      fault_(fault) {}

}  // namespace quorvex::paradox
