#pragma once

#include "data/core/failure.h"

#include <QString>

namespace quorvex::test {

// Runs `action` and returns the description of the Failure it raised ("" when none).
template <typename Action>
QString FailureOf(Action&& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.description();
    }
    return QString();
}

}  // namespace quorvex::test
