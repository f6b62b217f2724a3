#pragma once

namespace kastrel::common {

// A base for a class that owns what only one object may own (a handle, a
// registration, a process, a setting to restore): it cannot be copied, and
// so not moved either.
class NonCopyable {
public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};

} // namespace kastrel::common
