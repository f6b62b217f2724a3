// Kastrel.exe started with arguments, as a measuring routine starts it:
// no window, its texts on redirected standard handles.

#include "tests/support/temp_dir.h"
#include "tests/windows/server_process.h"
#include "tests/windows_gui/app_process.h"
#include "tests/windows_gui/kastrel_session.h"
#include "tests/windows_gui/registry_override.h"

#include <gtest/gtest.h>
#include <regex>

namespace kastrel::wintest {
namespace {

constexpr const wchar_t* international = L"Control Panel\\International";

std::string expected(const std::string& name) {
    return fakes::read_file(std::filesystem::path(KASTREL_SOURCE_DIR) / "tests/data/expected" /
                            (name + ".xls"));
}

TEST(KastrelCommandLine, ExportsTheWindowsFilesAndListsIntoAPipe) {
    ServerProcess server({example("bolt_circle_8.json")});
    ASSERT_TRUE(server.ready());
    fakes::TempDir dir;
    const auto target = dir.path() / L"Maß.xls";
    fakes::write_file(target, "vorher");
    {
        RegistryOverride separator(international, L"sDecimal", L",");
        const auto run = run_with_arguments({L"--export", target.wstring(), L"--all"});
        EXPECT_EQ(run.exit_code, std::optional<DWORD>(0)) << run.err;
        EXPECT_EQ(run.err, "Alle selektierten Merkmale in Datei geschrieben\r\n");
        EXPECT_EQ(fakes::read_file(target), expected("bolt8_opt4_xy_de"));
    }
    {
        RegistryOverride separator(international, L"sDecimal", L".");
        const auto run = run_with_arguments(
            {L"--select", L"LK1", L"--option", L"2", L"--export", target.wstring()});
        EXPECT_EQ(run.exit_code, std::optional<DWORD>(0)) << run.err;
        EXPECT_EQ(fakes::read_file(target), expected("bolt8_opt2_en"));
    }
    EXPECT_EQ(dir.file_count(), 1u);

    const auto list = run_with_arguments({L"--list"});
    EXPECT_EQ(list.exit_code, std::optional<DWORD>(0)) << list.err;
    EXPECT_EQ(list.out, "LK1\r\n");
    EXPECT_EQ(list.err, "");
}

// Every run's date and time as one mark.
std::string without_times(const std::string& aqdef) {
    return std::regex_replace(aqdef, std::regex(R"(\d\d\.\d\d\.\d{4}/\d\d:\d\d:\d\d)"), "T");
}

// The bytes the Linux build writes (date and time aside), with "." under a
// decimal comma; the second run continues the first one's file.
TEST(KastrelCommandLine, AnAqdefFileHasTheLinuxBuildsBytesAndTheNextRunContinuesIt) {
    ServerProcess server({example("roundness.json")});
    ASSERT_TRUE(server.ready());
    fakes::TempDir dir;
    const auto target = dir.path() / L"roundness.dfq";
    RegistryOverride separator(international, L"sDecimal", L",");
    for (int runs = 0; runs < 2; ++runs) {
        const auto run = run_with_arguments({L"--export", target.wstring(), L"--all"});
        EXPECT_EQ(run.exit_code, std::optional<DWORD>(0)) << run.err;
    }
    const std::string linux_file = without_times(fakes::read_file(
        std::filesystem::path(KASTREL_SOURCE_DIR) / "tests/data/expected" / "roundness.dfq"));
    const std::size_t value_line = linux_file.rfind("\r\n", linux_file.size() - 3) + 2;
    EXPECT_EQ(without_times(fakes::read_file(target)), linux_file + linux_file.substr(value_line));
    EXPECT_EQ(dir.file_count(), 1u);
}

TEST(KastrelCommandLine, AUsageErrorIsWrittenInUtf8AndEndsWith2) {
    const auto run = run_with_arguments({L"--option", L"9", L"--export", L"a.xls", L"--all"});
    EXPECT_EQ(run.exit_code, std::optional<DWORD>(2));
    EXPECT_EQ(run.err.substr(0, run.err.find("Aufruf:")),
              "Ungültiger Wert \"9\" für --option (erlaubt: 1, 2, 3 oder 4)\r\n");
    EXPECT_NE(run.err.find("  Kastrel.exe --list\r\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

// A device's name is refused before anything is written, whatever its
// folder and extension; nothing is made of it.
TEST(KastrelCommandLine, ADevicesNameIsRefusedAndEndsWith3) {
    ServerProcess server({example("bolt_circle_8.json")});
    ASSERT_TRUE(server.ready());
    fakes::TempDir dir;
    for (const std::wstring& target :
         {std::wstring(L"NUL"), (dir.path() / L"COM1.xlsx").wstring()}) {
        const auto run = run_with_arguments({L"--export", target, L"--all"});
        const std::filesystem::path name(target);
        const std::u8string shown = name.u8string();
        EXPECT_EQ(run.exit_code, std::optional<DWORD>(3)) << run.err;
        EXPECT_NE(run.err.find("Die Datei \"" + std::string(shown.begin(), shown.end()) +
                               "\" konnte nicht geschrieben werden: Der Name bezeichnet keine "
                               "gewöhnliche Datei.\r\nEine vorhandene Datei dieses Namens ist "
                               "unverändert.\r\n"),
                  std::string::npos)
            << run.err;
    }
    EXPECT_EQ(dir.file_count(), 0u);
}

} // namespace
} // namespace kastrel::wintest
