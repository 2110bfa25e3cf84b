// Plain CSV files as spreadsheets and loggers write them: a header line
// naming the columns, then the rows, with no title line and no commands. The
// loader tells such a file from one of Kelvaro's own format by its second
// table line: under a plain header it is the first data row, all numbers
// after its X cell, where Kelvaro's own format has a header of names.
#pragma once

#include "diagram/CheckedArray.h"

#include <string_view>

// Whether the whole text reads as one number by the atof rule: blanks before
// and after it are allowed, nothing else. "inf", "nan" and hexadecimal
// numbers ("0x1A") count, as atof reads them; "", "12abc" and "abc" do not.
bool ReadsAsNumber(std::string_view text);

// Whether a table line split into cells (count texts, the last one empty)
// can be the first data row under a header of headerTokens tokens: it has
// as many tokens, and each one after its X token reads as a number.
bool IsFirstDataRow(int headerTokens, const CheckedArray<std::string_view>& cells, int count);

// What the X token of a plain file's first data row says of its X column:
// numbers, date-times (as the loader's date parser reads them) or labels.
enum class PlainX { Number, DateTime, Labels };
PlainX PlainXOf(std::string_view x);
