#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kastrel::exporter {

// What an existing file says it describes, as far as continuing it goes: its
// part number (K1001/1) and its characteristic numbers (K2001/1, K2001/2, …
// in order), as the bytes stand in the file.
struct FileDescription {
    bool has_part = false;
    std::string part;
    std::vector<std::string> numbers;
    // A K2001 line out of order or given twice: not a description to continue.
    bool disordered = false;

    // Whether a run that writes `part` and `numbers` (Windows-1252) may add its
    // values to this file.
    bool matches(std::string_view part, const std::vector<std::string>& numbers) const;
};

// Reads the K-field lines of a file's bytes; value lines and other fields are
// passed over. Lines may end in CR LF or LF.
FileDescription read_description(std::string_view bytes);

} // namespace kastrel::exporter
