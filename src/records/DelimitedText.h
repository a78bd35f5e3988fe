// The comma-delimited text of the saved-game and high-score files, split
// into lines and fields. A line ends with CR LF, LF or a lone CR; fields are
// separated by commas. A field in double quotes is text taken as it stands
// (it cannot hold a double quote or a line end); blanks around a field are
// not part of it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace capzel {

struct DelimitedField {
    std::string text;     // without the quotes and the blanks around
    bool quoted = false;
};

struct DelimitedLine {
    std::vector<DelimitedField> fields;  // none for a blank line
    std::string error;                   // set when the line is not well formed
    bool blank() const { return fields.empty() && error.empty(); }
};

// Splits UTF-8 text into its lines (line k of the file is element k - 1).
// A final line end does not start another line.
std::vector<DelimitedLine> splitDelimited(std::string_view text);

}  // namespace capzel
