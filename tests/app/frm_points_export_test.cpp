#include "app/main_window/frm_points.h"
#include "tests/support/fake_view.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unprivileged_user.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kastrel;
using app::Pointer;

namespace {

struct ExportClick : ::testing::Test {
    fakes::SimConnector host;
    fakes::FakeView view;
    app::FrmPoints form{view, host};
    fakes::TempDir dir;

    ExportClick() {
        host.open({fakes::feature("KRS1", 10, {fakes::hit({3, 4, 0}, {3, 4, -1})})});
        form.Form_Load();
        form.cmd_lesen_Click();
        form.cmd_allemarkieren_Click();
        view.pointers.clear();
    }
    std::string file(const std::string& name) const { return (dir / name).string(); }
};

TEST_F(ExportClick, CancelInTheSaveDialogEndsSilently) {
    view.save_answers = {std::nullopt};
    form.cmd_schreiben_Click();
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(view.pointers.empty());
    EXPECT_EQ(dir.file_count(), 0u);
}

TEST_F(ExportClick, SetsUpTheDialogAndProposesTheLastNameAgain) {
    view.save_answers = {file("a.xls"), std::nullopt};
    form.cmd_schreiben_Click();
    form.cmd_schreiben_Click();
    ASSERT_EQ(view.save_requests.size(), 2u);
    EXPECT_EQ(view.save_requests[0].filter, "Excel Werkzeug Korrekturdatei (*.xls)|*.xls|"
                                            "Excel-Arbeitsmappe (*.xlsx)|*.xlsx|"
                                            "AQDEF-Datei für SPC (*.dfq)|*.dfq");
    EXPECT_EQ(view.save_requests[0].filter_index, 1);
    EXPECT_EQ(view.save_requests[0].default_extensions,
              (std::vector<std::string>{"", "xlsx", "dfq"}));
    EXPECT_EQ(view.save_requests[0].continued_extensions, std::vector<std::string>{"dfq"});
    EXPECT_EQ(view.save_requests[0].flags, 6);
    EXPECT_EQ(view.save_requests[0].proposed_name, "");
    EXPECT_EQ(view.save_requests[1].proposed_name, file("a.xls"));
}

TEST_F(ExportClick, WritesTheFileAndReportsCompletion) {
    view.save_answers = {file("ohne_endung")};
    form.cmd_schreiben_Click();
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{"Alle selektierten Merkmale in Datei geschrieben"}));
    EXPECT_EQ(view.pointers, (std::vector<Pointer>{Pointer::Hourglass, Pointer::Arrow}));
    const std::string content = fakes::read_file(dir / "ohne_endung");
    EXPECT_EQ(content, "Nummer\tPR\tPW\tTiefe\r\n1\t5,000\t0\t-1,0000\r\n\r\n"
                       "Berechnung\tWinkel\tAbstand\r\n\r\n\t\tMax\t\r\n\t\tMin\t\r\n"
                       "\t\tMittelwert\t\r\n");
}

TEST_F(ExportClick, UnreadValuesAreReportedAsAnIncompleteFile) {
    host.fail(fakes::failing({"Point#0.1.3 X"}));
    view.save_answers = {file("a.xls")};
    form.cmd_schreiben_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("unvollständig: 1 Wert konnte nicht"), std::string::npos)
        << view.messages[0];
}

TEST_F(ExportClick, AFileThatCannotBeWrittenIsNeverReportedAsSuccess) {
    view.save_answers = {file("fehlt/a.xls")};
    form.cmd_schreiben_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("konnte nicht geschrieben werden: Ordner nicht gefunden"),
              std::string::npos)
        << view.messages[0];
    EXPECT_EQ(view.pointers.back(), Pointer::Arrow);
}

TEST_F(ExportClick, NoOutputOptionEndsTheProgramAndLeavesAnExistingFile) {
    fakes::write_file(dir / "a.xls", "alt");
    view.options.fill(false);
    view.save_answers = {file("a.xls")};
    form.cmd_schreiben_Click();
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{
                  "Kann die ausgewählte Ausgabeoption nicht erkennen. Programm ENDE !"}));
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(fakes::read_file(dir / "a.xls"), "alt");
    EXPECT_EQ(dir.file_count(), 1u);
}

// An AQDEF file holds the evaluation: without a plane nothing is written,
// and the output option does not matter.
TEST_F(ExportClick, AnAqdefFileNeedsAPlaneButNoOutputOption) {
    fakes::write_file(dir / "x.dfq", "alt");
    view.checks = {0, 0, 0, 0};
    view.save_answers = {file("x.dfq")};
    form.cmd_schreiben_Click();
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{
                  "Für die Auswertung muss eine Ebene (XY, XZ oder YZ) gewählt sein."}));
    EXPECT_TRUE(view.pointers.empty());
    EXPECT_EQ(fakes::read_file(dir / "x.dfq"), "alt");

    std::filesystem::remove(dir / "x.dfq");
    view.messages.clear();
    view.checks = {0, 0, 0, 1};
    view.options.fill(false);
    view.save_answers = {file("x.dfq")};
    form.cmd_schreiben_Click();
    EXPECT_FALSE(view.ended);
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{"Alle selektierten Merkmale in Datei geschrieben"}));
    EXPECT_TRUE(
        fakes::read_file(dir / "x.dfq").starts_with("K0100 5\r\nK1001/1 x\r\nK2001/1 KRS1.D\r\n"));
    EXPECT_NE(fakes::read_file(dir / "x.dfq").find("K2002/3 KRS1 Versatz Y\r\n"),
              std::string::npos);
}

TEST_F(ExportClick, AttachFailuresShowTheRunTimeErrorAndKeepTheProgram) {
    host.sim().close();
    form.cmd_schreiben_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind("Laufzeitfehler '91':", 0), 0u) << view.messages[0];
    EXPECT_FALSE(view.ended);
    EXPECT_TRUE(view.save_requests.empty());
}

TEST_F(ExportClick, TheHostDyingMidRunLeavesTheTargetIntact) {
    fakes::write_file(dir / "a.xls", "alt");
    view.save_answers = {file("a.xls")};
    host.fail(vormesa_sim::FailurePlan().fail_from(8, fakes::host_lost()));
    form.cmd_schreiben_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("Vormesa antwortet nicht mehr"), std::string::npos);
    EXPECT_EQ(fakes::read_file(dir / "a.xls"), "alt");
    EXPECT_EQ(dir.file_count(), 1u);
    EXPECT_FALSE(view.ended);
}

// As a user who may not write the target, or may write it but not create a
// file beside it: the refusal is said and the file kept, the writable target
// is written.
TEST_F(ExportClick, TheFileSystemsRefusalIsSaidAndWhatItAllowsIsWritten) {
    const bool foreign_file = ::geteuid() == 0;
    if (foreign_file) {
        fakes::write_file(dir / "fremd.xls", "alt");
        ::chmod(file("fremd.xls").c_str(), 0644);
    }
    view.set_option_value(2, true);
    const std::string report = fakes::as_unprivileged_user(dir, [&] {
        fakes::write_file(dir / "nur_lesen.xls", "alt");
        ::chmod(file("nur_lesen.xls").c_str(), 0444);
        std::filesystem::create_directory(dir / "zu");
        fakes::write_file(dir / "zu/offen.xls", "alt");
        ::chmod(file("zu").c_str(), 0555);
        std::string text;
        for (const char* name : {"nur_lesen.xls", "fremd.xls", "zu/offen.xls"}) {
            if (!foreign_file && name == std::string("fremd.xls"))
                continue;
            view.messages.clear();
            view.save_answers = {file(name)};
            form.cmd_schreiben_Click();
            for (const std::string& message : view.messages)
                text += message + "\n";
            text += fakes::read_file(dir / name) + "\n";
        }
        ::chmod(file("zu").c_str(), 0755);
        return text;
    });
    const auto refused = [&](const std::string& name) {
        return "Die Datei \"" + file(name) +
               "\" konnte nicht geschrieben werden: Die Datei ist schreibgeschützt.\nEine "
               "vorhandene Datei dieses Namens ist unverändert.\nalt\n";
    };
    EXPECT_EQ(report, refused("nur_lesen.xls") + (foreign_file ? refused("fremd.xls") : "") +
                          "Alle selektierten Merkmale in Datei geschrieben\n3,0000;4,0000\r\n\n");
}

// The host got another part program between the listing and the export:
// the entries it no longer has are named, not passed over in silence.
TEST_F(ExportClick, SelectedEntriesThePartProgramNoLongerHasAreNamed) {
    host.open({fakes::feature("KRS1", 10),
               fakes::feature("KRS2", 10, {fakes::hit({3, 4, 0}, {3, 4, 0})}),
               fakes::feature("KRS3", 10)});
    form.cmd_lesen_Click();
    form.cmd_allemarkieren_Click();
    host.open({fakes::feature("KRS2", 10, {fakes::hit({3, 4, 0}, {3, 4, 0})})});
    view.set_option_value(2, true);
    view.save_answers = {file("a.xls")};
    form.cmd_schreiben_Click();
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{
                  "Die Datei \"" + file("a.xls") +
                  "\" wurde geschrieben, enthält aber nicht alle selektierten "
                  "Merkmale.\nIm Teileprogramm nicht gefunden: \"KRS1\", \"KRS3\""}));
    EXPECT_EQ(fakes::read_file(dir / "a.xls"), "3,0000;4,0000\r\n");
}

} // namespace
