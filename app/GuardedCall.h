// Runs one piece of the shell's work (an event handler, a command, a document
// open) so that no exception escapes into Qt: errors end in a warning box.
// Also the viewer's message boxes themselves.
#pragma once

#include <exception>
#include <functional>
#include <string>

class QWidget;

// The text shown for an error: the invalid-argument error as "Invalid
// argument." with what was wrong below it, running out of memory as such, any
// other error as its what().
std::string ErrorMessage(const std::exception& error);

// A warning or an information box over owner with the text as
// MessageBoxText shows it; a warning is also written whole to stderr, the
// viewer's log, as "kelvaro: warning: TEXT", or "kelvaro: warning: TEXT
// (REASON)" when the system gave a reason for a failed open or read (the box
// shows the text alone).
void ShowWarningBox(QWidget* owner, const std::string& text,
                    const std::string& systemReason = std::string());
void ShowInformationBox(QWidget* owner, const std::string& text);

// Shows the error's text in a warning box over parent.
void ShowErrorBox(QWidget* parent, const std::exception& error);

// Runs action; an InvalidArgumentError or any other std::exception ends it
// with a warning box over parent, so the window stays usable.
void RunGuarded(QWidget* parent, const std::function<void()>& action);
