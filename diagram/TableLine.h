// Cutting a table line into its cells and storing a data row: the steps a
// line takes whichever thread reads it.
#pragma once

#include "diagram/CheckedArray.h"
#include "diagram/DateTime.h"
#include "diagram/StringArray.h"

#include <optional>
#include <string>
#include <string_view>

struct XRange;

// Cuts a table line into its tokens (longest runs of characters other than
// tab, "," and ";") and one empty text after them, into cells; returns their
// count. With dateX the first token is read as a date or time and replaced by
// its day number written into scratch: -1 when it is none (date then holds
// the invalid value). The cells view line and scratch.
int SplitTableLine(std::string_view line, bool dateX, CheckedArray<std::string_view>& cells,
                   std::string& scratch, DateValue& date);

// Whether a data row with this X text belongs to the table: always without a
// range, else when X lies in it, ends included.
bool RowInRange(const std::optional<XRange>& range, std::string_view x);

// Appends a data row: one cell per data column, then "0.0" for the spectrum
// column. rows holds columnCount columns and cells at least columnCount - 1.
void StoreDataRow(CheckedArray<StringArray>& rows, const CheckedArray<std::string_view>& cells);
