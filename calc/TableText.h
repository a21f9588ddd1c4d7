#pragma once

// The text forms of a table that both the command line and the window write: CSV, TSV and a
// Markdown table, all with the same columns.

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "FrameTable.h"

enum class TTableFormat { Csv, Tsv, Markdown };

// The columns of every text form, in order, as the header row names them.
inline constexpr std::array<std::string_view, 6> kTableColumns = {
    "command", "category", "values", "parameters", "data_to_send", "loxone"};

inline constexpr char kCsvDelimiter = ',';

// Returns "field" as one CSV field separated by "delimiter" (RFC 4180): as it is, or in double
// quotes with each double quote doubled when it holds the delimiter, a double quote, a carriage
// return or a line feed.
std::string CsvField(std::string_view field, char delimiter);

// Returns "rows" in "format": a header row of kTableColumns, then one line per row, each ended by
// a line feed. CSV fields are separated by "delimiter" and quoted as CsvField does; TSV fields are
// separated by tabs, with any tab, carriage return or line feed in a field turned into a blank;
// Markdown shows the command and the two byte texts as code.
std::string TableText(std::span<const TTableRow> rows, TTableFormat format,
                      char delimiter = kCsvDelimiter);
