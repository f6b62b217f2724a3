#include "host/automation_error.h"

namespace kastrel::host {
namespace {

std::int32_t number_of(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::TypeMismatch:
        return error_number::type_mismatch;
    case ErrorKind::InvalidUseOfNull:
        return error_number::invalid_use_of_null;
    case ErrorKind::ObjectRequired:
        return error_number::object_required;
    case ErrorKind::ObjectNotSet:
        return error_number::object_not_set;
    case ErrorKind::CannotCreate:
        return error_number::cannot_create_object;
    case ErrorKind::UnexpectedValue:
        return error_number::unexpected_value;
    case ErrorKind::UnknownName:
        return error_number::unknown_name;
    case ErrorKind::Host:
    case ErrorKind::System:
        break;
    }
    return error_number::failed;
}

// For a failure that escapes every handler: the host's text, or the number.
std::string summary(std::int32_t number, const std::string& description) {
    if (!description.empty())
        return description;
    return "Automatisierungsfehler " + std::to_string(number);
}

} // namespace

AutomationError::AutomationError(std::int32_t number, std::string description)
    : std::runtime_error(summary(number, description)), kind_(ErrorKind::Host), number_(number),
      description_(std::move(description)) {}

AutomationError::AutomationError(ErrorKind kind, std::string name, std::string detail)
    : AutomationError(kind, number_of(kind), std::move(name), std::move(detail)) {}

AutomationError::AutomationError(ErrorKind kind, std::int32_t number, std::string name,
                                 std::string detail)
    : std::runtime_error(summary(number, {})), kind_(kind), number_(number), name_(std::move(name)),
      detail_(std::move(detail)) {}

} // namespace kastrel::host
