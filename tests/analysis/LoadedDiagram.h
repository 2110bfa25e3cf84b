// A diagram loaded from a data file that a test writes into a fresh
// directory, which is the current directory for the life of the object, so
// the derived files land next to the data file.
#pragma once

#include "TestSupport.h"

#include "diagram/CDiagram.h"

#include <filesystem>
#include <string>
#include <vector>

class LoadedDiagram {
public:
    // Writes content as fileName and loads it; throws when the load fails.
    LoadedDiagram(const std::string& fileName, const std::string& content);

    const std::filesystem::path& Dir() const { return dir.Path(); }
    std::string Output(const std::string& name) const { return ReadFile(dir.Path() / name); }
    // The names in the directory, sorted, the data file included.
    std::vector<std::string> Entries() const;

    TempDir dir;
    CurrentDirScope currentDir{dir.Path()};
    RecordingHost host;
    CDiagram diagram{&host};
};
