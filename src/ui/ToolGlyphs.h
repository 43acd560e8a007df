// Pieces both programs' main windows are made of: the tool buttons' pictures, drawn in code so the
// deliverable carries no image files, the interface font at a pixel size, and the title panel.
#pragma once

#include <QFont>
#include <QIcon>

class QFrame;
class QLabel;
class QToolButton;
class QWidget;

namespace ui {

enum class Glyph { Disks, Funnel, Printer, List, Chart, Help, Magnifier, Exit };

// 20 x 20 pixels.
QIcon ToolGlyph(Glyph which);

// A main window's 25 x 25 tool button at (x, 8) of its tool panel: flat until pointed at, never
// taking the focus, the hint's "\r" a line break.
QToolButton* MakeToolButton(QWidget* panel, int x, Glyph glyph, const QString& hint);

// The interface font at `pixels` pixels high.
QFont PixelFont(int pixels, bool bold = false);

// The 377 x 57 doubly lowered panel in the window-text colour with two centred bold lines in
// the window colour, shown while the results grid is hidden.
QFrame* MakeTitlePanel(QWidget* parent, QLabel*& first, QLabel*& second);

} // namespace ui
