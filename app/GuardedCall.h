// Runs one piece of the shell's work (an event handler, a command, a document
// open) so that no exception escapes into Qt: errors end in a warning box.
#pragma once

#include <QString>

#include <exception>
#include <functional>

class QWidget;

// The text shown for an error: the invalid-argument error as "Invalid
// argument." with what was wrong below it, any other error as its what().
QString ErrorMessage(const std::exception& error);

// Shows the error's text in a warning box over parent.
void ShowErrorBox(QWidget* parent, const std::exception& error);

// Runs action; an InvalidArgumentError or any other std::exception ends it
// with a warning box over parent, so the window stays usable.
void RunGuarded(QWidget* parent, const std::function<void()>& action);
