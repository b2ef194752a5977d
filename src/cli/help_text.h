#pragma once

#include <QString>

namespace quorvex {

// `quorvex --help`, `quorvex send --help` and `quorvex list --help`.
QString ProgramHelpText();
QString SendHelpText();
QString ListHelpText();

// `quorvex --version`: the version the program was built as.
QString ProgramVersion();

}  // namespace quorvex
