#pragma once

#include "export/export_request.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kastrel::fakes {

// Which list entries an export case selects. The entries are the part
// program's listing; with Twice the listing stands in the list two times.
enum class Selection { All, None, Twice };

// One export whose file is checked in byte for byte under
// tests/data/expected/<name>.xls; every platform's path must produce it.
struct ExportCase {
    const char* name;
    const char* part_program; // under examples/
    exporter::OutputOption option;
    exporter::PlaneSwitches planes;
    const char* separator;
    Selection selection = Selection::All;
    int unread = 0; // host values the closing message counts as not read
};

namespace cases {
using exporter::OutputOption;
inline constexpr exporter::PlaneSwitches xy{true, false, false};
inline constexpr exporter::PlaneSwitches xz{false, true, false};
inline constexpr exporter::PlaneSwitches yz{false, false, true};
inline constexpr exporter::PlaneSwitches no_plane{false, false, false};
} // namespace cases

inline constexpr std::array export_cases = {
    ExportCase{"bolt8_opt4_xy_de", "bolt_circle_8.json", cases::OutputOption::Option4, cases::xy,
               ","},
    ExportCase{"bolt8_opt4_xy_en", "bolt_circle_8.json", cases::OutputOption::Option4, cases::xy,
               "."},
    ExportCase{"bolt8_opt4_xz_de", "bolt_circle_8.json", cases::OutputOption::Option4, cases::xz,
               ","},
    ExportCase{"bolt8_opt4_yz_de", "bolt_circle_8.json", cases::OutputOption::Option4, cases::yz,
               ","},
    ExportCase{"bolt8_opt1_xy_de", "bolt_circle_8.json", cases::OutputOption::Option1, cases::xy,
               ","},
    ExportCase{"bolt8_opt1_xy_en", "bolt_circle_8.json", cases::OutputOption::Option1, cases::xy,
               "."},
    ExportCase{"bolt8_opt2_de", "bolt_circle_8.json", cases::OutputOption::Option2, cases::xy, ","},
    ExportCase{"bolt8_opt2_en", "bolt_circle_8.json", cases::OutputOption::Option2, cases::xy, "."},
    ExportCase{"bolt8_opt3_xy_de", "bolt_circle_8.json", cases::OutputOption::Option3, cases::xy,
               ","},
    ExportCase{"bolt8_opt3_xz_de", "bolt_circle_8.json", cases::OutputOption::Option3, cases::xz,
               ","},
    ExportCase{"bolt8_opt3_yz_en", "bolt_circle_8.json", cases::OutputOption::Option3, cases::yz,
               "."},
    ExportCase{"bolt8_opt4_noplane_de", "bolt_circle_8.json", cases::OutputOption::Option4,
               cases::no_plane, ","},
    ExportCase{"bolt8_opt3_noplane_de", "bolt_circle_8.json", cases::OutputOption::Option3,
               cases::no_plane, ","},
    ExportCase{"bolt8_opt4_none_selected_de", "bolt_circle_8.json", cases::OutputOption::Option4,
               cases::xy, ",", Selection::None},
    ExportCase{"bolt8_opt1_none_selected_de", "bolt_circle_8.json", cases::OutputOption::Option1,
               cases::xy, ",", Selection::None},
    ExportCase{"bolt8_opt4_listed_twice_de", "bolt_circle_8.json", cases::OutputOption::Option4,
               cases::xy, ",", Selection::Twice},
    ExportCase{"hits7_opt4_xy_de", "hits_7.json", cases::OutputOption::Option4, cases::xy, ","},
    ExportCase{"hits29_opt4_xy_de", "hits_29.json", cases::OutputOption::Option4, cases::xy, ","},
    ExportCase{"hits29_opt4_xy_en", "hits_29.json", cases::OutputOption::Option4, cases::xy, "."},
    ExportCase{"same_id_twice_opt4_xy_de", "same_id_twice.json", cases::OutputOption::Option4,
               cases::xy, ","},
    ExportCase{"same_id_twice_opt2_en", "same_id_twice.json", cases::OutputOption::Option2,
               cases::xy, "."},
    ExportCase{"demo_opt4_xy_de", "demo.json", cases::OutputOption::Option4, cases::xy, ","},
    ExportCase{"demo_opt2_en", "demo.json", cases::OutputOption::Option2, cases::xy, "."},
    ExportCase{"hits600_opt4_xy_de", "hits_600.json", cases::OutputOption::Option4, cases::xy, ","},
    ExportCase{"hits600_opt2_de", "hits_600.json", cases::OutputOption::Option2, cases::xy, ","},
    ExportCase{"numeric_ids_opt2_de", "numeric_ids.json", cases::OutputOption::Option2, cases::xy,
               ","},
    ExportCase{"numeric_ids_opt2_en", "numeric_ids.json", cases::OutputOption::Option2, cases::xy,
               "."},
    // Each part holds its numbers in one regional form: the other form is not read.
    ExportCase{"number_texts_opt4_xy_de", "number_texts.json", cases::OutputOption::Option4,
               cases::xy, ",", Selection::All, 9},
    ExportCase{"number_texts_opt4_xy_en", "number_texts.json", cases::OutputOption::Option4,
               cases::xy, ".", Selection::All, 9},
    ExportCase{"number_texts_opt1_xy_de", "number_texts.json", cases::OutputOption::Option1,
               cases::xy, ",", Selection::All, 9},
    ExportCase{"number_texts_opt1_xy_en", "number_texts.json", cases::OutputOption::Option1,
               cases::xy, ".", Selection::All, 9},
};

// One listing whose entries are checked in under tests/data/expected/<name>.ids,
// one entry a line; every platform's path must list them.
struct ListingCase {
    const char* name;
    const char* part_program; // under examples/
    const char* separator;
};

inline constexpr std::array listing_cases = {
    ListingCase{"numeric_ids_de", "numeric_ids.json", ","},
    ListingCase{"numeric_ids_en", "numeric_ids.json", "."},
    ListingCase{"number_texts_de", "number_texts.json", ","},
    ListingCase{"number_texts_en", "number_texts.json", "."},
};

// A listing as its checked-in file holds it.
inline std::string listing_text(const std::vector<std::string>& ids) {
    std::string text;
    for (const std::string& id : ids)
        text += id + "\n";
    return text;
}

// The window state a case stands for, given the part program's listing.
inline exporter::ExportRequest request_for(const ExportCase& c, std::vector<std::string> ids) {
    exporter::ExportRequest request;
    request.entries = std::move(ids);
    if (c.selection == Selection::Twice) {
        const auto once = request.entries;
        request.entries.insert(request.entries.end(), once.begin(), once.end());
    }
    request.selected.assign(request.entries.size(), c.selection != Selection::None);
    request.option = c.option;
    request.planes = c.planes;
    request.decimal_separator = c.separator;
    return request;
}

// Where a case's file is checked in, below the source folder.
inline std::filesystem::path expected_file(const std::filesystem::path& source_dir,
                                           const ExportCase& c) {
    return source_dir / "tests/data/expected" / (std::string(c.name) + ".xls");
}
inline std::filesystem::path expected_file(const std::filesystem::path& source_dir,
                                           const ListingCase& c) {
    return source_dir / "tests/data/expected" / (std::string(c.name) + ".ids");
}

} // namespace kastrel::fakes
