#include "vormesa-sim/win32/member_names.h"

#include <array>
#include <cwctype>

namespace vormesa_sim::win32 {
namespace {

struct Member {
    std::string_view name;
    DISPID dispid;
};

constexpr std::array members = {
    Member{"ActivePartProgram", 1},
    Member{"Commands", 2},
    Member{"Count", 3},
    Member{"IsFeature", 4},
    Member{"FeatureCommand", 5},
    Member{"ID", 6},
    Member{"TheoDiam", 7},
    Member{"NumHits", 8},
    Member{"GetHit", 9},
    Member{"X", 10},
    Member{"Y", 11},
    Member{"Z", 12},
    Member{"_NewEnum", DISPID_NEWENUM},
};

bool same_name(std::wstring_view wide, std::string_view name) {
    if (wide.size() != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::towlower(wide[i]) !=
            std::towlower(static_cast<wint_t>(static_cast<unsigned char>(name[i]))))
            return false;
    return true;
}

} // namespace

std::optional<DISPID> dispid_of(std::wstring_view name) {
    for (const Member& member : members)
        if (same_name(name, member.name))
            return member.dispid;
    return std::nullopt;
}

std::optional<std::string_view> member_of(DISPID dispid) {
    for (const Member& member : members)
        if (member.dispid == dispid)
            return member.name;
    return std::nullopt;
}

} // namespace vormesa_sim::win32
