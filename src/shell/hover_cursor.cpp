#include "shell/hover_cursor.h"

namespace quorvex {

void PointerOverButton(Pointer& screen) {
    if (screen.MousePointer() != vbHourglass) {
        screen.SetMousePointer(vbCustom);
    }
}

void PointerOverSurface(Pointer& screen) {
    if (screen.MousePointer() != vbHourglass) {
        screen.SetMousePointer(vbDefault);
    }
}

}  // namespace quorvex
