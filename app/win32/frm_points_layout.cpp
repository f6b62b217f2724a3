#include "app/win32/frm_points_layout.h"

#include <algorithm>
#include <array>

namespace kastrel::app::win32 {
namespace {

constexpr int first_control_id = 101;

// Every child clips its siblings, so overlapping controls paint in z-order.
constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
// Each control but the option buttons stands in a group of its own, so arrow
// keys move only between the options; the first option opens their group.
// Radio buttons get WS_TABSTOP from BM_SETCHECK: Tab enters the group at the
// checked one.
constexpr DWORD push_button = child | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON | BS_MULTILINE;
constexpr DWORD list_box =
    child | WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT;
constexpr DWORD check_box = child | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX;
constexpr DWORD radio = child | BS_AUTORADIOBUTTON | BS_MULTILINE;
constexpr DWORD label = child | WS_GROUP | SS_LEFT | SS_NOPREFIX;
constexpr DWORD group_box = child | BS_GROUPBOX;

// The focus cycle first, in tab order; then the labels, which never take
// focus and so must not split the option group; the frame last, at the bottom
// of the z-order, so the option buttons and Check2/Check3, which stand over
// it, take the clicks and paint on top.
// Controls added to the form later come after all of these, so that the ids
// tests and tools know the older ones by stay as they are.
int creation_rank(const FormControl& control) {
    if (control.control > Control::Check3)
        return 3;
    if (takes_focus(control.kind))
        return 0;
    return control.kind == ControlKind::frame ? 2 : 1;
}

std::array<Control, control_count> ordered_controls() {
    std::array<Control, control_count> order{};
    const Form& form = frm_points_form();
    std::transform(form.controls.begin(), form.controls.end(), order.begin(),
                   [](const FormControl& control) { return control.control; });
    std::stable_sort(order.begin(), order.end(), [&](Control a, Control b) {
        return creation_rank(form[a]) < creation_rank(form[b]);
    });
    return order;
}

const std::array<Control, control_count>& order() {
    static const std::array<Control, control_count> controls = ordered_controls();
    return controls;
}

} // namespace

std::span<const Control> creation_order() {
    return order();
}

int control_id(Control control) {
    const auto& controls = order();
    return first_control_id +
           static_cast<int>(std::find(controls.begin(), controls.end(), control) -
                            controls.begin());
}

std::optional<Control> control_with_id(int id) {
    const int position = id - first_control_id;
    if (position < 0 || position >= control_count)
        return std::nullopt;
    return order()[static_cast<std::size_t>(position)];
}

ChildWindow child_window(const FormControl& control) {
    const DWORD disabled = control.initially == Initially::disabled ? WS_DISABLED : 0;
    switch (control.kind) {
    case ControlKind::command_button:
        return {L"Button", push_button | disabled, 0};
    case ControlKind::list_box:
        return {L"ListBox", list_box | disabled, WS_EX_CLIENTEDGE};
    case ControlKind::label:
        return {L"Static", label, 0};
    case ControlKind::frame:
        return {L"Button", group_box, 0};
    case ControlKind::option_button:
        return {L"Button", radio | (control.control == option_control(1) ? WS_GROUP : 0) | disabled,
                0};
    case ControlKind::check_box:
        return {L"Button", check_box | disabled, 0};
    }
    return {L"Static", label, 0};
}

} // namespace kastrel::app::win32
