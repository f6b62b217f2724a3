#include "app/batch/command_line.h"

#include <gtest/gtest.h>

using namespace kastrel;
using app::batch::ExportCommand;
using app::batch::UsageError;
using Kind = UsageError::Kind;

namespace {

app::batch::Command parse(std::vector<std::string> arguments) {
    return app::batch::parse_command_line(arguments);
}

TEST(CommandLine, ExportTakesTheWindowsStartStateAndEverySelectInOrder) {
    const auto defaults = std::get<ExportCommand>(parse({"--export", "a.xls", "--all"}));
    EXPECT_EQ(defaults.file, "a.xls");
    EXPECT_EQ(defaults.option, exporter::OutputOption::Option4);
    EXPECT_TRUE(defaults.planes.xy && !defaults.planes.xz && !defaults.planes.yz);
    EXPECT_TRUE(defaults.select_all);

    const auto chosen =
        std::get<ExportCommand>(parse({"--select", "B 2", "--plane", "none", "--option", "1",
                                       "--export", "Maß.xls", "--select", "A", "--select", "B 2"}));
    EXPECT_EQ(chosen.file, "Maß.xls");
    EXPECT_EQ(chosen.option, exporter::OutputOption::Option1);
    EXPECT_FALSE(chosen.planes.xy || chosen.planes.xz || chosen.planes.yz);
    EXPECT_FALSE(chosen.select_all);
    EXPECT_EQ(chosen.select, (std::vector<std::string>{"B 2", "A", "B 2"}));
    EXPECT_TRUE(
        std::get<ExportCommand>(parse({"--export", "f", "--plane", "YZ", "--all"})).planes.yz);

    const auto aqdef =
        std::get<ExportCommand>(parse({"--export", "x.DFQ", "--part", "Welle 7", "--all"}));
    EXPECT_EQ(aqdef.part, "Welle 7");
    EXPECT_TRUE(aqdef.planes.xy);
    EXPECT_EQ(std::get<ExportCommand>(parse({"--export", "x.dfq", "--all"})).part, "");
    const auto evaluate =
        std::get<ExportCommand>(parse({"--select", "A", "--evaluate", "--plane", "XZ"}));
    EXPECT_TRUE(evaluate.evaluate && evaluate.file.empty() && evaluate.planes.xz);
    EXPECT_EQ(evaluate.select, std::vector<std::string>{"A"});

    EXPECT_TRUE(std::holds_alternative<app::batch::ListCommand>(parse({"--list"})));
    EXPECT_TRUE(std::holds_alternative<app::batch::HelpCommand>(parse({"--help"})));
}

TEST(CommandLine, EveryMalformedLineIsAUsageErrorNamingWhatIsWrong) {
    struct Case {
        std::vector<std::string> arguments;
        Kind kind;
        std::string option;
    };
    const std::vector<Case> cases = {
        {{"--export", "f", "--all", "--verbose"}, Kind::UnknownArgument, ""},
        {{"f.xls"}, Kind::UnknownArgument, ""},
        {{"--export", "f", "--all", "--option"}, Kind::MissingValue, "--option"},
        {{"--export", "--all"}, Kind::MissingValue, "--export"},
        {{"--export", "f", "--select"}, Kind::MissingValue, "--select"},
        {{"--export", "f", "--all", "--option", "5"}, Kind::InvalidValue, "--option"},
        {{"--export", "f", "--all", "--option", "0"}, Kind::InvalidValue, "--option"},
        {{"--export", "f", "--all", "--option", "44"}, Kind::InvalidValue, "--option"},
        {{"--export", "f", "--all", "--plane", "xy"}, Kind::InvalidValue, "--plane"},
        {{"--export", "", "--all"}, Kind::InvalidValue, "--export"},
        {{"--export", "f", "--all", "--option", "2", "--option", "2"},
         Kind::GivenTwice,
         "--option"},
        {{"--export", "f", "--all", "--plane", "XY", "--plane", "XZ"}, Kind::GivenTwice, "--plane"},
        {{"--export", "f", "--export", "g", "--all"}, Kind::GivenTwice, "--export"},
        {{"--list", "--all"}, Kind::NotAlone, "--list"},
        {{"--export", "f", "--all", "--help"}, Kind::NotAlone, "--help"},
        {{"--all"}, Kind::NoCommand, ""},
        {{"--export", "f"}, Kind::NoSelection, ""},
        {{"--export", "f", "--all", "--select", "A"}, Kind::BothSelections, ""},
        {{"--export", "x.dfq", "--all", "--part", ""}, Kind::InvalidValue, "--part"},
        {{"--export", "x.dfq", "--all", "--part", "a", "--part", "b"}, Kind::GivenTwice, "--part"},
        {{"--export", "x.xls", "--all", "--part", "a"}, Kind::OnlyForAqdef, "--part"},
        {{"--export", "x.Dfq", "--all", "--option", "4"}, Kind::NotForAqdef, "--option"},
        {{"--export", "x.dfq", "--all", "--plane", "none"}, Kind::AqdefNeedsPlane, "--plane"},
        {{"--evaluate", "--all", "--option", "4"}, Kind::NotWithEvaluate, "--option"},
        {{"--evaluate", "--plane", "none", "--all"}, Kind::NotWithEvaluate, "--plane none"},
        {{"--evaluate", "--export", "f", "--all"}, Kind::NotWithEvaluate, "--export"},
        {{"--evaluate", "--evaluate", "--all"}, Kind::GivenTwice, "--evaluate"},
        {{"--evaluate"}, Kind::NoSelection, "--evaluate"},
        {{"--evaluate", "--list"}, Kind::NotAlone, "--list"},
    };
    for (const Case& c : cases) {
        const auto command = parse(c.arguments);
        const auto* error = std::get_if<UsageError>(&command);
        std::string line;
        for (const auto& argument : c.arguments)
            line += argument + " ";
        ASSERT_NE(error, nullptr) << line;
        EXPECT_EQ(error->kind, c.kind) << line;
        EXPECT_EQ(error->option, c.option) << line;
    }
}

} // namespace
