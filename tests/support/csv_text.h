// Splitting the text outputs tests read back: lines, and CSV fields.
#pragma once
#include <string>
#include <vector>

namespace orv::test {

// The lines of a text without their LF; a last line without LF counts.
std::vector<std::string> text_lines(const std::string& text);

// The fields of a CSV line split at delim: quotes removed, "" inside quotes
// read as one quote, a CR outside quotes dropped.
std::vector<std::string> csv_fields(const std::string& line, char delim = ',');

} // namespace orv::test
