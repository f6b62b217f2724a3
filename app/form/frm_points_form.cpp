#include "app/form/frm_points_form.h"

#include "app/texts/program_identity.h"

#include <array>
#include <stdexcept>

namespace kastrel::app {
namespace {

using enum Control;
using enum ControlKind;
// The parent column.
constexpr Parent in_window = Parent::window;
constexpr Parent in_Frame1 = Parent::Frame1;
using enum Initially;

// clang-format off
constexpr std::array<FormControl, control_count> controls = {{
//   control              name                   kind            parent     left  top    width height tab initially
    {cmd_lesen,           "cmd_lesen",           command_button, in_window, {480,  240,  2655, 735},   0, enabled,
     "Elemente aus offenem Vormesa Programm einlesen"},
    {cmd_schreiben,       "cmd_schreiben",       command_button, in_window, {480,  1080, 2655, 855},   1, disabled,
     "ASCII Datei vom selektierten Merkmal erzeugen"},
    {List1,               "List1",               list_box,       in_window, {4440, 120,  3255, 4272},  2, empty,
     ""},
    {Label1,              "Label1",              label,          in_window, {5280, 5400, 2292, 372},   3, shown,
     "Erstellt von Sarvinet."},
    {cmd_allemarkieren,   "cmd_allemarkieren",   command_button, in_window, {4440, 4560, 1455, 495},   4, disabled,
     "Alle Merkmale selektieren"},
    {cmd_alledemarkieren, "cmd_alledemarkieren", command_button, in_window, {6120, 4560, 1455, 495},   5, disabled,
     "Alle Merkmale deselektieren"},
    {Frame1,              "Frame1",              frame,          in_window, {240,  2280, 3852, 3132},  6, shown,
     "Ausgabe-Optionen"},
    {Option1,             "Option1",             option_button,  in_Frame1, {480,  2640, 3492, 372},   7, unselected,
     "Polarer Abweichungsvergleich (nur Kreise)"},
    {Option2,             "Option2",             option_button,  in_Frame1, {480,  3120, 3492, 372},   8, unselected,
     "Karthesische XY IST-Werte ab Nullpunkt"},
    {Label2,              "Label2",              label,          in_window, {240,  5640, 3012, 612},   9, shown,
     "Achtung! Elemente müssen in XY Ebene (ZPLUS) gemessen sein.(Nur erste 3 Optionen. Tarvoll Ausgabe in XY,XZ,YZ"},
    {Option3,             "Option3",             option_button,  in_Frame1, {480,  3600, 3372, 252},  10, unselected,
     "Karthesischer Abweichungsvergleich in XY"},
    // The load step selects Option4.
    {Option4,             "Option4",             option_button,  in_Frame1, {480,  3960, 3372, 372},  11, unselected,
     "Nr, Polarradius, Winkel, Tiefe, Abstand    (Fa. Tarvoll AG)"},
    {Check1,              "Check1",              check_box,      in_Frame1, {1080, 4440, 2172, 252},  12, checked,
     "XY Ebene"},
    {Check2,              "Check2",              check_box,      in_window, {1080, 4680, 2172, 252},  13, unchecked,
     "XZ Ebene"},
    {Check3,              "Check3",              check_box,      in_window, {1080, 4920, 2172, 252},  14, unchecked,
     "YZ Ebene"},
    // In the free space under the credit line, after every older control.
    {cmd_auswerten,       "cmd_auswerten",       command_button, in_window, {4440, 5880, 3255, 435},  15, disabled,
     "Auswertung anzeigen"},
}};
// clang-format on

constexpr bool in_tab_order() {
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (static_cast<std::size_t>(controls[i].control) != i ||
            controls[i].tab_index != static_cast<int>(i))
            return false;
    return true;
}
static_assert(in_tab_order(), "each control stands at its tab index, in the order of Control");

constexpr Form form{"frm_points", identity::program_name, 8004, 6420, controls};

constexpr std::array options = {Option1, Option2, Option3, Option4};
constexpr std::array checks = {Check1, Check2, Check3};

template <std::size_t N>
Control numbered(const std::array<Control, N>& numbered_controls, int number, const char* what) {
    if (number < 1 || number > static_cast<int>(N))
        throw std::out_of_range(what + std::to_string(number));
    return numbered_controls[static_cast<std::size_t>(number - 1)];
}

template <std::size_t N>
int number_of(const std::array<Control, N>& numbered_controls, Control control) {
    for (std::size_t i = 0; i < N; ++i)
        if (numbered_controls[i] == control)
            return static_cast<int>(i) + 1;
    return 0;
}

} // namespace

const Form& frm_points_form() {
    return form;
}

Control option_control(int option) {
    return numbered(options, option, "no Option");
}

Control check_control(int check) {
    return numbered(checks, check, "no Check");
}

Control command_control(CommandButton button) {
    switch (button) {
    case CommandButton::cmd_lesen:
        return cmd_lesen;
    case CommandButton::cmd_schreiben:
        return cmd_schreiben;
    case CommandButton::cmd_allemarkieren:
        return cmd_allemarkieren;
    case CommandButton::cmd_alledemarkieren:
        return cmd_alledemarkieren;
    case CommandButton::cmd_auswerten:
        return cmd_auswerten;
    }
    throw std::out_of_range("unknown command button");
}

int option_number(Control control) {
    return number_of(options, control);
}

int check_number(Control control) {
    return number_of(checks, control);
}

std::string without_access_keys(std::string_view caption) {
    std::string result;
    result.reserve(caption.size());
    for (const char c : caption) {
        if (c == '&')
            result += '&';
        result += c;
    }
    return result;
}

} // namespace kastrel::app
