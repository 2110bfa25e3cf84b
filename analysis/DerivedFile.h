// What the interpolation and the correlation file share: creating the file in
// the current directory, writing it under the wait cursor, putting it in place
// and telling the user when that fails.
#pragma once

#include "analysis/AtomicFileWriter.h"

#include <functional>
#include <string>

class CDiagram;

// Creates fileName in the current directory and runs write with it under the
// wait cursor. The file replaces one of that name only when all of it was
// written. Returns false after a warning when the file cannot be created or
// written; an exception from write leaves no file behind and passes on.
bool WriteDerivedFile(CDiagram& diagram, const std::string& fileName,
                      const std::function<void(AtomicFileWriter&)>& write);

// The current directory as the completion messages show it.
std::string CurrentDirectoryText();
