#include "tests/support/sim_connector.h"

#include "common/non_copyable.h"
#include "host/automation_error.h"
#include "host/dispatch.h"
#include "vormesa-sim/part_program.h"

namespace kastrel::fakes {
namespace {

using Sim = std::shared_ptr<vormesa_sim::SimHost>;

host::Object object_at(const Sim& sim, const std::string& path);

host::Variant to_variant(const Sim& sim, const vormesa_sim::Value& value) {
    return std::visit(
        [&](const auto& v) -> host::Variant {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return {};
            else if constexpr (std::is_same_v<T, vormesa_sim::NullValue>)
                return host::Variant::null();
            else if constexpr (std::is_same_v<T, vormesa_sim::ObjectRef>)
                return host::Variant(object_at(sim, v.path));
            else
                return host::Variant(v);
        },
        value);
}

vormesa_sim::Value to_value(const host::Variant& variant) {
    return std::visit(
        [](const auto& v) -> vormesa_sim::Value {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, host::Object>)
                throw host::AutomationError(host::ErrorKind::TypeMismatch);
            else if constexpr (std::is_same_v<T, std::monostate> || std::is_same_v<T, bool> ||
                               std::is_same_v<T, std::int32_t> || std::is_same_v<T, double> ||
                               std::is_same_v<T, std::string>)
                return v;
            else
                return vormesa_sim::NullValue{};
        },
        variant.raw());
}

template <typename F> auto forward_errors(F&& call) {
    try {
        return call();
    } catch (const vormesa_sim::HostError& error) {
        throw host::AutomationError(error.number(), error.description());
    } catch (const vormesa_sim::CallHangs&) {
        // In process nothing can wait: the call is the one the user gave up.
        throw host::RunCancelled();
    }
}

class SimEnumerator : public host::Enumerator, private common::NonCopyable {
public:
    SimEnumerator(Sim sim, std::string path) : sim_(std::move(sim)), path_(std::move(path)) {}
    ~SimEnumerator() override {
        try {
            sim_->release(path_);
        } catch (const vormesa_sim::HostError&) {
        } catch (const vormesa_sim::CallHangs&) {
        }
    }

    std::optional<host::Variant> next() override {
        const auto step = forward_errors([&] { return sim_->next(path_); });
        if (!step.more)
            return std::nullopt;
        return to_variant(sim_, step.item);
    }

private:
    Sim sim_;
    std::string path_;
};

class SimDispatch : public host::Dispatch {
public:
    SimDispatch(Sim sim, std::string path) : sim_(std::move(sim)), path_(std::move(path)) {}

    host::Variant get(std::string_view member) override {
        return to_variant(sim_, forward_errors([&] { return sim_->get(path_, member); }));
    }

    host::Variant call(std::string_view member, std::span<host::Argument> args) override {
        std::vector<vormesa_sim::Argument> sent;
        for (const host::Argument& arg : args)
            sent.push_back({to_value(arg.value), arg.by_ref});
        const auto result =
            forward_errors([&] { return sim_->invoke(path_, member, std::move(sent)); });
        for (std::size_t i = 0; i < args.size() && i < result.args_after.size(); ++i)
            if (args[i].by_ref)
                args[i].value = to_variant(sim_, result.args_after[i].value);
        return to_variant(sim_, result.result);
    }

    std::unique_ptr<host::Enumerator> enumerate() override {
        return std::make_unique<SimEnumerator>(
            sim_, forward_errors([&] { return sim_->new_enum(path_); }));
    }

private:
    Sim sim_;
    std::string path_;
};

host::Object object_at(const Sim& sim, const std::string& path) {
    if (path == "/")
        return nullptr;
    return std::make_shared<SimDispatch>(sim, path);
}

} // namespace

SimConnector::SimConnector() : sim_(std::make_shared<vormesa_sim::SimHost>()) {
    sim_->set_call_log([this](const std::string& line) { calls.push_back(line); });
}

// Host objects may outlive the connector; their last calls go unlogged.
SimConnector::~SimConnector() {
    sim_->set_call_log({});
}

void SimConnector::open(const std::filesystem::path& part_program) {
    sim_->open(vormesa_sim::load_part_program(part_program));
}

void SimConnector::open(std::vector<vormesa_sim::Command> commands) {
    vormesa_sim::PartProgram program;
    program.commands = std::move(commands);
    sim_->open(std::move(program));
}

host::Object SimConnector::create_object(std::string_view class_name) {
    return object_at(sim_, forward_errors([&] { return sim_->create_object(class_name); }));
}

host::Object SimConnector::get_object(std::string_view path, std::string_view class_name) {
    return object_at(sim_, forward_errors([&] { return sim_->get_object(path, class_name); }));
}

bool SimConnector::window_exists(std::string_view window_class) {
    return window && window_class == host::host_window_class;
}

vormesa_sim::Command feature(std::string id, double theo_diam, std::vector<vormesa_sim::Hit> hits) {
    vormesa_sim::Command command;
    command.type = "feature";
    command.id = std::move(id);
    command.theo_diam = theo_diam;
    command.hits = std::move(hits);
    return command;
}

vormesa_sim::Command not_a_feature() {
    vormesa_sim::Command command;
    command.type = "alignment";
    return command;
}

vormesa_sim::Hit hit(std::array<double, 3> actual, std::array<double, 3> nominal) {
    vormesa_sim::Hit made;
    for (std::size_t i = 0; i < 3; ++i) {
        made.actual[i] = actual[i];
        made.nominal[i] = nominal[i];
    }
    return made;
}

vormesa_sim::HostError injected_failure() {
    return {vormesa_sim::host_error::failed, "Eingestreuter Fehler"};
}

static_assert(vormesa_sim::host_error::server_unavailable == host::error_number::host_unavailable);

vormesa_sim::HostError host_lost() {
    return {host::error_number::host_unavailable, "Vormesa beendet"};
}

vormesa_sim::FailurePlan failing(std::initializer_list<std::string> calls) {
    vormesa_sim::FailurePlan plan;
    for (const std::string& call : calls)
        plan.fail_every(call, injected_failure());
    return plan;
}

std::filesystem::path examples_folder() {
    return KASTREL_SOURCE_DIR "/examples";
}

} // namespace kastrel::fakes
