#include "tests/integration/through_the_bus.h"

#include <algorithm>

using namespace kastrel;
using fakes::example;
using fakes::ThroughTheBus;

namespace {

std::string expected(const char* name) {
    return fakes::read_file(std::filesystem::path(KASTREL_SOURCE_DIR) / "tests/data/expected" /
                            (std::string(name) + ".xls"));
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST_F(ThroughTheBus, ListsAndExportsTheSameFileAsInProcessWithTheHostsCallSequence) {
    fakes::SimProcess sim(
        {"--call-log", (dir / "calls.log").string(), example("bolt_circle_8.json")});
    form.cmd_lesen_Click();
    ASSERT_EQ(view.entries, (std::vector<std::string>{"LK1"}));
    form.cmd_allemarkieren_Click();
    view.save_answers = {(dir / "lk1.xls").string()};
    form.cmd_schreiben_Click();
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{"Alle selektierten Merkmale in Datei geschrieben"}));
    EXPECT_EQ(fakes::read_file(dir / "lk1.xls"), expected("bolt8_opt4_xy_de"));

    const auto calls = lines_of(fakes::read_file(dir / "calls.log"));
    const std::vector<std::string> first_hit = {
        "Feature#1 NumHits", "Feature#1 GetHit(&1, 0, 3, 13, &\"\", 0)",
        "Point#1.1.3 X",     "Feature#1 GetHit(&1, 0, 3, 13, &\"\", 0)",
        "Point#1.1.3 Y",     "Feature#1 GetHit(&1, 0, 3, 13, &\"\", 0)",
        "Point#1.1.3 Z",     "Feature#1 GetHit(&1, 0, 2, 13, &\"\", 0)",
        "Point#1.1.2 X",     "Feature#1 GetHit(&1, 0, 2, 13, &\"\", 0)",
        "Point#1.1.2 Y",     "Feature#1 GetHit(&1, 0, 2, 13, &\"\", 0)",
        "Point#1.1.2 Z"};
    EXPECT_NE(std::search(calls.begin(), calls.end(), first_hit.begin(), first_hit.end()),
              calls.end());
    EXPECT_EQ(std::count_if(
                  calls.begin(), calls.end(),
                  [](const std::string& line) { return line.find("GetHit") != std::string::npos; }),
              8 * 6);
}

TEST_F(ThroughTheBus, WithoutTheHostWindowTheProgramEnds) {
    fakes::SimProcess sim({"--no-window", example("bolt_circle_8.json")});
    form.cmd_lesen_Click();
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Vormesa muß gestartet werden"}));
    EXPECT_TRUE(view.ended);
}

TEST_F(ThroughTheBus, WithoutAnActivePartProgramTheProgramEnds) {
    fakes::SimProcess sim({});
    form.cmd_lesen_Click();
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Teileprogramm muß aktiv sein"}));
    EXPECT_TRUE(view.ended);
}

TEST_F(ThroughTheBus, WithoutAHostTheErrorIsShownAndTheProgramStays) {
    form.cmd_lesen_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    // What the bus said (no such name on it) is for the log, not for the box.
    EXPECT_EQ(view.messages[0],
              "Laufzeitfehler '429':\n\nObjekterstellung durch ActiveX-Komponente nicht möglich");
    EXPECT_FALSE(view.ended);
}

} // namespace

namespace {

// Writes a part program with `count` features of one hit each.
std::filesystem::path write_features(const fakes::TempDir& dir,
                                     const std::vector<std::string>& ids) {
    std::string json = "{\"commands\": [";
    for (std::size_t i = 0; i < ids.size(); ++i)
        json += std::string(i ? "," : "") + "{\"type\": \"feature\", \"id\": \"" + ids[i] +
                "\", \"theoDiam\": 10, \"hits\": [{\"actual\": [3, 4, " + std::to_string(i) +
                "], \"nominal\": [3, 4, 0]}]}";
    json += "]}";
    const auto path = dir / "features.json";
    fakes::write_file(path, json);
    return path;
}

TEST_F(ThroughTheBus, NonAsciiIdsAreListedAndMatchedExactly) {
    fakes::SimProcess sim({write_features(dir, {"Bohrung Ø12", "Kreis_ä", "KREIS_Ä"}).string()});
    form.cmd_lesen_Click();
    ASSERT_EQ(view.entries, (std::vector<std::string>{"Bohrung Ø12", "Kreis_ä", "KREIS_Ä"}));
    view.selected = {false, true, false};
    view.set_option_value(2, true);
    view.save_answers = {(dir / "ä.xls").string()};
    form.cmd_schreiben_Click();
    EXPECT_EQ(fakes::read_file(dir / "ä.xls"), "3,0000;4,0000\r\n");
}

TEST_F(ThroughTheBus, AnEmptyPartProgramListsNothingAndExportsTheBareFrame) {
    fakes::SimProcess sim({write_features(dir, {}).string()});
    form.cmd_lesen_Click();
    EXPECT_TRUE(view.entries.empty());
    EXPECT_TRUE(view.is_enabled(app::CommandButton::cmd_schreiben));
    view.save_answers = {(dir / "leer.xls").string()};
    form.cmd_schreiben_Click();
    EXPECT_EQ(fakes::read_file(dir / "leer.xls"),
              "Nummer\tPR\tPW\tTiefe\r\n\r\nBerechnung\tWinkel\tAbstand\r\n\r\n"
              "\t\tMax\t\r\n\t\tMin\t\r\n\t\tMittelwert\t\r\n");
}

// In process: over the bus this is some 270,000 calls, a matter of the host's speed.
TEST(LargePartProgram, ThirtyThousandFeaturesAreListedAndTheLastOneExported) {
    fakes::TempDir dir;
    fakes::FakeView view;
    fakes::SimConnector connector;
    app::FrmPoints form(view, connector);
    std::vector<std::string> ids;
    for (int i = 0; i < 30000; ++i)
        ids.push_back("F" + std::to_string(i));
    connector.open(write_features(dir, ids));
    form.cmd_lesen_Click();
    ASSERT_EQ(view.entries, ids);
    view.selected.back() = true;
    view.set_option_value(2, true);
    view.checks = {0, 1, 0, 0};
    view.save_answers = {(dir / "letztes.xls").string()};
    form.cmd_schreiben_Click();
    EXPECT_EQ(view.messages,
              (std::vector<std::string>{"Alle selektierten Merkmale in Datei geschrieben"}));
    EXPECT_EQ(fakes::read_file(dir / "letztes.xls"), "3,0000;4,0000\r\n");
}

} // namespace

namespace {

// Values that are no numbers, failing reads and null truth values give the
// same file and the same "incomplete" message over the bus as in process.
TEST_F(ThroughTheBus, FailingHostReadsGiveTheSameFileAndMessageAsInProcess) {
    const auto run = [&](app::FrmPoints& logic, fakes::FakeView& window, const char* name) {
        logic.Form_Load();
        logic.cmd_lesen_Click();
        logic.cmd_allemarkieren_Click();
        window.set_option_value(3, true);
        window.save_answers = {(dir / name).string()};
        logic.cmd_schreiben_Click();
    };
    fakes::FakeView local_view;
    fakes::SimConnector local;
    local.open(fakes::examples_folder() / "failures.json");
    app::FrmPoints local_form(local_view, local);
    run(local_form, local_view, "gleich.xls");
    const std::string local_file = fakes::read_file(dir / "gleich.xls");

    fakes::SimProcess sim({example("failures.json")});
    run(form, view, "gleich.xls");

    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("unvollständig"), std::string::npos) << view.messages[0];
    EXPECT_EQ(view.messages, local_view.messages);
    EXPECT_EQ(view.entries, local_view.entries);
    EXPECT_EQ(fakes::read_file(dir / "gleich.xls"), local_file);
}

} // namespace
