#pragma once

#include <QColor>
#include <QWidget>

namespace quorvex {

// The button-face colour: the Button colour of the application's palette.
QColor ButtonFaceColor();

// Gives one widget a solid background colour (a window, a frame, a label).
void SetBackColor(QWidget& widget, const QColor& color);

// The controls that take the window's colours: frames, labels, option buttons and check boxes.
bool IsLabelLike(const QWidget& widget);

// The window and its label-like controls in the button-face colour. Nothing else changes.
void ApplyPlainColors(QWidget& form);

// Places the window, frame included, in the middle of its screen. Raises Failure when there is
// no screen to centre on.
void CenterForm(QWidget& form);

// 15 twips make one pixel at 96 dots per inch.
constexpr int TwipsToPixels(int twips) { return (twips * 2 + 15) / 30; }

}  // namespace quorvex
