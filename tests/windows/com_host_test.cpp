// The COM backend against the stand-in server: host window, creation, values,
// by-reference arguments, failures and their numbers, the calls it makes, a
// host that goes away.

#include "app/texts/messages.h"
#include "export/export_run.h"
#include "host/automation_error.h"
#include "host/feature_listing.h"
#include "tests/support/export_cases.h"
#include "tests/support/temp_dir.h"
#include "tests/windows/com_test.h"
#include "tests/windows/server_process.h"

#include <array>
#include <fstream>
#include <functional>

namespace kastrel::wintest {
namespace {

using namespace std::chrono_literals;

constexpr std::int32_t unknown_name = -2147352570;
constexpr std::int32_t type_mismatch = -2147352571;
constexpr std::int32_t bad_param_count = -2147352562;

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

    // The server's type library decides what else it takes: a wrong count,
    // or an argument that converts to no number, the system refuses.
    struct Case {
        const char* what;
        std::function<void(std::vector<host::Argument>&)> spoil;
        std::int32_t number;
    };
    const Case cases[] = {
        {"five arguments", [](auto& a) { a.pop_back(); }, bad_param_count},
        {"data kind as text", [](auto& a) { a[2].value = host::Variant(std::string("drei")); },
         type_mismatch},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto valid = get_hit_arguments(1.0);
        std::vector<host::Argument> spoilt(valid.begin(), valid.end());
        c.spoil(spoilt);
        try {
            feature->call("GetHit", spoilt);
            FAIL() << "accepted";
        } catch (const host::AutomationError& error) {
            EXPECT_EQ(error.number(), c.number) << error.description();
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

// A listing, then an export of every listed feature.
void list_and_export(host::HostConnector& connector, const std::filesystem::path& target) {
    const host::Object program =
        connector.create_object(host::application_class)->get("ActivePartProgram").to_object();
    const fakes::ExportCase c{
        "calls", "non_features.json", exporter::OutputOption::Option4, {true, false, false}, ","};
    const auto result = exporter::run_export(
        *program->get("Commands").to_object(),
        fakes::request_for(c, host::list_feature_ids(program, host::NumberTexts(","))), target);
    EXPECT_EQ(result.status, exporter::ExportResult::Status::Written)
        << app::export_outcome_text(result, target.string());
}

using ComCallLog = EveryDeclaration;
KASTREL_FOR_EVERY_DECLARATION(ComCallLog);

// One member access is one call into the model, whichever way the server
// declares it: the server's call log is the model's for the same run.
TEST_P(ComCallLog, ListingAndExportMakeTheSameCallsAsInTheModel) {
    fakes::TempDir dir;
    fakes::SimConnector model;
    model.open(fakes::examples_folder() / "non_features.json");
    std::vector<std::string> expected;
    model.sim().set_call_log([&](const std::string& line) { expected.push_back(line); });
    list_and_export(model, dir / "model.xls");

    const std::u8string log_name = (dir / "calls.log").u8string();
    {
        ServerProcess server(
            server_args({"--call-log", std::string(log_name.begin(), log_name.end()),
                         example("non_features.json")}));
        ASSERT_TRUE(server.ready());
        list_and_export(connector_, dir / "com.xls");
    }
    std::ifstream log(dir / "calls.log");
    std::vector<std::string> logged;
    for (std::string line; std::getline(log, line);)
        logged.push_back(line);
    EXPECT_GT(logged.size(), 100u);
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

// Unattended, as on the command line, where no one can cancel: a busy host is
// waited for, and one that stops answering counts as lost once the bound has
// passed, as a silent bus host does after the bus's timeout.
TEST(ComUnattended, ABusyHostIsWaitedForAndOneThatStopsAnsweringIsLost) {
    common::com::ComApartment apartment;
    host::com::ComConnector connector(1s);
    {
        ServerProcess busy(
            {"--no-window", "--busy-after-calls", "1", "--busy-ms", "300", example("demo.json")});
        ASSERT_TRUE(busy.ready());
        const host::Object app = connector.create_object(host::application_class);
        EXPECT_TRUE(app->get("ActivePartProgram").to_object());
    }
    ServerProcess hung({"--no-window", "--hang-after-calls", "1", example("demo.json")});
    ASSERT_TRUE(hung.ready());
    const host::Object app = connector.create_object(host::application_class);
    const auto asked = std::chrono::steady_clock::now();
    try {
        app->get("ActivePartProgram");
        FAIL() << "the hung host answered";
    } catch (const host::AutomationError& error) {
        EXPECT_TRUE(host::is_host_lost(error)) << error.number() << " " << error.detail();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 5s);
}

TEST_F(ComHost, ServerRefusesBadStartsWithCode2) {
    fakes::TempDir dir;
    fakes::write_file(dir / "broken.json", "{\"commands\": [");
    const std::u8string broken = (dir / "broken.json").u8string();
    const std::vector<std::vector<std::string>> starts = {
        {"--no-window", std::string(broken.begin(), broken.end())},
        {"--no-window", example("no_such_file.json")},
        {"--no-such-option"},
        {"--no-window", "--members-as", "fields"},
        {"--no-window", "--members-as"},
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
