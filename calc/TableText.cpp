#include "TableText.h"

namespace {

// The fields of "row" in the order of kTableColumns.
std::array<std::string, kTableColumns.size()> RowFields(const TTableRow& row) {
  return {row.Command->MessageName, row.Command->Category,
          ValuesText(row.Values),   ReadableParameters(*row.Command, row.Values),
          row.Frame.DataToSend,     row.Frame.Loxone};
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string TsvField(std::string_view field) {
  std::string text(field);
  for (char& c : text) {
    if (c == '\t' || IsLineBreak(c)) c = ' ';
  }
  return text;
}

// Plain text in a Markdown table cell: every character that Markdown could read as markup, the
// cell separator among them, behind a backslash; line breaks, which would end the row, as blanks.
std::string MarkdownText(std::string_view field) {
  constexpr std::string_view kMarkup = "\\|*_`[]<>";
  std::string text;
  text.reserve(field.size());
  for (char c : field) {
    if (IsLineBreak(c)) {
      text.push_back(' ');
      continue;
    }
    if (kMarkup.find(c) != std::string_view::npos) text.push_back('\\');
    text.push_back(c);
  }
  return text;
}

// Code in a Markdown table cell, shown exactly; plain text where it holds what a code span cannot.
std::string MarkdownCode(std::string_view field) {
  if (field.empty() || field.find_first_of("`|\r\n") != std::string_view::npos) {
    return MarkdownText(field);
  }
  std::string text = "`";
  text.append(field);
  text.push_back('`');
  return text;
}

template <typename Fields>
void AppendLine(std::string& text, const Fields& fields, TTableFormat format, char delimiter) {
  switch (format) {
    case TTableFormat::Csv:
    case TTableFormat::Tsv: {
      const char separator = format == TTableFormat::Csv ? delimiter : '\t';
      bool first = true;
      for (const auto& field : fields) {
        if (!first) text.push_back(separator);
        first = false;
        text += format == TTableFormat::Csv ? CsvField(field, delimiter) : TsvField(field);
      }
      break;
    }
    case TTableFormat::Markdown:
      text.push_back('|');
      for (const auto& field : fields) {
        text.push_back(' ');
        text += field;
        text += " |";
      }
      break;
  }
  text.push_back('\n');
}

}  // namespace

std::string CsvField(std::string_view field, char delimiter) {
  if (field.find_first_of(std::string{delimiter, '"', '\r', '\n'}) == std::string_view::npos) {
    return std::string(field);
  }
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

std::string TableText(std::span<const TTableRow> rows, TTableFormat format, char delimiter) {
  std::string text;
  // About the length of a row of the built-in commands, so that the text grows but rarely.
  text.reserve((rows.size() + 2) * 160);
  AppendLine(text, kTableColumns, format, delimiter);
  if (format == TTableFormat::Markdown) {
    std::array<std::string_view, kTableColumns.size()> rule;
    rule.fill("---");
    AppendLine(text, rule, format, delimiter);
  }
  for (const TTableRow& row : rows) {
    std::array<std::string, kTableColumns.size()> fields = RowFields(row);
    if (format == TTableFormat::Markdown) {
      fields[0] = MarkdownCode(fields[0]);
      fields[1] = MarkdownText(fields[1]);
      fields[2] = MarkdownText(fields[2]);
      fields[3] = MarkdownText(fields[3]);
      fields[4] = MarkdownCode(fields[4]);
      fields[5] = MarkdownCode(fields[5]);
    }
    AppendLine(text, fields, format, delimiter);
  }
  return text;
}
