#include "screens/end_program.h"

#include <cstdio>
#include <cstdlib>

namespace quorvex {

void EndProgram() {
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace quorvex
