// Workbooks from Kastrel.exe: every checked-in export case from the command
// line, and the Save dialog's workbook type in the window. The cells are read
// back on Linux (openpyxl) by tools/windows-tests from the folder named by
// KASTREL_WORKBOOK_DIR, with the list of cases this suite writes there.

#include "tests/support/export_cases.h"
#include "tests/support/temp_dir.h"
#include "tests/windows_gui/kastrel_session.h"
#include "tests/windows_gui/registry_override.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace kastrel::wintest {
namespace {

constexpr const wchar_t* international = L"Control Panel\\International";
using KastrelWorkbookWindow = KastrelSession;

// Where the workbooks are kept for the check on Linux: KASTREL_WORKBOOK_DIR,
// else a folder of the test's own (and only what can be seen here is checked).
class WorkbookFolder {
public:
    WorkbookFolder() {
        const char* kept = std::getenv("KASTREL_WORKBOOK_DIR");
        path_ = kept != nullptr ? std::filesystem::path(kept) : temporary_.path();
        std::filesystem::create_directories(path_);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    fakes::TempDir temporary_;
    std::filesystem::path path_;
};

bool is_workbook(const std::filesystem::path& file) {
    return fakes::read_file(file).starts_with("PK\x03\x04");
}

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring plane_argument(const exporter::PlaneSwitches& planes) {
    return planes.xy ? L"XY" : planes.xz ? L"XZ" : planes.yz ? L"YZ" : L"none";
}

// Each case with its whole listing selected, as the command line selects it,
// written as a workbook; "cases.txt" names each with its separator. One host
// per part program.
TEST(KastrelWorkbook, EveryExportCaseFromTheCommandLine) {
    const WorkbookFolder folder;
    std::ofstream cases(folder.path() / "cases.txt", std::ios::binary);
    std::vector<std::string> part_programs;
    for (const fakes::ExportCase& c : fakes::export_cases)
        if (std::find(part_programs.begin(), part_programs.end(), c.part_program) ==
            part_programs.end())
            part_programs.push_back(c.part_program);
    int written = 0;
    for (const std::string& part_program : part_programs) {
        ServerProcess server({example(part_program)});
        ASSERT_TRUE(server.ready()) << part_program;
        for (const fakes::ExportCase& c : fakes::export_cases) {
            if (c.part_program != part_program || c.selection != fakes::Selection::All)
                continue;
            const RegistryOverride separator(international, L"sDecimal", widen(c.separator));
            const auto target = folder.path() / (std::string(c.name) + ".xlsx");
            const int option =
                static_cast<int>(c.option) - static_cast<int>(exporter::OutputOption::None);
            const auto run =
                run_with_arguments({L"--export", target.wstring(), L"--all", L"--option",
                                    std::to_wstring(option), L"--plane", plane_argument(c.planes)});
            EXPECT_EQ(run.exit_code, std::optional<DWORD>(c.unread == 0 ? 0 : 4))
                << c.name << run.err;
            EXPECT_TRUE(is_workbook(target)) << c.name;
            cases << c.name << ' ' << c.separator << '\n';
            ++written;
        }
    }
    EXPECT_GE(written, 25);
}

// The workbook type adds ".xlsx" to a name typed without an extension and
// asks before replacing that file; the text type uses the name as typed.
// The roundness sample from the window and from the command line is kept as
// "fenster.xlsx" and "batch.xlsx" for the check on Linux.
TEST_F(KastrelWorkbookWindow, TheSaveDialogsWorkbookTypeWritesAWorkbook) {
    const WorkbookFolder folder;
    const RegistryOverride separator(international, L"sDecimal", L",");
    ASSERT_NO_FATAL_FAILURE(start({example("roundness.json")}));
    ASSERT_NO_FATAL_FAILURE(list_features(3));
    click(control(app::Control::cmd_allemarkieren));

    fakes::TempDir dir;
    const std::wstring typed = (dir.path() / L"Flansch").wstring();
    const std::wstring written = typed + L".xlsx";
    ASSERT_TRUE(choose_export_file(typed, L"", false, 2));
    EXPECT_EQ(answer_message_box(), L"Alle selektierten Merkmale in Datei geschrieben");
    EXPECT_TRUE(is_workbook(written));
    fakes::write_file(written, "vorher");

    // The same again: the question about "Flansch.xlsx", answered Yes.
    ASSERT_TRUE(choose_export_file(typed, L"Flansch.xlsx", true, 2));
    EXPECT_EQ(answer_message_box(), L"Alle selektierten Merkmale in Datei geschrieben");
    EXPECT_TRUE(is_workbook(written));

    ASSERT_TRUE(choose_export_file(typed, L"Flansch.xlsx", false, 1));
    EXPECT_EQ(answer_message_box(), L"Alle selektierten Merkmale in Datei geschrieben");
    EXPECT_TRUE(fakes::read_file(typed).starts_with("Nummer\tPR\tPW\tTiefe\r\n"));
    EXPECT_EQ(dir.file_count(), 2u);

    const auto window_book = folder.path() / L"fenster.xlsx";
    std::filesystem::remove(window_book);
    ASSERT_TRUE(choose_export_file(window_book.wstring(), L"Flansch", false));
    EXPECT_EQ(answer_message_box(), L"Alle selektierten Merkmale in Datei geschrieben");
    const auto run =
        run_with_arguments({L"--export", (folder.path() / L"batch.xlsx").wstring(), L"--all"});
    EXPECT_EQ(run.exit_code, std::optional<DWORD>(0)) << run.err;
    EXPECT_TRUE(is_workbook(window_book));
}

} // namespace
} // namespace kastrel::wintest
