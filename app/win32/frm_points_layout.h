#pragma once

#include "app/form/frm_points_form.h"

#include <optional>
#include <span>
#include <windows.h>

namespace kastrel::app::win32 {

// How the controls of frm_points_form() become Win32 child windows.

// The controls in creation order, which is also the z-order (first on top)
// and, for the controls that take focus, the tab order.
std::span<const Control> creation_order();

// Control ids count up from 101 in creation order, clear of IDOK and
// IDCANCEL, which the dialog manager sends for Enter and Escape. Tests find
// the controls by them.
int control_id(Control control);
std::optional<Control> control_with_id(int id);

struct ChildWindow {
    const wchar_t* window_class;
    DWORD style;
    DWORD ex_style;
};

// The child window that draws `control`, in its stored state.
ChildWindow child_window(const FormControl& control);

} // namespace kastrel::app::win32
