#pragma once

#include <QString>

namespace quorvex {

// Whether `name` matches the directory-search wildcard `pattern` ignoring case: "*" stands for
// any run of characters (none included), "?" for exactly one.
bool MatchesWildcard(const QString& name, const QString& pattern);

}  // namespace quorvex
