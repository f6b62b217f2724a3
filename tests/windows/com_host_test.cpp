// The COM backend against the stand-in server: host window, creation, values,
// by-reference arguments, failures and their numbers, a host that goes away.

#include "app/messages.h"
#include "host/automation_error.h"
#include "host/feature_listing.h"
#include "tests/support/temp_dir.h"
#include "tests/windows/com_test.h"
#include "tests/windows/server_process.h"

#include <array>
#include <fstream>

namespace kastrel::wintest {
namespace {

using namespace std::chrono_literals;

constexpr std::int32_t unknown_name = -2147352570;
constexpr std::int32_t type_mismatch = -2147352571;

// What a read gives, as one comparable text: the value's kind and text, or the error.
std::string outcome(const std::function<host::Variant()>& read) {
    try {
        const host::Variant value = read();
        switch (value.kind()) {
        case host::Variant::Kind::Null:
            return "Null";
        case host::Variant::Kind::ObjectRef:
            return value.to_object() ? "Object" : "Nothing";
        default:
            return std::string(host::kind_name(value.kind())) + " " +
                   value.to_text(host::NumberTexts(","));
        }
    } catch (const host::AutomationError& error) {
        return "Error " + std::to_string(error.number()) + " " + app::error_description(error);
    }
}

// Every member of every command, as a list of outcomes.
std::vector<std::string> read_all_members(const host::Object& program) {
    std::vector<std::string> outcomes;
    auto items = program->get("Commands").to_object()->enumerate();
    while (auto item = items->next()) {
        const host::Object command = item->to_object();
        outcomes.push_back(outcome([&] { return command->get("IsFeature"); }));
        outcomes.push_back(outcome([&] { return command->get("FeatureCommand"); }));
        host::Object feature;
        try {
            feature = command->get("FeatureCommand").to_object();
        } catch (const host::AutomationError&) {
        }
        if (!feature)
            continue;
        for (const char* member : {"ID", "TheoDiam", "NumHits", "Foo"})
            outcomes.push_back(outcome([&] { return feature->get(member); }));
    }
    return outcomes;
}

std::array<host::Argument, 6> get_hit_arguments(double hit) {
    return {{{host::Variant(hit), true},
             {host::Variant(std::int32_t{0})},
             {host::Variant(std::int32_t{3})},
             {host::Variant(std::int32_t{13})},
             {host::Variant(std::string()), true},
             {host::Variant(std::int32_t{0})}}};
}

host::Object first_feature(const host::Object& application) {
    const host::Object commands =
        application->get("ActivePartProgram").to_object()->get("Commands").to_object();
    auto items = commands->enumerate();
    while (auto item = items->next()) {
        const host::Object feature = item->to_object()->get("FeatureCommand").to_object();
        if (feature)
            return feature;
    }
    return nullptr;
}

using ComHost = ComTest;

TEST_F(ComHost, HostWindowIsFoundOnlyWhenTheServerShowsOne) {
    struct Case {
        std::vector<std::string> args;
        bool window;
    };
    const Case cases[] = {
        {{"--no-window", example("demo.json")}, false},
        {{example("demo.json")}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front());
        EXPECT_FALSE(connector_.window_exists(host::host_window_class));
        ServerProcess server(c.args);
        ASSERT_TRUE(server.ready());
        EXPECT_EQ(connector_.window_exists(host::host_window_class), c.window);
        EXPECT_FALSE(connector_.window_exists("SomeOtherWindowClass"));
    }
}

// Nothing started by hand: COM launches the registered server, which has no
// part program, and ends it when the last object is released.
TEST_F(ComHost, ServerLaunchedByComHasNoActivePartProgram) {
    const host::Object created = connector_.create_object(host::application_class);
    ASSERT_TRUE(created);
    EXPECT_EQ(created->get("ActivePartProgram"), host::Variant(host::Object()));
    const host::Object got = connector_.get_object("", host::application_class);
    ASSERT_TRUE(got);
    EXPECT_FALSE(got->get("ActivePartProgram").to_object());
}

TEST_F(ComHost, UnknownClassCannotBeCreated) {
    try {
        connector_.create_object("ZORVAT.Nothing");
        FAIL() << "created";
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), host::error_number::cannot_create_object);
        EXPECT_EQ(app::error_description(error),
                  "Objekterstellung durch ActiveX-Komponente nicht möglich");
        EXPECT_FALSE(error.detail().empty());
    }
}

// Kinds (integer, text, null, no object) and failures arrive as the model
// hands them out, numbers and descriptions included.
TEST_F(ComHost, MembersReadAsInTheModel) {
    fakes::SimConnector model;
    model.open(fakes::examples_folder() / "failures.json");
    const auto expected = read_all_members(
        model.create_object(host::application_class)->get("ActivePartProgram").to_object());

    ServerProcess server({"--no-window", example("failures.json")});
    ASSERT_TRUE(server.ready());
    const auto read = read_all_members(application()->get("ActivePartProgram").to_object());
    EXPECT_EQ(read, expected);
    // The file has them all: a numeric ID, a set hit count, a text diameter, a null
    // IsFeature, failures.
    for (const char* seen :
         {"Double 42", "Long 4", "String n/a", "Null", "Error -2147467259 Vormesa: "})
        EXPECT_TRUE(std::any_of(read.begin(), read.end(), [&](const std::string& o) {
            return o.starts_with(seen);
        })) << seen;
}

TEST_F(ComHost, GetHitTakesItsNumberAndTextByReference) {
    ServerProcess server({"--no-window", example("bolt_circle_8.json")});
    ASSERT_TRUE(server.ready());
    const host::Object feature = first_feature(application());
    ASSERT_TRUE(feature);

    auto args = get_hit_arguments(2.0);
    const host::Object point = feature->call("GetHit", args).to_object();
    ASSERT_TRUE(point);
    EXPECT_EQ(point->get("X").kind(), host::Variant::Kind::Double);
    EXPECT_EQ(args[0].value, host::Variant(2.0));
    EXPECT_EQ(args[4].value, host::Variant(std::string()));

    struct Case {
        std::size_t argument;
        const char* what;
    };
    for (const Case c : {Case{0, "hit number by value"}, Case{4, "text by value"}}) {
        SCOPED_TRACE(c.what);
        auto by_value = get_hit_arguments(1.0);
        by_value[c.argument].by_ref = false;
        try {
            feature->call("GetHit", by_value);
            FAIL() << "accepted";
        } catch (const host::AutomationError& error) {
            EXPECT_EQ(error.number(), type_mismatch);
            EXPECT_EQ(app::error_description(error), "Typen unverträglich");
        }
    }
}

TEST_F(ComHost, UnknownMembersNameTheMember) {
    ServerProcess server({"--no-window", example("demo.json")});
    ASSERT_TRUE(server.ready());
    const host::Object app = application();
    struct Case {
        const char* member;
        bool as_call;
    };
    // "Foo" no object knows; "Count" the server knows, but not on the application.
    for (const Case c : {Case{"Foo", false}, Case{"Foo", true}, Case{"Count", false}}) {
        SCOPED_TRACE(c.member);
        try {
            if (c.as_call)
                app->call(c.member, {});
            else
                app->get(c.member);
            FAIL() << "no error";
        } catch (const host::AutomationError& error) {
            EXPECT_EQ(error.number(), unknown_name);
            EXPECT_EQ(app::error_description(error), std::string("Unbekannter Name: ") + c.member);
        }
    }
}

// One member access is one call into the model: the server's call log for a
// listing is the model's for the same listing.
TEST_F(ComHost, ListingMakesTheSameCallsAsInTheModel) {
    fakes::SimConnector model;
    model.open(fakes::examples_folder() / "non_features.json");
    std::vector<std::string> expected;
    model.sim().set_call_log([&](const std::string& line) { expected.push_back(line); });
    host::list_feature_ids(
        model.create_object(host::application_class)->get("ActivePartProgram").to_object(),
        host::NumberTexts(","));

    fakes::TempDir dir;
    const std::u8string log_name = (dir / "calls.log").u8string();
    {
        ServerProcess server({"--no-window", "--call-log",
                              std::string(log_name.begin(), log_name.end()),
                              example("non_features.json")});
        ASSERT_TRUE(server.ready());
        host::list_feature_ids(application()->get("ActivePartProgram").to_object(),
                               host::NumberTexts(","));
    }
    std::ifstream log(dir / "calls.log");
    std::vector<std::string> logged;
    for (std::string line; std::getline(log, line);)
        logged.push_back(line);
    EXPECT_EQ(logged, expected);
}

TEST_F(ComHost, EndedServerIsReportedAsHostLost) {
    ServerProcess server({"--no-window", example("demo.json")});
    ASSERT_TRUE(server.ready());
    const host::Object app = application();
    ASSERT_TRUE(app->get("ActivePartProgram").to_object());
    server.stop();
    try {
        app->get("ActivePartProgram");
        FAIL() << "host still answers";
    } catch (const host::AutomationError& error) {
        EXPECT_TRUE(host::is_host_lost(error)) << error.number() << " " << error.detail();
    }
}

TEST_F(ComHost, ServerRefusesBadStartsWithCode2) {
    fakes::TempDir dir;
    fakes::write_file(dir / "broken.json", "{\"commands\": [");
    const std::u8string broken = (dir / "broken.json").u8string();
    const std::vector<std::vector<std::string>> starts = {
        {"--no-window", std::string(broken.begin(), broken.end())},
        {"--no-window", example("no_such_file.json")},
        {"--no-such-option"},
        {"--fail-from-call", "3"},
        {"--fail-with", "0x8001010G"},
        {"--fail-with", "org.freedesktop.DBus.Error.NoReply"},
    };
    for (const auto& args : starts) {
        SCOPED_TRACE(args.back());
        ServerProcess server(args);
        EXPECT_FALSE(server.ready());
        EXPECT_EQ(server.wait_for_exit(10s), 2u);
    }
}

} // namespace
} // namespace kastrel::wintest
