#pragma once

namespace quorvex {

// Where a window goes to sit in the middle of the screen: half of what the screen has to spare
// on each axis, fractions kept. A window larger than the screen gets a negative position. Any
// unit works as long as all four measures share it (twips, pixels).
struct CenteredPosition {
    double left;
    double top;
};

CenteredPosition CenterOnScreen(double screenWidth, double screenHeight, double formWidth,
                                double formHeight);

}  // namespace quorvex
