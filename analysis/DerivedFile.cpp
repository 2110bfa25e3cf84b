#include "analysis/DerivedFile.h"

#include "diagram/CDiagram.h"

#include <cmath>
#include <filesystem>
#include <optional>

namespace {

std::string NotWritten(const char* kind) {
    return std::string("\n\nNo ") + kind + " file was written.";
}

} // namespace

bool WriteDerivedFile(CDiagram& diagram, const DerivedFile& file) {
    std::optional<std::string> warning;
    {
        WaitCursor wait(diagram.view);
        const std::uint64_t expected = file.measure();
        AtomicFileWriter writer(file.fileName);
        if (expected > kMaxDerivedFileBytes) {
            warning = "The " + std::string(file.kind) + " file would be about " +
                      std::to_string(expected) + " bytes long, more than the limit of " +
                      std::to_string(kMaxDerivedFileBytes) + " bytes (1 GiB)." +
                      NotWritten(file.kind);
        } else if (!writer.Open()) {
            warning = "Can not create a file \"" + file.fileName + "\".";
        } else {
            AtomicFileWriter::Result result = AtomicFileWriter::Result::WriteFailed;
            try {
                file.write(writer);
                result = writer.Commit();
            } catch (const FileWriteError&) {
            }
            if (result == AtomicFileWriter::Result::WriteFailed)
                warning = "Can not write a file \"" + file.fileName + "\".";
            else if (result == AtomicFileWriter::Result::ReplaceFailed)
                warning = "Can not create a file \"" + file.fileName + "\".";
        }
    }
    if (warning)
        diagram.ShowWarning(*warning);
    return !warning;
}

std::string RefusalMessage(const char* kind, const std::string& figure, long long value,
                           long long limit, const char* unit) {
    return figure + " = " + std::to_string(value) + ": the " + kind + " file can have at most " +
           std::to_string(limit) + " " + unit + "." + NotWritten(kind);
}

std::uint64_t FixedThreeWidth(double bound) {
    if (!std::isfinite(bound))
        return 4;
    // One more integer digit than log10 says, for rounding up to a power of ten.
    const double digits = bound < 1 ? 1 : std::floor(std::log10(bound)) + 2;
    return 1 + static_cast<std::uint64_t>(digits) + 4;
}

std::string CurrentDirectoryText() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}
