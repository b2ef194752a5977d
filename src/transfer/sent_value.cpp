#include "transfer/sent_value.h"

#include "transfer/value_text.h"

namespace quorvex {

std::optional<QString> SentText(const Value& value) {
    QString text = ValueText(value);
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text;
}

}  // namespace quorvex
