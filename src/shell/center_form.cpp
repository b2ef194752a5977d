#include "shell/center_form.h"

namespace quorvex {

CenteredPosition CenterOnScreen(double screenWidth, double screenHeight, double formWidth,
                                double formHeight) {
    return {(screenWidth - formWidth) / 2.0, (screenHeight - formHeight) / 2.0};
}

}  // namespace quorvex
