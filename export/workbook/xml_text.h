#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kastrel::exporter {

// Texts from the host made fit for the workbook library, which writes them
// into XML as they come. In a cell it writes the C0 controls as Excel's
// _xHHHH_ but passes U+FFFE, U+FFFF and malformed UTF-8 on (and stops at a
// NUL); everywhere else (chart titles, document properties) it escapes no
// control character at all. Either makes the part ill-formed, and Excel then
// offers to repair the whole workbook.

// For a text cell: what the library leaves as it is written as _xHHHH_ too
// (U+0000, U+FFFE, U+FFFF), and a literal _xHHHH_ of the text keeps its
// underscore escaped, so that Excel shows the text as it is; malformed UTF-8
// becomes U+FFFD.
std::string cell_text(std::string_view text);

// For the rest of the workbook's XML, which knows no _xHHHH_: every character
// XML 1.0 cannot hold becomes U+FFFD.
std::string plain_xml_text(std::string_view text);

// The text's length as Excel counts it (UTF-16 units, an escaped character as one).
std::size_t excel_length(std::string_view text);

} // namespace kastrel::exporter
