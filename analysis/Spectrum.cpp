// ComputeSpectrum: the amplitude spectrum of the chosen data column, written
// into the table's last column at the end of every load.
#include "analysis/SpectrumColumn.h"
#include "diagram/CDiagram.h"

#include "analysis/Fourier.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/LargeBlockAllocator.h"
#include "diagram/LoadProgress.h"
#include "diagram/Numbers.h"
#include "diagram/TwoThreads.h"

#include <utility>
#include <vector>

int SpectrumSizeFor(int rows) {
    int n = 1;
    while (n <= rows / 2)
        n *= 2;
    return n;
}

StringArray SpectrumColumnOf(std::span<const double> numbers, int rows,
                             const LoadProgress* progress) {
    StringArray spectrum("spectrum column");
    const int n = SpectrumSizeFor(rows);
    if (n >= 2) {
        CFourier fourier;
        fourier.StopWhenCancelled(progress);
        fourier.Init(n);
        const std::span<const float> transformed =
            fourier.Transform(numbers.first(static_cast<std::size_t>(n)));
        // Only the amplitudes are kept: the transform's arrays, eight times
        // their size, are given back before the texts take their memory.
        const std::vector<float, LargeBlockAllocator<float>> amplitudes(transformed.begin(),
                                                                        transformed.end());
        fourier.Release();
        // Two threads write the texts, each into a column of its own.
        StringArray upper("spectrum column");
        SplitInTwo(amplitudes.size(), 1 << 15, [&](std::size_t from, std::size_t to) {
            StringArray& texts = from == 0 ? spectrum : upper;
            for (std::size_t k = from; k < to; ++k) {
                if (progress && k % (1 << 16) == 0 && progress->Cancelled())
                    return;
                texts.Add(FormatFixed(static_cast<double>(amplitudes[k]), 6));
            }
        });
        if (progress)
            progress->ThrowIfCancelled();
        spectrum.AddAll(std::move(upper));
    }
    spectrum.AddRepeated("0.0", static_cast<std::size_t>(rows - spectrum.GetSize()));
    return spectrum;
}

std::optional<SpectrumSource> CDiagram::SpectrumToCompute() {
    if (columnCount == 0 || columns.IsEmpty())
        throw InvalidArgumentError("The diagram has no table to compute a spectrum of.");

    const int rows = values[0].GetSize();
    spectrumSize = SpectrumSizeFor(rows);
    if (spectrumSize < 2)
        return std::nullopt;
    const int source = spectrumColumn + 1;
    if (source < 1 || source > columnCount - 2)
        throw InvalidArgumentError("There is no data column " + std::to_string(spectrumColumn) +
                                   " to compute a spectrum of.");
    return SpectrumSource{values[source].Numbers(), rows};
}

void CDiagram::TakeSpectrum(StringArray&& column) {
    values[columnCount - 1] = std::move(column);
    SetColumnName(columns[columnCount - 1],
                  "Spec. for " + std::string(ColumnName(columns[spectrumColumn + 1])));
}

void CDiagram::ComputeSpectrum(const LoadProgress* progress) {
    // The column's numbers, kept for the paint that follows.
    if (const std::optional<SpectrumSource> source = SpectrumToCompute()) {
        const WaitCursor wait(view);
        TakeSpectrum(SpectrumColumnOf(source->numbers, source->rows, progress));
    }
}
