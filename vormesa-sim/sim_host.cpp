#include "vormesa-sim/sim_host.h"

#include "common/dbus/protocol.h"

#include <cmath>
#include <thread>

namespace vormesa_sim {

namespace {

namespace dbus_protocol = kastrel::common::dbus;

const char* const stale_object = "Objekt existiert nicht mehr";

[[noreturn]] void fail_stale() {
    throw HostError(host_error::failed, stale_object);
}

// An object of a part program closed or replaced since it was handed out is
// disconnected from its clients, as a COM server does with the objects of a
// document it closes; every later call on it fails the same way.
[[noreturn]] void fail_disconnected() {
    throw HostError::link_failure(host_error::disconnected, dbus_protocol::disconnected_error_name,
                                  "Teileprogramm geschlossen");
}

[[noreturn]] void fail_unknown(std::string_view member) {
    throw HostError(host_error::unknown_name, "Unbekannter Name: " + std::string(member));
}

[[noreturn]] void fail_configured(std::string_view member) {
    throw HostError(host_error::failed,
                    "Vormesa: " + std::string(member) + " konnte nicht ausgeführt werden");
}

[[noreturn]] void fail_type_mismatch() {
    throw HostError(host_error::type_mismatch, "Typen unverträglich");
}

[[noreturn]] void fail_invalid_argument() {
    throw HostError(host_error::invalid_argument, "Ungültiges Argument");
}

Value served(const FileValue& value) {
    return std::visit([](const auto& v) -> Value { return v; }, value);
}

bool is_int32(const Argument& argument, std::int32_t expected) {
    const auto* value = std::get_if<std::int32_t>(&argument.value);
    if (!value)
        fail_type_mismatch();
    return *value == expected;
}

const char* data_kind_name(std::int32_t data_kind) {
    return data_kind == data_kind_nominal ? "nominal" : "actual";
}

} // namespace

void SimHost::open(PartProgram program) {
    program_ = std::make_unique<const PartProgram>(std::move(program));
    ++generation_;
}

void SimHost::close() {
    program_.reset();
    ++generation_;
}

void SimHost::enter(std::string_view path, const std::optional<ObjectAddress>& address,
                    const std::string& what) {
    if (!observed())
        return;
    const std::string line = (address ? role_name(*address) : std::string(path)) + " " + what;
    if (call_log_)
        call_log_(line);
    CallFate fate = failures_.fate_of(line);
    if (fate.close_program)
        close();
    if (fate.delay > fate.delay.zero())
        std::this_thread::sleep_for(fate.delay);
    if (fate.hang)
        throw CallHangs();
    if (fate.failure)
        throw std::move(*fate.failure);
}

ObjectRef SimHost::path_to(ObjectAddress address) const {
    address.generation = generation_;
    return ObjectRef{object_path(address)};
}

SimHost::Target SimHost::resolve(const std::optional<ObjectAddress>& address) const {
    if (!address)
        fail_stale();
    Target target{*address};
    switch (address->type) {
    case ObjectType::Server:
    case ObjectType::Application:
    case ObjectType::Enumerator:
        return target;
    default:
        break;
    }
    if (!program_ || address->generation != generation_)
        fail_disconnected();
    if (address->type == ObjectType::PartProgram || address->type == ObjectType::Commands)
        return target;
    if (address->command >= program_->commands.size())
        fail_stale();
    target.command = &program_->commands[address->command];
    if (address->type == ObjectType::Command)
        return target;
    if (!target.command->is_feature_type())
        fail_stale();
    if (address->type == ObjectType::Feature)
        return target;
    const auto& hits = target.command->hits;
    if (address->hit < 1 || static_cast<std::uint64_t>(address->hit) > hits.size() ||
        (address->data_kind != data_kind_actual && address->data_kind != data_kind_nominal))
        fail_stale();
    target.hit = &hits[static_cast<std::size_t>(address->hit - 1)];
    return target;
}

std::optional<Value> SimHost::read_property(const Target& target, std::string_view member) const {
    const Command* command = target.command;
    switch (target.address.type) {
    case ObjectType::Application:
        if (member == "ActivePartProgram")
            return program_ ? path_to({.type = ObjectType::PartProgram}) : ObjectRef{"/"};
        break;
    case ObjectType::PartProgram:
        if (member == "Commands")
            return path_to({.type = ObjectType::Commands});
        break;
    case ObjectType::Commands:
        if (member == "Count")
            return static_cast<std::int32_t>(program_->commands.size());
        break;
    case ObjectType::Command:
        if (member == "IsFeature") {
            if (command->fails(member))
                fail_configured(member);
            if (!command->is_feature_override)
                return command->is_feature_type();
            if (std::holds_alternative<IsFeatureNull>(*command->is_feature_override))
                return NullValue{};
            return std::get<bool>(*command->is_feature_override);
        }
        if (member == "FeatureCommand") {
            if (command->fails(member))
                fail_configured(member);
            if (!command->is_feature_type())
                return ObjectRef{"/"};
            return path_to({.type = ObjectType::Feature, .command = target.address.command});
        }
        break;
    case ObjectType::Feature:
        if (member == "ID" || member == "TheoDiam" || member == "NumHits") {
            if (command->fails(member))
                fail_configured(member);
            if (member == "ID")
                return served(command->id);
            if (member == "TheoDiam")
                return served(command->theo_diam);
            if (command->num_hits_override)
                return std::visit([](const auto& v) -> Value { return v; },
                                  *command->num_hits_override);
            return static_cast<std::int32_t>(command->hits.size());
        }
        break;
    case ObjectType::Point:
        if (member == "X" || member == "Y" || member == "Z") {
            const std::string failure =
                std::string(data_kind_name(target.address.data_kind)) + "." + std::string(member);
            if (target.hit->failures.contains(failure))
                fail_configured(member);
            const auto axis = static_cast<std::size_t>(member[0] - 'X');
            return served(target.hit->coordinates(target.address.data_kind)[axis]);
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

// GetHit(hitNumber&, 0, dataKind, 13, text&, 0): types first, then values, as
// the host checks them before it looks at its data.
Value SimHost::get_hit(const Target& target, const std::vector<Argument>& args) const {
    if (args.size() != 6)
        throw HostError(host_error::bad_param_count, "Ungültige Anzahl von Parametern");
    const auto* hit_number = std::get_if<double>(&args[0].value);
    if (!hit_number || !args[0].by_ref)
        fail_type_mismatch();
    if (!std::holds_alternative<std::string>(args[4].value) || !args[4].by_ref)
        fail_type_mismatch();
    // Every type is checked before any value, so no short-circuit here.
    const bool second_ok = is_int32(args[1], 0);
    const bool fourth_ok = is_int32(args[3], 13);
    const bool sixth_ok = is_int32(args[5], 0);
    const bool flags_ok = second_ok && fourth_ok && sixth_ok;
    const auto* data_kind = std::get_if<std::int32_t>(&args[2].value);
    if (!data_kind)
        fail_type_mismatch();
    if (!flags_ok || (*data_kind != data_kind_actual && *data_kind != data_kind_nominal))
        fail_invalid_argument();
    if (!std::isfinite(*hit_number) || *hit_number < 1 || std::floor(*hit_number) != *hit_number)
        fail_invalid_argument();

    const auto& hits = target.command->hits;
    if (*hit_number > static_cast<double>(hits.size()))
        throw HostError(host_error::invalid_argument,
                        "Messpunkt " + format_double(*hit_number) + " existiert nicht");
    const auto hit = static_cast<std::int64_t>(*hit_number);
    if (hits[static_cast<std::size_t>(hit - 1)].failures.contains(data_kind_name(*data_kind)))
        fail_configured("GetHit");
    return path_to({.type = ObjectType::Point,
                    .command = target.address.command,
                    .hit = hit,
                    .data_kind = *data_kind});
}

std::string SimHost::create_object(std::string_view class_name) {
    enter("", ObjectAddress{}, "CreateObject");
    if (class_name != application_class)
        throw HostError(host_error::invalid_class, "Ungültige Klassenzeichenfolge");
    return object_path({.type = ObjectType::Application});
}

std::string SimHost::get_object(std::string_view /*path*/, std::string_view class_name) {
    enter("", ObjectAddress{}, "GetObject");
    if (class_name != application_class)
        throw HostError(host_error::invalid_class, "Ungültige Klassenzeichenfolge");
    return object_path({.type = ObjectType::Application});
}

Value SimHost::get(std::string_view path, std::string_view member) {
    const auto address = parse_object_path(path);
    enter(path, address, std::string(member));
    const Target target = resolve(address);
    if (auto value = read_property(target, member))
        return std::move(*value);
    fail_unknown(member);
}

InvokeResult SimHost::invoke(std::string_view path, std::string_view member,
                             std::vector<Argument> args) {
    const auto address = parse_object_path(path);
    if (observed()) {
        std::string what = std::string(member) + "(";
        for (std::size_t i = 0; i < args.size(); ++i)
            what += (i ? ", " : "") + format_argument(args[i]);
        enter(path, address, what + ")");
    }
    const Target target = resolve(address);
    if (target.address.type == ObjectType::Feature && member == "GetHit") {
        Value result = get_hit(target, args);
        return {std::move(result), std::move(args)};
    }
    // Like a late-bound host, a property may also be called as a method.
    if (auto value = read_property(target, member)) {
        if (!args.empty())
            throw HostError(host_error::bad_param_count, "Ungültige Anzahl von Parametern");
        return {std::move(*value), std::move(args)};
    }
    fail_unknown(member);
}

std::string SimHost::new_enum(std::string_view path) {
    const auto address = parse_object_path(path);
    enter(path, address, "NewEnum");
    const Target target = resolve(address);
    if (target.address.type != ObjectType::Commands)
        fail_unknown("NewEnum");
    while (enumerators_.size() >= max_enumerators)
        enumerators_.erase(enumerators_.begin());
    const std::uint64_t id = next_enumerator_id_++;
    enumerators_[id] = EnumeratorState{generation_, 0};
    return object_path({.type = ObjectType::Enumerator, .enumerator = id});
}

NextResult SimHost::next(std::string_view enumerator_path) {
    const auto address = parse_object_path(enumerator_path);
    enter(enumerator_path, address, "Next");
    if (!address || address->type != ObjectType::Enumerator)
        fail_unknown("Next");
    const auto it = enumerators_.find(address->enumerator);
    if (it == enumerators_.end())
        fail_stale();
    if (!program_ || it->second.generation != generation_)
        fail_disconnected();
    EnumeratorState& state = it->second;
    if (state.position >= program_->commands.size())
        return {};
    return {true, path_to({.type = ObjectType::Command, .command = state.position++})};
}

void SimHost::release(std::string_view enumerator_path) {
    const auto address = parse_object_path(enumerator_path);
    enter(enumerator_path, address, "Release");
    if (address && address->type == ObjectType::Enumerator)
        enumerators_.erase(address->enumerator);
}

} // namespace vormesa_sim
