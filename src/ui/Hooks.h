// The few places where the shared widgets touch the outside world (beep, message boxes, help,
// the clock, ending the process), each behind a replaceable function so tests can observe them.
#pragma once

#include "hostdb/DateTime.h"

#include <QMessageBox>
#include <QString>
#include <functional>

class QKeyEvent;
class QWidget;

namespace ui {

// The system's four kinds of message box.
enum class BoxKind { Warning, Confirmation, Information, Error };

using BeepHook = std::function<void()>;
using MessageHook = std::function<QMessageBox::StandardButton(
    QWidget* parent, BoxKind kind, const QString& text, QMessageBox::StandardButtons buttons)>;
using HelpHook = std::function<void(int context)>;
using ClockHook = std::function<hostdb::DateTimeValue()>;
using EndProgramHook = std::function<void(int exitCode)>;

// Each setter returns the hook it replaces; an empty function restores the default.
BeepHook SetBeepHook(BeepHook hook);
MessageHook SetMessageHook(MessageHook hook);
HelpHook SetHelpHook(HelpHook hook);
ClockHook SetClockHook(ClockHook hook);
EndProgramHook SetEndProgramHook(EndProgramHook hook);

// The warning beep (QApplication::beep()).
// The program's title ("ZOLT (32-bit)"): error boxes are captioned with it and it keys the single
// instance. Not Qt's application display name, which the window system adds to every caption.
void SetProgramTitle(const QString& title);
QString ProgramTitle();

void Beep();

// A modal box with the system's caption for the kind; the button that closed it (Escape or
// closing the window counts as the last choice: No or Cancel).
QMessageBox::StandardButton ShowMessage(QWidget* parent, BoxKind kind, const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// Opens the help topic of a help context; without a help hook the number is shown in a box.
void ShowHelp(QWidget* parent, int context);
// F1 alone, in any window of the program, shows the help context of the nearest widget, from
// the one with the focus up to its window, that has a "helpContext" property. Installed once.
void InstallHelpKey();
// The help context F1 gives in `widget`; 0 when none of it and its parents has one.
int HelpContextOf(const QWidget* widget);

// The local date and time, and the whole day of it.
hostdb::DateTimeValue Now();
hostdb::DateTimeValue Today();

// Ends the process at once: no window is closed and nothing is saved. Does not return unless a
// test replaced the hook.
void EndProgram(int exitCode);

} // namespace ui
