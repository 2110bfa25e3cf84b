#include "analysis/DerivedFile.h"

#include "diagram/CDiagram.h"

#include <filesystem>

bool WriteDerivedFile(CDiagram& diagram, const std::string& fileName,
                      const std::function<void(AtomicFileWriter&)>& write) {
    AtomicFileWriter file(fileName);
    if (!file.Open()) {
        diagram.ShowWarning("Can not create a file \"" + fileName + "\".");
        return false;
    }
    AtomicFileWriter::Result result;
    {
        WaitCursor wait(diagram.view);
        write(file);
        result = file.Commit();
    }
    switch (result) {
    case AtomicFileWriter::Result::Written:
        return true;
    case AtomicFileWriter::Result::WriteFailed:
        diagram.ShowWarning("Can not write a file \"" + fileName + "\".");
        return false;
    case AtomicFileWriter::Result::ReplaceFailed:
        diagram.ShowWarning("Can not create a file \"" + fileName + "\".");
        return false;
    }
    return false;
}

std::string CurrentDirectoryText() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}
