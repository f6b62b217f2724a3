#include "app/evaluation/evaluation_table.h"
#include "app/evaluation/evaluation_window.h"
#include "app/main_window/frm_points.h"
#include "tests/support/fake_view.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace kastrel;

namespace {

std::string expected(const std::string& name) {
    std::ifstream in(std::string(KASTREL_SOURCE_DIR) + "/tests/data/expected/" + name,
                     std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The rows of the sheet "Rundheit" as checked in: per row its cells, texts
// without their quotes.
std::vector<std::vector<std::string>> sheet_rows() {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(expected("roundness_xy_de.json"));
    for (std::string line; std::getline(in, line);) {
        const auto open = line.find("[\"");
        if (open == std::string::npos)
            continue;
        std::string cells = line.substr(open + 1, line.rfind(']') - open - 1);
        std::vector<std::string>& row = rows.emplace_back();
        std::istringstream fields(cells);
        for (std::string field; std::getline(fields, field, ',');) {
            field.erase(0, field.find_first_not_of(" \""));
            field.erase(field.find_last_not_of(" \"") + 1);
            row.push_back(field);
        }
    }
    return rows;
}

struct EvaluateClick : ::testing::Test {
    fakes::SimConnector host;
    fakes::FakeView view;
    app::FrmPoints form{view, host};

    void list(const std::string& example) {
        host.open(fakes::examples_folder() / example);
        form.Form_Load();
        form.cmd_lesen_Click();
        view.pointers.clear();
    }
};

TEST_F(EvaluateClick, WithoutPlaneOrSelectionItSaysSoAndRunsNothing) {
    list("roundness.json");
    EXPECT_TRUE(view.is_enabled(app::CommandButton::cmd_auswerten));
    const std::size_t calls = host.calls.size();
    form.cmd_auswerten_Click(); // nothing selected
    form.cmd_allemarkieren_Click();
    view.checks[1] = 0; // no plane
    form.cmd_auswerten_Click();
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{
                  "Es ist kein Merkmal selektiert.",
                  "Für die Auswertung muss eine Ebene (XY, XZ oder YZ) gewählt sein."}));
    EXPECT_EQ(host.calls.size(), calls);
    EXPECT_TRUE(view.evaluations.empty());
    EXPECT_TRUE(view.pointers.empty());
}

// Without an output option, in the export's calls; the rows are the sheet's,
// and the main window is left as it was.
TEST_F(EvaluateClick, ShowsTheSheetsRowsAfterTheExportsCalls) {
    list("roundness.json");
    form.cmd_allemarkieren_Click();
    view.options.fill(false);
    const auto before = host.calls.size();
    form.cmd_auswerten_Click();
    ASSERT_EQ(view.evaluations.size(), 1u) << (view.messages.empty() ? "" : view.messages[0]);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.pointers,
              (std::vector<app::Pointer>{app::Pointer::Hourglass, app::Pointer::Arrow}));
    const std::vector<std::string> evaluation_calls(host.calls.begin() + before, host.calls.end());

    view.options[4] = true;
    fakes::TempDir dir;
    view.save_answers = {(dir / "a.xls").string()};
    form.cmd_schreiben_Click();
    EXPECT_EQ(std::vector<std::string>(host.calls.begin() + before + evaluation_calls.size(),
                                       host.calls.end()),
              evaluation_calls);

    const auto& rows = view.evaluations[0];
    EXPECT_EQ(app::tab_separated(rows, nullptr), expected("roundness_xy.tsv"));
    const auto sheet = sheet_rows();
    ASSERT_EQ(sheet.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < exporter::roundness_columns; ++c) {
            const std::string cell = app::exact_cell(rows[r], c);
            if (c < 2)
                EXPECT_EQ(cell, sheet[r][c]);
            else
                EXPECT_NEAR(std::strtod(cell.c_str(), nullptr),
                            std::strtod(sheet[r][c].c_str(), nullptr), 5e-9)
                    << rows[r].id << " " << exporter::roundness_titles[c];
        }
    EXPECT_EQ(view.entries, (std::vector<std::string>{"KRS1", "KRS2", "KRS3"}));
    EXPECT_EQ(view.selected, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(view.checks, (std::array<int, 4>{0, 1, 0, 0}));
}

TEST_F(EvaluateClick, ACancelledRunOrALostHostShowsNoWindow) {
    list("hits_600.json");
    form.cmd_allemarkieren_Click();
    host.fail(vormesa_sim::FailurePlan().delay_every(std::chrono::milliseconds(1)));
    view.progress.on_pump = [](app::ProgressEvents& events) { events.cancel_clicked(); };
    form.cmd_auswerten_Click();
    view.progress.on_pump = {};
    host.fail(vormesa_sim::FailurePlan().fail_from(8, fakes::host_lost()));
    form.cmd_auswerten_Click();
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[0], "Auswertung abgebrochen.");
    EXPECT_EQ(view.messages[1], "Vormesa antwortet nicht mehr.\nDie Auswertung ist "
                                "unvollständig und wird nicht angezeigt.");
    EXPECT_TRUE(view.evaluations.empty());
    EXPECT_FALSE(view.ended);
}

// The window's logic: the table as shown, the plot of the row chosen,
// "Kein Kreis" for a row without one, the clipboard's cells.
class FakeEvaluationView : public app::EvaluationView {
public:
    std::string title;
    std::vector<std::string> heads;
    std::vector<std::vector<std::string>> cells;
    std::vector<int> selected;
    std::vector<app::PlotPicture> plots;
    std::string clipboard;
    bool closed = false;

    void set_title(const std::string& text) override { title = text; }
    void set_table(const std::vector<std::string>& titles,
                   const std::vector<std::vector<std::string>>& rows) override {
        heads = titles;
        cells = rows;
    }
    void select_row(int row) override { selected.push_back(row); }
    void show_plot(const app::PlotPicture& picture) override { plots.push_back(picture); }
    void set_clipboard_text(const std::string& text) override { clipboard = text; }
    void close() override { closed = true; }
};

TEST(EvaluationWindow, ShowsTheRowsThePlotOfTheChosenOneAndCopiesTheTable) {
    std::vector<exporter::RoundnessRow> rows(2);
    rows[0].id = "KRS1";
    rows[0].plane = "XY";
    rows[0].points = 4;
    rows[0].theo_diam = 20;
    rows[0].hits = {{10, 0}, {0, 10.002}, {-10, 0}, {0, -9.998}};
    rows[0].circle = exporter::fit_circle(rows[0].hits);
    rows[1].id = "L1";
    rows[1].plane = "XY";
    rows[1].points = 2;
    FakeEvaluationView view;
    app::EvaluationWindow window(view, rows, ",");
    window.open();

    EXPECT_EQ(view.title, "Auswertung");
    ASSERT_EQ(view.heads.size(), 14u);
    EXPECT_EQ(view.heads[13], "Position");
    ASSERT_EQ(view.cells.size(), 2u);
    EXPECT_EQ(view.cells[0][2], "4");
    EXPECT_EQ(view.cells[0][3], "0,0000");
    EXPECT_EQ(view.cells[0][5], "20,0000");
    EXPECT_EQ(view.cells[0][9], ""); // no nominal centre
    EXPECT_EQ(view.cells[1], (std::vector<std::string>{"L1", "XY", "2", "", "", "", "", "", "", "",
                                                       "", "", "", ""}));
    EXPECT_EQ(view.selected, std::vector<int>{0});
    ASSERT_EQ(view.plots.size(), 1u);
    ASSERT_TRUE(view.plots[0].plot);
    EXPECT_EQ(view.plots[0].title.rfind("KRS1 – Rundheit 0,0", 0), 0u) << view.plots[0].title;

    window.row_selected(1);
    ASSERT_EQ(view.plots.size(), 2u);
    EXPECT_FALSE(view.plots[1].plot);
    EXPECT_EQ(view.plots[1].no_plot_text, "Kein Kreis");

    window.copy_clicked();
    EXPECT_EQ(view.clipboard.substr(0, view.clipboard.find('\n')),
              "Merkmal\tEbene\tPunkte\tMitte 1\tMitte 2\tDurchmesser\tNenndurchmesser\t"
              "Abweichung\tRundheit\tSoll Mitte 1\tSoll Mitte 2\tVersatz 1\tVersatz 2\tPosition");
    EXPECT_NE(view.clipboard.find("\nL1\tXY\t2\t\t\t\t\t\t\t\t\t\t\t\n"), std::string::npos);
    window.close_clicked();
    EXPECT_TRUE(view.closed);
}

} // namespace
