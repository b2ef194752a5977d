#pragma once

#include "data/core/value.h"

#include <cstdint>
#include <optional>

namespace quorvex {

// A whole number as a server answers it (a count, an id, a length): an integer, a floating
// number (rounded), or its text; nullopt for NULL or anything else.
std::optional<std::int64_t> WholeNumberOf(const Value& value);

}  // namespace quorvex
