#include "vormesa-sim/sim_host.h"

#include <functional>
#include <gtest/gtest.h>

namespace vormesa_sim {
namespace {

const char* const program_json = R"({"name": "Test", "commands": [
    {"type": "alignment"},
    {"type": "feature", "id": "KRS1", "theoDiam": 20.0, "hits": [
        {"actual": [10.0012, 0.0003, -5.0], "nominal": [10.0, 0.0, -5.0]},
        {"actual": [-10.0, "abc", -5.0], "nominal": [-10.0, 0.0, -5.0],
         "fail": ["nominal", "actual.Z"]}]},
    {"type": "feature", "id": 42, "theoDiam": "n/a", "numHits": 5,
     "fail": ["FeatureCommand"], "hits": [
        {"actual": [1, 2, 3], "nominal": [1, 2, 3], "fail": ["actual"]}]},
    {"type": "comment", "isFeature": null, "fail": ["FeatureCommand"]},
    {"type": "feature", "fail": ["IsFeature", "ID", "TheoDiam", "NumHits"]}]})";

std::string path_of(const Value& value) {
    return std::get<ObjectRef>(value).path;
}

// Runs `call` and returns the host failure it raised.
HostError failure_of(const std::function<void()>& call) {
    try {
        call();
    } catch (const HostError& error) {
        return error;
    }
    ADD_FAILURE() << "no host failure";
    return HostError(0, "");
}

std::vector<Argument> get_hit_args(double hit, std::int32_t kind) {
    return {{hit, true},           {std::int32_t{0}, false},
            {kind, false},         {std::int32_t{13}, false},
            {std::string(), true}, {std::int32_t{0}, false}};
}

class SimHostTest : public testing::Test {
protected:
    SimHostTest() {
        host.open(parse_part_program(program_json, "test.json"));
        host.set_call_log([this](const std::string& line) { log.push_back(line); });
    }

    std::string command(std::size_t index) {
        return "/ZORVAT/pp/" + std::to_string(host.generation()) + "/cmd/" + std::to_string(index);
    }
    std::string feature(std::size_t index) { return command(index) + "/feature"; }
    std::string point(std::size_t index, int hit, int kind) {
        return command(index) + "/hit/" + std::to_string(hit) + "/" + std::to_string(kind);
    }
    Value get_hit(std::size_t index, double hit, std::int32_t kind) {
        return host.invoke(feature(index), "GetHit", get_hit_args(hit, kind)).result;
    }

    SimHost host;
    std::vector<std::string> log;
};

TEST_F(SimHostTest, WalksFromApplicationToCoordinates) {
    const std::string app = host.create_object("ZORVAT.Application");
    EXPECT_EQ(app, "/ZORVAT/app");
    const std::string program = path_of(host.get(app, "ActivePartProgram"));
    const std::string commands = path_of(host.get(program, "Commands"));
    EXPECT_EQ(host.get(commands, "Count"), Value(std::int32_t{5}));
    const std::string enumerator = host.new_enum(commands);

    std::vector<std::string> walked;
    for (NextResult item = host.next(enumerator); item.more; item = host.next(enumerator))
        walked.push_back(path_of(item.item));
    ASSERT_EQ(walked.size(), 5u);
    for (std::size_t i = 0; i < walked.size(); ++i)
        EXPECT_EQ(walked[i], command(i));
    // The end stays the end.
    const NextResult end = host.next(enumerator);
    EXPECT_FALSE(end.more);
    EXPECT_EQ(end.item, Value());

    EXPECT_EQ(host.get(walked[0], "IsFeature"), Value(false));
    EXPECT_EQ(host.get(walked[0], "FeatureCommand"), Value(ObjectRef{"/"}));
    EXPECT_EQ(host.get(walked[1], "IsFeature"), Value(true));
    const std::string feature1 = path_of(host.get(walked[1], "FeatureCommand"));
    EXPECT_EQ(host.get(feature1, "ID"), Value(std::string("KRS1")));
    EXPECT_EQ(host.get(feature1, "TheoDiam"), Value(20.0));
    EXPECT_EQ(host.get(feature1, "NumHits"), Value(std::int32_t{2}));
    const std::string actual = path_of(get_hit(1, 1, 3));
    const std::string nominal = path_of(get_hit(1, 1, 2));
    EXPECT_EQ(actual, point(1, 1, 3));
    EXPECT_EQ(host.get(actual, "X"), Value(10.0012));
    EXPECT_EQ(host.get(nominal, "X"), Value(10.0));
    EXPECT_EQ(host.get(actual, "Z"), Value(-5.0));
    host.release(enumerator);
    EXPECT_EQ(host.enumerator_count(), 0u);
}

TEST_F(SimHostTest, GetHitEchoesArgumentsUnchanged) {
    const auto args = get_hit_args(2, 3);
    const InvokeResult result = host.invoke(feature(1), "GetHit", args);
    EXPECT_EQ(result.args_after, args);
}

struct GetHitCase {
    const char* what;
    std::function<void(std::vector<Argument>&)> spoil;
    std::int32_t number;
    const char* description;
};

class GetHitStrictness : public testing::TestWithParam<GetHitCase> {};

TEST_P(GetHitStrictness, RejectsLikeTheHost) {
    SimHost host;
    host.open(parse_part_program(program_json, "test.json"));
    auto args = get_hit_args(1, 3);
    GetParam().spoil(args);
    const HostError error =
        failure_of([&] { host.invoke("/ZORVAT/pp/1/cmd/1/feature", "GetHit", args); });
    EXPECT_EQ(error.number(), GetParam().number);
    EXPECT_EQ(error.description(), GetParam().description);
}

constexpr std::int32_t mismatch = host_error::type_mismatch;
constexpr std::int32_t invalid = host_error::invalid_argument;
const char* const mismatch_text = "Typen unverträglich";
const char* const invalid_text = "Ungültiges Argument";

INSTANTIATE_TEST_SUITE_P(
    Cases, GetHitStrictness,
    testing::Values(
        GetHitCase{"five_args", [](auto& a) { a.pop_back(); }, host_error::bad_param_count,
                   "Ungültige Anzahl von Parametern"},
        GetHitCase{"hit_by_value", [](auto& a) { a[0].by_ref = false; }, mismatch, mismatch_text},
        GetHitCase{"hit_as_int32", [](auto& a) { a[0].value = std::int32_t{1}; }, mismatch,
                   mismatch_text},
        GetHitCase{"hit_as_text", [](auto& a) { a[0].value = std::string("1"); }, mismatch,
                   mismatch_text},
        GetHitCase{"text_by_value", [](auto& a) { a[4].by_ref = false; }, mismatch, mismatch_text},
        GetHitCase{"text_as_empty", [](auto& a) { a[4].value = std::monostate{}; }, mismatch,
                   mismatch_text},
        GetHitCase{"second_as_double", [](auto& a) { a[1].value = 0.0; }, mismatch, mismatch_text},
        GetHitCase{"kind_as_double", [](auto& a) { a[2].value = 3.0; }, mismatch, mismatch_text},
        GetHitCase{"fourth_as_bool", [](auto& a) { a[3].value = true; }, mismatch, mismatch_text},
        // A wrong type is reported even when an earlier argument has a wrong value.
        GetHitCase{"type_beats_value",
                   [](auto& a) {
                       a[1].value = std::int32_t{1};
                       a[5].value = 0.0;
                   },
                   mismatch, mismatch_text},
        GetHitCase{"hit_zero", [](auto& a) { a[0].value = 0.0; }, invalid, invalid_text},
        GetHitCase{"hit_fraction", [](auto& a) { a[0].value = 1.5; }, invalid, invalid_text},
        GetHitCase{"second_not_0", [](auto& a) { a[1].value = std::int32_t{1}; }, invalid,
                   invalid_text},
        GetHitCase{"kind_1", [](auto& a) { a[2].value = std::int32_t{1}; }, invalid, invalid_text},
        GetHitCase{"fourth_not_13", [](auto& a) { a[3].value = std::int32_t{12}; }, invalid,
                   invalid_text},
        GetHitCase{"sixth_not_0", [](auto& a) { a[5].value = std::int32_t{-1}; }, invalid,
                   invalid_text},
        GetHitCase{"hit_beyond", [](auto& a) { a[0].value = 3.0; }, invalid,
                   "Messpunkt 3 existiert nicht"}),
    [](const auto& param) { return std::string(param.param.what); });

TEST_F(SimHostTest, UnknownMembers) {
    for (const auto& [path, member] :
         std::vector<std::pair<std::string, std::string>>{{"/ZORVAT/app", "Foo"},
                                                          {feature(1), "GetHit"},
                                                          {command(1), "ID"},
                                                          {feature(1), "IsFeature"}}) {
        const HostError error = failure_of([&] { host.get(path, member); });
        EXPECT_EQ(error.number(), host_error::unknown_name);
        EXPECT_EQ(error.description(), "Unbekannter Name: " + member);
    }
    const HostError invoke = failure_of([&] { host.invoke(feature(1), "Foo", {}); });
    EXPECT_EQ(invoke.description(), "Unbekannter Name: Foo");
    const HostError new_enum = failure_of([&] { host.new_enum(feature(1)); });
    EXPECT_EQ(new_enum.number(), host_error::unknown_name);
}

TEST_F(SimHostTest, ConfiguredFailuresNameTheMember) {
    const std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { host.get(command(4), "IsFeature"); }, "IsFeature"},
        {[&] { host.get(command(2), "FeatureCommand"); }, "FeatureCommand"},
        {[&] { host.get(feature(4), "ID"); }, "ID"},
        {[&] { host.get(feature(4), "TheoDiam"); }, "TheoDiam"},
        {[&] { host.get(feature(4), "NumHits"); }, "NumHits"},
        {[&] { get_hit(1, 2, 2); }, "GetHit"},
        {[&] { get_hit(2, 1, 3); }, "GetHit"},
        {[&] { host.get(point(1, 2, 3), "Z"); }, "Z"},
    };
    for (const auto& [call, member] : cases) {
        const HostError error = failure_of(call);
        EXPECT_EQ(error.number(), host_error::failed);
        EXPECT_EQ(error.description(), "Vormesa: " + member + " konnte nicht ausgeführt werden");
    }
    // Only what is configured fails.
    EXPECT_NO_THROW(get_hit(1, 2, 3));
    EXPECT_EQ(host.get(point(1, 2, 2), "Z"), Value(-5.0));
    EXPECT_EQ(host.get(point(1, 2, 3), "X"), Value(-10.0));
    EXPECT_NO_THROW(get_hit(2, 1, 2));
}

TEST_F(SimHostTest, OverridesAndTextValues) {
    EXPECT_EQ(host.get(command(3), "IsFeature"), Value(NullValue{}));
    EXPECT_EQ(host.get(feature(2), "NumHits"), Value(std::int32_t{5}));
    EXPECT_EQ(host.get(feature(2), "ID"), Value(42.0));
    EXPECT_EQ(host.get(feature(2), "TheoDiam"), Value(std::string("n/a")));
    EXPECT_EQ(host.get(point(1, 2, 3), "Y"), Value(std::string("abc")));
    // NumHits claims 5, but the host has only one hit.
    const HostError error = failure_of([&] { get_hit(2, 2, 2); });
    EXPECT_EQ(error.description(), "Messpunkt 2 existiert nicht");
}

// The objects of a replaced or closed part program are disconnected from
// their clients, as a COM server disconnects a closed document's objects.
void expect_disconnected(const HostError& error) {
    EXPECT_TRUE(error.is_link_failure());
    EXPECT_EQ(error.number(), host_error::disconnected);
    EXPECT_EQ(error.bus_error(), "ZORVAT.Error.Disconnected");
}

TEST_F(SimHostTest, ReferencesGoStaleWhenTheProgramChanges) {
    const std::string old_feature = feature(1);
    const std::string old_point = path_of(get_hit(1, 1, 3));
    const std::string enumerator = host.new_enum(
        path_of(host.get(path_of(host.get("/ZORVAT/app", "ActivePartProgram")), "Commands")));

    host.open(parse_part_program(program_json, "test.json"));
    for (const auto& call : std::vector<std::function<void()>>{[&] { host.get(old_feature, "ID"); },
                                                               [&] { host.get(old_point, "X"); },
                                                               [&] { host.next(enumerator); }})
        expect_disconnected(failure_of(call));
    EXPECT_EQ(host.get(feature(1), "ID"), Value(std::string("KRS1")));

    host.close();
    EXPECT_EQ(host.get("/ZORVAT/app", "ActivePartProgram"), Value(ObjectRef{"/"}));
    expect_disconnected(failure_of([&] { host.get(feature(1), "ID"); }));
}

TEST_F(SimHostTest, PathsToObjectsThatDoNotExistFail) {
    for (const std::string& path :
         {command(5), command(0) + "/feature", point(1, 3, 3), point(1, 0, 3), point(1, 1, 1),
          std::string("/ZORVAT/pp/1/cmd/01"), std::string("/ZORVAT/x"),
          std::string("/elsewhere")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(failure_of([&] { host.get(path, "X"); }).number(), host_error::failed);
    }
}

TEST_F(SimHostTest, ServerChecksTheClass) {
    EXPECT_EQ(host.get_object("", "ZORVAT.Application"), "/ZORVAT/app");
    const HostError error = failure_of([&] { host.create_object("Vormesa.Application"); });
    EXPECT_EQ(error.number(), host_error::invalid_class);
    EXPECT_EQ(error.description(), "Ungültige Klassenzeichenfolge");
}

TEST_F(SimHostTest, EnumeratorsAreBounded) {
    const std::string commands = "/ZORVAT/pp/1/commands";
    const std::string first = host.new_enum(commands);
    for (std::size_t i = 0; i < SimHost::max_enumerators; ++i)
        host.new_enum(commands);
    EXPECT_EQ(host.enumerator_count(), SimHost::max_enumerators);
    EXPECT_EQ(failure_of([&] { host.next(first); }).description(), "Objekt existiert nicht mehr");
}

TEST_F(SimHostTest, CallLogLines) {
    host.create_object("ZORVAT.Application");
    host.get_object("", "ZORVAT.Application");
    host.get("/ZORVAT/app", "ActivePartProgram");
    host.get("/ZORVAT/pp/1", "Commands");
    const std::string enumerator = host.new_enum("/ZORVAT/pp/1/commands");
    host.next(enumerator);
    host.get(command(2), "IsFeature");
    get_hit(1, 1, 3);
    host.get(point(1, 1, 2), "Y");
    auto args = get_hit_args(2.5, 2);
    args[4].value = std::string("a\"b");
    EXPECT_THROW(host.invoke(feature(1), "GetHit", args), HostError);
    EXPECT_THROW(host.invoke(feature(1), "Foo", {{std::monostate{}, false}, {NullValue{}, true}}),
                 HostError);
    host.release(enumerator);
    EXPECT_THROW(host.get("/nowhere", "X"), HostError);

    EXPECT_EQ(log, (std::vector<std::string>{
                       "Server CreateObject",
                       "Server GetObject",
                       "Application ActivePartProgram",
                       "PartProgram Commands",
                       "Commands NewEnum",
                       "Enumerator Next",
                       "Command#2 IsFeature",
                       "Feature#1 GetHit(&1, 0, 3, 13, &\"\", 0)",
                       "Point#1.1.2 Y",
                       "Feature#1 GetHit(&2.5, 0, 2, 13, &\"a\\\"b\", 0)",
                       "Feature#1 Foo(Empty, &Null)",
                       "Enumerator Release",
                       "/nowhere X",
                   }));
}

// Positions count from the moment the plan is set; a failed call is logged
// like any other, and a lost host fails every later call, Release included.
TEST_F(SimHostTest, FailurePlanFailsCallsByPosition) {
    host.get("/ZORVAT/app", "ActivePartProgram");
    host.set_failure_plan(FailurePlan()
                              .fail_call(1, HostError(host_error::failed, "eins"))
                              .fail_from(3, HostError(host_error::server_unavailable, "weg")));
    const std::string enumerator = host.new_enum("/ZORVAT/pp/1/commands");
    const HostError first = failure_of([&] { host.next(enumerator); });
    EXPECT_EQ(first.number(), host_error::failed);
    EXPECT_EQ(first.description(), "eins");
    EXPECT_EQ(path_of(host.next(enumerator).item), command(0));
    for (const auto& call : std::vector<std::function<void()>>{
             [&] { host.get(feature(1), "ID"); }, [&] { host.release(enumerator); },
             [&] { host.create_object("ZORVAT.Application"); }}) {
        const HostError lost = failure_of(call);
        EXPECT_EQ(lost.number(), host_error::server_unavailable);
        EXPECT_EQ(lost.description(), "weg");
    }
    EXPECT_EQ(log.size(), 7u);
    EXPECT_EQ(log[2], "Enumerator Next");

    host.set_failure_plan({});
    EXPECT_EQ(host.get(feature(1), "ID"), Value(std::string("KRS1")));
}

TEST_F(SimHostTest, FailurePlanFailsEveryCallOfAMember) {
    const HostError error(host_error::failed, "nein");
    host.set_failure_plan(FailurePlan()
                              .fail_every("Feature#1 GetHit", error)
                              .fail_every("TheoDiam", error)
                              .fail_every("Point#1.1.3 X", error));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(failure_of([&] { get_hit(1, 1, 3); }).description(), "nein");
        EXPECT_EQ(failure_of([&] { get_hit(1, 2, 2); }).description(), "nein");
        EXPECT_EQ(failure_of([&] { host.get(feature(1), "TheoDiam"); }).description(), "nein");
        EXPECT_EQ(failure_of([&] { host.get(feature(2), "TheoDiam"); }).description(), "nein");
        EXPECT_EQ(failure_of([&] { host.get(point(1, 1, 3), "X"); }).description(), "nein");
    }
    EXPECT_NO_THROW(get_hit(2, 1, 2));
    EXPECT_EQ(host.get(point(1, 1, 3), "Y"), Value(0.0003));
    EXPECT_EQ(host.get(point(1, 1, 2), "X"), Value(10.0));
    EXPECT_EQ(host.get(feature(1), "ID"), Value(std::string("KRS1")));
}

} // namespace
} // namespace vormesa_sim
