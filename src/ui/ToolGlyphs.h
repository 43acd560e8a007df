// The pictures on the programs' tool buttons, drawn in code so the deliverable carries no image
// files, and the platform's interface font at a pixel size.
#pragma once

#include <QFont>
#include <QIcon>

namespace ui {

enum class Glyph { Disks, Funnel, Printer, List, Chart, Help, Magnifier, Exit };

// 20 x 20 pixels.
QIcon ToolGlyph(Glyph which);

// The interface font at `pixels` pixels high.
QFont PixelFont(int pixels, bool bold = false);

} // namespace ui
