// Calls the server through a real session bus with a raw sd-bus client.
// Run under `dbus-run-session -- vormesa_sim_tests`.

#include "common/dbus/protocol.h"
#include "vormesa-sim/dbus_server.h"

#include <atomic>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <systemd/sd-bus.h>
#include <thread>

namespace vormesa_sim {
namespace {

namespace protocol = kastrel::common::dbus;

const char* const program_json = R"({"commands": [
    {"type": "alignment"},
    {"type": "feature", "id": "KRS1", "theoDiam": 20.0, "hits": [
        {"actual": [10.0012, 0.0003, -5.0], "nominal": [10.0, 0.0, -5.0]}]}]})";

// Serves a SimHost from its own thread and connection, as the program does.
class ServerThread {
public:
    ServerThread() {
        std::promise<std::string> ready;
        auto started = ready.get_future();
        thread_ = std::thread([this, &ready] {
            try {
                SimHost host;
                host.open(parse_part_program(program_json, "test.json"));
                DbusServer server(host);
                server.request_service_name();
                server.set_window_shown(true);
                ready.set_value("");
                while (!stop_) {
                    server.process();
                    server.wait(std::chrono::milliseconds(20));
                }
            } catch (const std::exception& error) {
                ready.set_value(error.what());
            }
        });
        const std::string error = started.get();
        if (!error.empty())
            ADD_FAILURE() << error;
    }
    ~ServerThread() {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

struct BusUnref {
    void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageUnref {
    void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using MessagePtr = std::unique_ptr<sd_bus_message, MessageUnref>;

class DbusRoundTrip : public testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DBUS_SESSION_BUS_ADDRESS"))
            GTEST_SKIP() << "no session bus; run under dbus-run-session";
        server_ = std::make_unique<ServerThread>();
        sd_bus* bus = nullptr;
        ASSERT_GE(sd_bus_open_user(&bus), 0);
        bus_.reset(bus);
    }

    // Sends a prepared call; returns the reply or fills `error`.
    MessagePtr send(sd_bus_message* call, sd_bus_error* error) {
        sd_bus_message* reply = nullptr;
        sd_bus_call(bus_.get(), call, 0, error, &reply);
        return MessagePtr(reply);
    }

    MessagePtr new_call(const std::string& path, const char* interface, const char* member) {
        sd_bus_message* call = nullptr;
        EXPECT_GE(sd_bus_message_new_method_call(bus_.get(), &call, protocol::service_name,
                                                 path.c_str(), interface, member),
                  0);
        return MessagePtr(call);
    }

    // Get of an object-valued member; the path it returns.
    std::string get_object(const std::string& path, const char* member) {
        sd_bus_message* reply = nullptr;
        sd_bus_error error = SD_BUS_ERROR_NULL;
        const int r =
            sd_bus_call_method(bus_.get(), protocol::service_name, path.c_str(),
                               protocol::object_interface, "Get", &error, &reply, "s", member);
        MessagePtr owned(reply);
        EXPECT_GE(r, 0) << (error.message ? error.message : "");
        sd_bus_error_free(&error);
        if (r < 0)
            return "";
        std::uint8_t kind = 0;
        const char* object = nullptr;
        EXPECT_GE(sd_bus_message_read(reply, "(yv)", &kind, "o", &object), 0);
        EXPECT_EQ(kind, static_cast<std::uint8_t>(protocol::ValueKind::Object));
        return object ? object : "";
    }

    std::unique_ptr<ServerThread> server_;
    std::unique_ptr<sd_bus, BusUnref> bus_;
};

TEST_F(DbusRoundTrip, WalksToAHitAndBack) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    ASSERT_GE(sd_bus_call_method(bus_.get(), protocol::service_name, protocol::root_path,
                                 protocol::server_interface, "CreateObject", &error, &reply, "s",
                                 "ZORVAT.Application"),
              0);
    const char* app = nullptr;
    ASSERT_GE(sd_bus_message_read(reply, "o", &app), 0);
    const std::string app_path = app;
    sd_bus_message_unref(reply);
    EXPECT_EQ(app_path, "/ZORVAT/app");

    const std::string commands = get_object(get_object(app_path, "ActivePartProgram"), "Commands");
    ASSERT_GE(sd_bus_call_method(bus_.get(), protocol::service_name, commands.c_str(),
                                 protocol::object_interface, "NewEnum", &error, &reply, ""),
              0);
    const char* enumerator_raw = nullptr;
    ASSERT_GE(sd_bus_message_read(reply, "o", &enumerator_raw), 0);
    const std::string enumerator = enumerator_raw;
    sd_bus_message_unref(reply);

    std::vector<std::string> items;
    for (;;) {
        ASSERT_GE(sd_bus_call_method(bus_.get(), protocol::service_name, enumerator.c_str(),
                                     protocol::enumerator_interface, "Next", &error, &reply, ""),
                  0);
        MessagePtr owned(reply);
        int more = 0;
        std::uint8_t kind = 0;
        ASSERT_GE(sd_bus_message_read(reply, "b", &more), 0);
        if (!more)
            break;
        const char* item = nullptr;
        ASSERT_GE(sd_bus_message_read(reply, "(yv)", &kind, "o", &item), 0);
        items.emplace_back(item);
    }
    ASSERT_EQ(items.size(), 2u);
    const std::string feature = get_object(items[1], "FeatureCommand");

    // GetHit(&1, 0, 3, 13, &"", 0)
    MessagePtr call = new_call(feature, protocol::object_interface, "Invoke");
    ASSERT_GE(sd_bus_message_append(call.get(), "s", "GetHit"), 0);
    ASSERT_GE(sd_bus_message_open_container(call.get(), 'a', "(yvb)"), 0);
    ASSERT_GE(sd_bus_message_append(call.get(), "(yvb)", 4, "d", 1.0, 1), 0);
    ASSERT_GE(sd_bus_message_append(call.get(), "(yvb)", 3, "i", 0, 0), 0);
    ASSERT_GE(sd_bus_message_append(call.get(), "(yvb)", 3, "i", 3, 0), 0);
    ASSERT_GE(sd_bus_message_append(call.get(), "(yvb)", 3, "i", 13, 0), 0);
    ASSERT_GE(sd_bus_message_append(call.get(), "(yvb)", 5, "s", "", 1), 0);
    ASSERT_GE(sd_bus_message_append(call.get(), "(yvb)", 3, "i", 0, 0), 0);
    ASSERT_GE(sd_bus_message_close_container(call.get()), 0);
    MessagePtr result = send(call.get(), &error);
    ASSERT_TRUE(result) << (error.message ? error.message : "");
    std::uint8_t kind = 0;
    const char* point = nullptr;
    ASSERT_GE(sd_bus_message_read(result.get(), "(yv)", &kind, "o", &point), 0);
    std::uint8_t arg_kind = 0;
    double hit_number = 0;
    int by_ref = 0;
    ASSERT_GE(sd_bus_message_enter_container(result.get(), 'a', "(yvb)"), 0);
    ASSERT_GE(sd_bus_message_read(result.get(), "(yvb)", &arg_kind, "d", &hit_number, &by_ref), 0);
    EXPECT_EQ(hit_number, 1.0);
    EXPECT_TRUE(by_ref);

    ASSERT_GE(sd_bus_call_method(bus_.get(), protocol::service_name, point,
                                 protocol::object_interface, "Get", &error, &reply, "s", "X"),
              0);
    double x = 0;
    ASSERT_GE(sd_bus_message_read(reply, "(yv)", &kind, "d", &x), 0);
    sd_bus_message_unref(reply);
    EXPECT_EQ(kind, static_cast<std::uint8_t>(protocol::ValueKind::Double));
    EXPECT_EQ(x, 10.0012);

    ASSERT_GE(sd_bus_call_method(bus_.get(), protocol::service_name, enumerator.c_str(),
                                 protocol::enumerator_interface, "Release", &error, &reply, ""),
              0);
    sd_bus_message_unref(reply);
}

TEST_F(DbusRoundTrip, HostFailuresAreAutomationErrors) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    EXPECT_LT(sd_bus_call_method(bus_.get(), protocol::service_name, "/ZORVAT/app",
                                 protocol::object_interface, "Get", &error, &reply, "s", "Foo"),
              0);
    EXPECT_STREQ(error.name, protocol::error_name);
    EXPECT_STREQ(error.message, "-2147352570 Unbekannter Name: Foo");
    sd_bus_error_free(&error);

    // A kind byte that does not match the variant is a malformed call, not a host failure.
    MessagePtr call = new_call("/ZORVAT/app", protocol::object_interface, "Invoke");
    ASSERT_GE(sd_bus_message_append(call.get(), "sa(yvb)", "Foo", 1, 4, "s", "x", 0), 0);
    EXPECT_FALSE(send(call.get(), &error));
    EXPECT_STREQ(error.name, SD_BUS_ERROR_INVALID_ARGS);
    sd_bus_error_free(&error);
}

TEST_F(DbusRoundTrip, OwnsServiceAndWindowNames) {
    const std::string window =
        std::string(protocol::window_name_prefix) + std::string(main_window_class);
    for (const std::string& name : {std::string(protocol::service_name), window}) {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        ASSERT_GE(sd_bus_call_method(bus_.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                     "org.freedesktop.DBus", "NameHasOwner", &error, &reply, "s",
                                     name.c_str()),
                  0);
        int owned = 0;
        ASSERT_GE(sd_bus_message_read(reply, "b", &owned), 0);
        sd_bus_message_unref(reply);
        EXPECT_TRUE(owned) << name;
    }

    SimHost second_host;
    DbusServer second(second_host);
    try {
        second.request_service_name();
        FAIL() << "a second host got the name";
    } catch (const BusError& error) {
        EXPECT_EQ(error.error_code(), -EEXIST);
        EXPECT_NE(std::string(error.what()).find(protocol::service_name), std::string::npos);
    }
}

} // namespace
} // namespace vormesa_sim
