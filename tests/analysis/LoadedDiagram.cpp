#include "LoadedDiagram.h"

#include <algorithm>
#include <stdexcept>

LoadedDiagram::LoadedDiagram(const std::string& fileName, const std::string& content) {
    const auto path = dir.Write(fileName, content);
    if (!diagram.LoadFile(path.string()))
        throw std::runtime_error("the test data file " + fileName + " does not load");
}

std::vector<std::string> LoadedDiagram::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
