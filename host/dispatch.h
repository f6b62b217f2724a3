#pragma once

#include "host/variant.h"

#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace kastrel::host {

// One argument of a method call. A by-reference argument may come back changed.
struct Argument {
    Variant value;
    bool by_ref = false;
};

// Walks a collection one step at a time; each step is a call into the host
// and may throw an AutomationError.
class Enumerator {
public:
    virtual ~Enumerator() = default;
    // The next item, or nothing when the collection is exhausted.
    virtual std::optional<Variant> next() = 0;
};

// A host object reached by member name at run time. Every member access is
// exactly one synchronous call into the host; failures are AutomationErrors.
class Dispatch {
public:
    virtual ~Dispatch() = default;
    virtual Variant get(std::string_view member) = 0;
    virtual Variant call(std::string_view member, std::span<Argument> args) = 0;
    virtual std::unique_ptr<Enumerator> enumerate() = 0;
};

} // namespace kastrel::host
