#include "tests/support/fake_host.h"

#include "host/automation_error.h"

#include <charconv>

namespace kastrel::fakes {
namespace {

using host::Argument;
using host::AutomationError;
using host::Object;
using host::Variant;

constexpr std::int32_t e_fail = static_cast<std::int32_t>(0x80004005);

std::string shortest(double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string describe(const Argument& arg) {
    std::string text = arg.by_ref ? "&" : "";
    switch (arg.value.kind()) {
    case Variant::Kind::Double:
        return text + shortest(std::get<double>(arg.value.raw()));
    case Variant::Kind::Int32:
        return text + std::to_string(std::get<std::int32_t>(arg.value.raw()));
    case Variant::Kind::Text:
        return text + '"' + std::get<std::string>(arg.value.raw()) + '"';
    default:
        return text + host::kind_name(arg.value.kind());
    }
}

[[noreturn]] void unknown(std::string_view member) {
    throw AutomationError(static_cast<std::int32_t>(0x80020006),
                          "Unbekannter Name: " + std::string(member));
}

class FakeObject : public host::Dispatch {
public:
    enum class Role { Application, PartProgram, Commands, Command, Feature, Point };

    FakeObject(FakeHost& host, Role role, std::size_t command = 0, double hit = 0, int kind = 0)
        : host_(host), role_(role), command_(command), hit_(hit), kind_(kind) {}

    Variant get(std::string_view member) override {
        host_.enter(name() + " " + std::string(member));
        switch (role_) {
        case Role::Application:
            if (member == "ActivePartProgram")
                return host_.has_part_program ? Variant(make(Role::PartProgram))
                                              : Variant(Object());
            break;
        case Role::PartProgram:
            if (member == "Commands")
                return Variant(make(Role::Commands));
            break;
        case Role::Command:
            if (member == "IsFeature")
                return command().is_feature;
            if (member == "FeatureCommand")
                return Variant(make(Role::Feature, command_));
            break;
        case Role::Feature:
            if (member == "ID")
                return command().id;
            if (member == "TheoDiam")
                return command().theo_diam;
            if (member == "NumHits")
                return command().num_hits.value_or(
                    Variant(static_cast<std::int32_t>(command().hits.size())));
            break;
        case Role::Point: {
            const FakeHit& h = command().hits.at(static_cast<std::size_t>(hit_) - 1);
            const auto& xyz = kind_ == 3 ? h.actual : h.nominal;
            if (member == "X")
                return xyz[0];
            if (member == "Y")
                return xyz[1];
            if (member == "Z")
                return xyz[2];
            break;
        }
        case Role::Commands:
            break;
        }
        unknown(member);
    }

    Variant call(std::string_view member, std::span<Argument> args) override {
        std::string line = name() + " " + std::string(member) + "(";
        for (std::size_t i = 0; i < args.size(); ++i)
            line += (i ? ", " : "") + describe(args[i]);
        host_.enter(line + ")");
        if (role_ != Role::Feature || member != "GetHit")
            unknown(member);
        const double hit = args[0].value.to_double();
        const int kind = std::get<std::int32_t>(args[2].value.raw());
        if (hit < 1 || hit > static_cast<double>(command().hits.size()))
            throw AutomationError(static_cast<std::int32_t>(0x80070057),
                                  "Messpunkt " + shortest(hit) + " existiert nicht");
        return Variant(make(Role::Point, command_, hit, kind));
    }

    std::unique_ptr<host::Enumerator> enumerate() override;

    std::string name() const {
        switch (role_) {
        case Role::Application:
            return "Application";
        case Role::PartProgram:
            return "PartProgram";
        case Role::Commands:
            return "Commands";
        case Role::Command:
            return "Command#" + std::to_string(command_);
        case Role::Feature:
            return "Feature#" + std::to_string(command_);
        case Role::Point:
            return "Point#" + std::to_string(command_) + "." + shortest(hit_) + "." +
                   std::to_string(kind_);
        }
        return {};
    }

    Object make(Role role, std::size_t command = 0, double hit = 0, int kind = 0) const {
        return std::make_shared<FakeObject>(host_, role, command, hit, kind);
    }

private:
    FakeCommand& command() const { return host_.commands.at(command_); }

    FakeHost& host_;
    Role role_;
    std::size_t command_;
    double hit_;
    int kind_;
};

class FakeEnumerator : public host::Enumerator {
public:
    explicit FakeEnumerator(FakeHost& host) : host_(host) {}
    ~FakeEnumerator() override {
        try {
            host_.enter("Enumerator Release");
        } catch (const AutomationError&) {
        }
    }
    FakeEnumerator(const FakeEnumerator&) = delete;
    FakeEnumerator& operator=(const FakeEnumerator&) = delete;

    std::optional<Variant> next() override {
        host_.enter("Enumerator Next");
        if (position_ >= host_.commands.size())
            return std::nullopt;
        return Variant(
            Object(std::make_shared<FakeObject>(host_, FakeObject::Role::Command, position_++)));
    }

private:
    FakeHost& host_;
    std::size_t position_ = 0;
};

std::unique_ptr<host::Enumerator> FakeObject::enumerate() {
    host_.enter(name() + " NewEnum");
    if (role_ != Role::Commands)
        unknown("_NewEnum");
    return std::make_unique<FakeEnumerator>(host_);
}

} // namespace

FakeCommand feature(std::string id, double theo_diam, std::vector<FakeHit> hits) {
    FakeCommand command;
    command.id = Variant(std::move(id));
    command.theo_diam = Variant(theo_diam);
    command.hits = std::move(hits);
    return command;
}

FakeCommand not_a_feature() {
    FakeCommand command;
    command.is_feature = false;
    return command;
}

FakeHit hit(std::array<double, 3> actual, std::array<double, 3> nominal) {
    FakeHit h;
    for (std::size_t i = 0; i < 3; ++i) {
        h.actual[i] = Variant(actual[i]);
        h.nominal[i] = Variant(nominal[i]);
    }
    return h;
}

void FakeHost::enter(std::string line) {
    const std::size_t position = calls.size();
    calls.push_back(line);
    if (lose_host_at && position >= *lose_host_at)
        throw AutomationError(host::error_number::host_unavailable, "Vormesa beendet");
    if (fail_call && position == *fail_call)
        throw AutomationError(e_fail, "Eingestreuter Fehler bei " + line);
    for (const std::string& failing : failing_lines)
        if (failing == line)
            throw AutomationError(e_fail, "Eingestreuter Fehler bei " + line);
}

host::Object FakeHost::application() {
    return std::make_shared<FakeObject>(*this, FakeObject::Role::Application);
}

host::Object FakeHost::create_object(std::string_view class_name) {
    enter("Server CreateObject");
    if (class_name != host::application_class)
        throw AutomationError(host::error_number::cannot_create_object, "Falsche Klasse");
    return application();
}

host::Object FakeHost::get_object(std::string_view path, std::string_view class_name) {
    enter("Server GetObject");
    if (!path.empty() || class_name != host::application_class)
        throw AutomationError(host::error_number::cannot_create_object, "Falsche Klasse");
    return application();
}

bool FakeHost::window_exists(std::string_view window_class) {
    return window && window_class == host::host_window_class;
}

} // namespace kastrel::fakes
