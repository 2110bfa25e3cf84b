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

void FillNumbers(std::vector<double>& numbers, const StringArray& cells) {
    for (std::size_t k = 0; k < numbers.size(); ++k)
        numbers[k] = cells.NumberAt(static_cast<long long>(k));
}

} // namespace

void CDiagram::MakeCorrelationFile() {
    if (columnCount == 0 || columns.IsEmpty())
        throw InvalidArgumentError("The diagram has no table to make a correlation file of.");
    const int curves = columnCount - 2;

    const std::string fileName = FormatC("%s_Correlation.txt", fileTitle.c_str());
    const bool written = WriteDerivedFile(*this, fileName, [this, curves](AtomicFileWriter& file) {
        file.Write(title);
        file.Write("\n\n(Correlation between " + std::to_string(curves) + " curves)\n\n");
        file.Write(HeaderLine(*this, curves));
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
            file.Write(row);
        }
    });
    if (written)
        ShowInformation("Correlation file was written to\n\n\"" + CurrentDirectoryText() + "\\" +
                        fileName + "\"\n\nCurves = " + std::to_string(curves));
}
