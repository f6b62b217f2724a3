#include "vormesa-sim/part_program.h"

#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>

namespace vormesa_sim {
namespace {

TEST(PartProgramLoader, EveryExampleLoads) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VORMESA_SIM_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".json")
            continue;
        SCOPED_TRACE(entry.path().string());
        const PartProgram program = load_part_program(entry.path());
        EXPECT_FALSE(program.commands.empty());
        ++count;
    }
    EXPECT_GE(count, 9);
}

TEST(PartProgramLoader, ReadsValuesAndOverrides) {
    const PartProgram program = parse_part_program(R"({"name": "P", "commands": [
        {"type": "alignment"},
        {"type": "feature", "id": 7, "theoDiam": "abc", "numHits": 5, "isFeature": null,
         "fail": ["ID"], "hits": [{"actual": [1, "x", 3.25], "nominal": [0, 0, 0],
                                   "fail": ["actual.Y"]}]},
        {"type": "feature"}]})",
                                                   "t.json");
    ASSERT_EQ(program.commands.size(), 3u);
    EXPECT_EQ(program.name, "P");
    EXPECT_FALSE(program.commands[0].is_feature_type());
    const Command& feature = program.commands[1];
    EXPECT_EQ(feature.id, FileValue(7.0));
    EXPECT_EQ(feature.theo_diam, FileValue(std::string("abc")));
    EXPECT_EQ(feature.num_hits_override, CountValue(5));
    EXPECT_EQ(feature.is_feature_override, IsFeatureOverride(IsFeatureNull{}));
    EXPECT_TRUE(feature.fails("ID"));
    EXPECT_EQ(feature.hits[0].actual[1], FileValue(std::string("x")));
    EXPECT_EQ(feature.hits[0].actual[2], FileValue(3.25));
    EXPECT_TRUE(feature.hits[0].failures.contains("actual.Y"));
    EXPECT_EQ(program.commands[2].id, FileValue(std::string()));
    EXPECT_TRUE(program.commands[2].hits.empty());
}

struct BrokenCase {
    const char* what;
    const char* json;
    const char* place;
    const char* problem; // a part of the problem text
};

class BrokenPartProgram : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenPartProgram, NamesFilePlaceAndProblem) {
    const BrokenCase& c = GetParam();
    try {
        parse_part_program(c.json, "kaputt.json");
        FAIL() << "no error";
    } catch (const PartProgramError& error) {
        EXPECT_EQ(error.file(), "kaputt.json");
        EXPECT_EQ(error.place(), c.place);
        EXPECT_NE(error.problem().find(c.problem), std::string::npos) << error.problem();
        EXPECT_EQ(std::string(error.what()),
                  std::string("Teileprogramm 'kaputt.json': ") + c.place + ": " + error.problem());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenPartProgram,
    testing::Values(
        BrokenCase{"syntax", "{\n  \"commands\": [\n    {\"type\": x}]}", "Zeile 3, Spalte 14",
                   "kein gültiges JSON"},
        BrokenCase{"empty", "", "Zeile 1, Spalte 1", "kein gültiges JSON"},
        BrokenCase{"not an object", "[]", "/", "Objekt erwartet"},
        BrokenCase{"commands missing", "{}", "/commands", "Pflichtfeld fehlt"},
        BrokenCase{"commands not a list", R"({"commands": {}})", "/commands", "Liste erwartet"},
        BrokenCase{"type missing", R"({"commands": [{}]})", "/commands/0/type",
                   "Pflichtfeld fehlt"},
        BrokenCase{"type not text", R"({"commands": [{"type": 1}]})", "/commands/0/type",
                   "Text erwartet"},
        BrokenCase{"unknown key", R"({"commands": [{"type": "a", "theodiam": 1}]})",
                   "/commands/0/theodiam", "unbekanntes Feld"},
        BrokenCase{"theoDiam bool",
                   R"({"commands": [{"type": "a"}, {"type": "feature", "theoDiam": true}]})",
                   "/commands/1/theoDiam", "Zahl oder Text erwartet"},
        BrokenCase{"unknown fail name",
                   R"({"commands": [{"type": "feature", "fail": ["ID", "Foo"]}]})",
                   "/commands/0/fail/1", "'Foo'"},
        BrokenCase{"unknown hit fail name",
                   R"({"commands": [{"type": "feature", "hits": [{"actual": [0,0,0],
                       "nominal": [0,0,0], "fail": ["actual.W"]}]}]})",
                   "/commands/0/hits/0/fail/0", "'actual.W'"},
        BrokenCase{"two coordinates",
                   R"({"commands": [{"type": "feature", "hits": [{"actual": [0,0],
                       "nominal": [0,0,0]}]}]})",
                   "/commands/0/hits/0/actual", "2 gefunden"},
        BrokenCase{"coordinate null",
                   R"({"commands": [{"type": "feature", "hits": [{"actual": [0,0,0],
                       "nominal": [0,null,0]}]}]})",
                   "/commands/0/hits/0/nominal/1", "Zahl oder Text erwartet"},
        BrokenCase{"nominal missing",
                   R"({"commands": [{"type": "feature", "hits": [{"actual": [0,0,0]}]}]})",
                   "/commands/0/hits/0/nominal", "Pflichtfeld fehlt"},
        BrokenCase{"isFeature text", R"({"commands": [{"type": "a", "isFeature": "ja"}]})",
                   "/commands/0/isFeature", "true, false oder null"},
        BrokenCase{"numHits fraction", R"({"commands": [{"type": "feature", "numHits": 1.5}]})",
                   "/commands/0/numHits", "ganze Zahl"},
        BrokenCase{"numHits too large",
                   R"({"commands": [{"type": "feature", "numHits": 2147483648}]})",
                   "/commands/0/numHits", "ganze Zahl"},
        BrokenCase{"hits not a list", R"({"commands": [{"type": "feature", "hits": 3}]})",
                   "/commands/0/hits", "Liste erwartet"},
        BrokenCase{"name not text", R"({"name": 1, "commands": []})", "/name", "Text erwartet"}),
    [](const testing::TestParamInfo<BrokenCase>& param) {
        std::string name = param.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST(PartProgramLoader, MissingFileNamesTheFile) {
    try {
        load_part_program("/nonexistent/nirgends.json");
        FAIL() << "no error";
    } catch (const PartProgramError& error) {
        EXPECT_EQ(error.file(), "/nonexistent/nirgends.json");
        EXPECT_NE(std::string(error.what()).find("nirgends.json"), std::string::npos);
    }
}

} // namespace
} // namespace vormesa_sim
