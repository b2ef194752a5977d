#pragma once

#include <QString>

namespace quorvex {

// `quorvex --help`, `quorvex send --help`, `quorvex list --help` and `quorvex verify --help`.
QString ProgramHelpText();
QString SendHelpText();
QString ListHelpText();
QString VerifyHelpText();

// `quorvex --version`: the version the program was built as.
QString ProgramVersion();

}  // namespace quorvex
