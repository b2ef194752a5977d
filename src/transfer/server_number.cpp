#include "transfer/server_number.h"

#include <cmath>

namespace quorvex {

std::optional<std::int64_t> WholeNumberOf(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Integer:
            return value.toInteger();
        case Value::Kind::Double:
            return std::llround(value.toDouble());
        case Value::Kind::Text: {
            bool ok = false;
            const std::int64_t number = value.toText().trimmed().toLongLong(&ok);
            return ok ? std::optional<std::int64_t>(number) : std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace quorvex
