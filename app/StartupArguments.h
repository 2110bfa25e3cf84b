// What the viewer's command line asks for, once Qt has taken its own options
// (-platform, -style, ...): the files to open, in the order given, whether a
// new main window is wanted, and a line for everything that is not opened.
#pragma once

#include <QString>
#include <QStringList>

struct StartupArguments {
    // Absolute paths, in the order given. A file that does not exist stays:
    // opening it says so in the box every open shows.
    QStringList files;
    // --new-window: never hand the files to a viewer that runs already.
    bool newWindow = false;
    // One line each for stderr: an option not known, a folder named.
    QStringList notes;
};

// arguments as QCoreApplication::arguments() gives them (the program first);
// relative paths are taken from currentDir.
StartupArguments ParseStartupArguments(const QStringList& arguments, const QString& currentDir);
