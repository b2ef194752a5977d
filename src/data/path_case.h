#pragma once

#include <QString>

namespace quorvex {

// File names are matched ignoring case, as on the platform the databases come from: when the
// path does not exist as spelled, each component that is missing is looked up ignoring case in
// its folder. Returns the path as it exists on disk, or the path unchanged when nothing matches
// (or more than one entry matches a component ambiguously, the exact spelling then winning).
QString ResolvePathIgnoringCase(const QString& path);

// For a file about to be written: the existing entry the path names ignoring case, or, when there
// is none, the path with its folder part found ignoring case and its last name as spelled.
QString ResolveNewPathIgnoringCase(const QString& path);

}  // namespace quorvex
