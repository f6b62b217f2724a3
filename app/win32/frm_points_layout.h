#pragma once

#include "app/win32/twips.h"

#include <span>
#include <windows.h>

namespace kastrel::app::win32 {

// Control ids of frm_points. They stay clear of IDOK and IDCANCEL, which the
// dialog manager sends for Enter and Escape. Tests find the controls by them.
enum ControlId : int {
    id_cmd_lesen = 101,
    id_cmd_schreiben,
    id_List1,
    id_cmd_allemarkieren,
    id_cmd_alledemarkieren,
    id_Option1,
    id_Option2,
    id_Option3,
    id_Option4,
    id_Check1,
    id_Check2,
    id_Check3,
    id_Label1,
    id_Label2,
    id_Frame1,
};

inline constexpr int option_id(int option) {
    return id_Option1 + option - 1;
}
inline constexpr int check_id(int check) {
    return id_Check1 + check - 1;
}

struct ControlPlacement {
    ControlId id;
    const char* name;
    const wchar_t* window_class;
    const wchar_t* caption;
    DWORD style;
    DWORD ex_style;
    TwipsRect twips; // relative to the window's client area
};

// Client area of the window in twips.
inline constexpr int client_width_twips = 8004;
inline constexpr int client_height_twips = 6420;

// Every control in creation order, which is also the z-order (first on top)
// and, for the controls that take focus, the tab order.
std::span<const ControlPlacement> frm_points_layout();

} // namespace kastrel::app::win32
