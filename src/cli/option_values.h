// Readers of option values: a pair of texts, a finite number, a positive
// size, a point E,N, a range MIN:MAX, a whole number and an EPSG code, each
// with one wording of what is wrong for every subcommand.
#pragma once
#include <optional>
#include <string>

#include "cli/exit.h"
#include "map/extent.h"

namespace orv::cli {

// Splits "A,B" at its only comma into two parts without the blanks and tabs
// around them, neither empty; what names the expected form in the message
// ("zwei Spaltennamen E,N").
maybe_problem read_pair(const std::string& text, const char* name, const char* what, std::string& a,
                        std::string& b);

// Reads --coords "E,N": two different column names, blanks around each
// trimmed; empty text leaves e and n as they are.
maybe_problem read_coords(const std::string& text, std::string& e, std::string& n);

// Reads a --delimiter or --decimal value ("tab" for a tab) as the byte it
// names, one of allowed; empty text leaves c as it is.
maybe_problem read_char(const std::string& text, const char* name, const char* allowed, char& c);

// Reads --threads: a whole number from 0 (all cores) to 256.
maybe_problem read_threads(const std::string& text, unsigned& n);

// Reads a finite number given to option name as a double; a number with a
// decimal comma ("20,5") is refused naming the point to use.
maybe_problem read_finite(const std::string& text, const char* name, double& v);

// Reads one coordinate given to option name: a finite number, its whole
// part optionally grouped by apostrophes as the tool prints coordinates
// ("2'600'000"); apostrophes elsewhere are refused.
maybe_problem read_coordinate(const std::string& text, const char* name, double& v);

// The problem of text when it is a number with a decimal comma, naming the
// text with a point; none for any other text.
maybe_problem decimal_comma(const std::string& text, const char* name);

// Reads a finite number > 0 given to option name as a double; empty text
// leaves v empty.
maybe_problem read_size(const std::string& text, const char* name, std::optional<double>& v);

// Reads "E,N" (two coordinates as read_coordinate reads them, as doubles)
// given to option name.
maybe_problem read_point(const std::string& text, const char* name, double& e, double& n);

// Reads "MIN:MAX" (two finite numbers, MIN < MAX, read as doubles) given to
// option name; empty text leaves r empty.
maybe_problem read_range(const std::string& text, const char* name, std::optional<map::range>& r);

// Reads a whole number from lo to hi given to option name; empty keeps n.
maybe_problem read_count(const std::string& text, const char* name, int lo, int hi, int& n);

} // namespace orv::cli
