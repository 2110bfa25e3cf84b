// MakeCorrelationFile: the matrix of correlation coefficients between every
// pair of data columns, written as "<fileTitle>_Correlation.txt" into the
// current directory.
#include "diagram/CDiagram.h"

#include "analysis/DerivedFile.h"
#include "analysis/PearsonCorrelation.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"

#include <vector>

namespace {

constexpr int kMaxCurves = 2000;
// "\t%+f" of a coefficient: within [-1, 1] but for rounding, or nan.
constexpr std::uint64_t kValueBytes = 10;

// Appends the separator and the name of a column.
void AppendName(std::string& text, char separator, const CDiagram& diagram, int column) {
    text += separator;
    text += ColumnName(diagram.columns[column]);
}

// A tab before each curve name; the line ends only after two or more names,
// so with one curve its row follows on the next line without an empty one.
std::string HeaderLine(const CDiagram& diagram, int curves) {
    std::string line;
    AppendName(line, '\t', diagram, 1);
    for (int i = 2; i <= curves; ++i)
        AppendName(line, '\t', diagram, i);
    if (curves >= 2)
        line += '\n';
    return line;
}

// The bytes of the file: the title, the count line, the header line and one
// row of name and values per curve.
std::uint64_t FileBytes(const CDiagram& diagram, int curves, std::size_t countLineBytes) {
    std::uint64_t names = 0;
    for (int i = 1; i <= curves; ++i)
        names += ColumnName(diagram.columns[i]).size() + 1;
    const auto k = static_cast<std::uint64_t>(curves);
    return diagram.title.size() + countLineBytes + 2 * names + k * k * kValueBytes;
}

void FillNumbers(std::vector<double>& numbers, const StringArray& cells) {
    for (std::size_t k = 0; k < numbers.size(); ++k)
        numbers[k] = cells.NumberAt(static_cast<long long>(k));
}

} // namespace

void CDiagram::MakeCorrelationFile() {
    if (columnCount == 0 || columns.IsEmpty())
        throw InvalidArgumentError("The diagram has no table to make a correlation file of.");
    const int curves = columnCount - 2;

    if (curves > kMaxCurves) {
        ShowWarning(RefusalMessage("correlation", "Curves", curves, kMaxCurves, "curves"));
        return;
    }

    const std::string fileName = FormatC("%s_Correlation.txt", fileTitle.c_str());
    const std::string countLine =
        "\n\n(Correlation between " + std::to_string(curves) + " curves)\n\n";
    const DerivedFile file{
        fileName, "correlation", [&] { return FileBytes(*this, curves, countLine.size() + 1); },
        [&](AtomicFileWriter& writer) {
            writer.Write(title);
            writer.Write(countLine);
            writer.Write(HeaderLine(*this, curves));
            // Every row starts with its own line break, so the file ends right
            // after the last value.
            const int n = values[0].GetSize();
            std::vector<double> a(n), b(n);
            for (int i = 1; i <= curves; ++i) {
                std::string row;
                AppendName(row, '\n', *this, i);
                FillNumbers(a, values[i]);
                for (int j = 1; j <= curves; ++j) {
                    FillNumbers(b, values[j]);
                    row += FormatC("\t%+f", PearsonCorrelation(a.data(), b.data(), n));
                }
                writer.Write(row);
            }
        }};
    if (WriteDerivedFile(*this, file))
        ShowInformation("Correlation file was written to\n\n\"" + CurrentDirectoryText() + "\\" +
                        fileName + "\"\n\nCurves = " + std::to_string(curves));
}
