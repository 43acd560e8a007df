// A main window's place between runs: state, top, left, height and width in one section of the
// maker-wide settings file, brought back onto the screen when it was saved on a larger one.
#pragma once

#include "platform/Profile.h"

#include <QRect>
#include <QSize>
#include <string_view>
#include <vector>

class QWidget;

namespace ui {

// The states as the file stores them.
enum StoredState : int { StateNormal = 0, StateMinimised = 1, StateMaximised = 2 };

struct FormPosition {
    QRect bounds;             // left, top, width and height of the normal window
    bool maximised = false;   // else normal, whatever else was stored
};

// Where the section puts a window of `current` size on a screen of `screen` size: missing keys
// keep the current size and centre the window, a top or left beyond the screen centres it.
FormPosition StoredFormPosition(const platform::Profile& file, std::string_view section,
                                QSize current, QSize screen);

// Keeps a stored place usable on the screens there are now: a size below the window's minimum
// or above every screen's is `current`, and a window whose title bar would have less than a
// third of its width on any screen (one saved on a monitor since removed, or a hostile value)
// is centred on `primary`.
QRect KeptOnScreens(QRect bounds, QSize minimum, QSize current, const std::vector<QRect>& screens,
                    const QRect& primary);

// Moves, sizes and shows-state `form` from the section (the screen is the form's own), kept on
// the available screens.
void RestoreFormPosition(QWidget& form, const platform::Profile& file, std::string_view section);

// Writes State, then (after a maximised window is returned to normal) Top, Left, Height and
// Width; false when the file could not be written.
bool SaveFormPosition(QWidget& form, platform::Profile& file, std::string_view section);

} // namespace ui
