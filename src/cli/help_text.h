#pragma once

#include <QString>

namespace quorvex {

// `quorvex --help`, `quorvex send --help` and `quorvex list --help`.
QString ProgramHelpText();
QString SendHelpText();
QString ListHelpText();

}  // namespace quorvex
