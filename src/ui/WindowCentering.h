// Where a window goes when it is centred over a control: half-way down and across the control,
// kept on the screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

// The top-left of a window of `window` size centred over `control` (screen coordinates), kept
// within a screen of `screen` size and never above or left of its origin.
QPoint CenteredPosition(QSize window, QRect control, QSize screen);

// Moves `window` over `control` (or the screen's centre without one).
void CenterOver(QWidget* window, const QWidget* control);

} // namespace ui
