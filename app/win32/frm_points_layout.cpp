#include "app/win32/frm_points_layout.h"

#include <array>

namespace kastrel::app::win32 {
namespace {

// Every child clips its siblings, so overlapping controls paint in z-order.
constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
// Each control but the option buttons stands in a group of its own, so arrow
// keys move only between the options.
constexpr DWORD push_button = child | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON | BS_MULTILINE;
constexpr DWORD check_box = child | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX;
// Radio buttons get WS_TABSTOP from BM_SETCHECK: Tab enters the group at the checked one.
constexpr DWORD radio = child | BS_AUTORADIOBUTTON | BS_MULTILINE;
constexpr DWORD label = child | WS_GROUP | SS_LEFT | SS_NOPREFIX;

// The focus cycle first, in tab order. The labels and the frame never take
// focus; the frame comes last, at the bottom of the z-order, so the option
// buttons and Check2/Check3, which stand over it, take the clicks and paint on
// top, and the labels do not split the option group.
constexpr std::array<ControlPlacement, 15> layout = {{
    {id_cmd_lesen,
     "cmd_lesen",
     L"Button",
     L"Elemente aus offenem Vormesa Programm einlesen",
     push_button,
     0,
     {480, 240, 2655, 735}},
    {id_cmd_schreiben,
     "cmd_schreiben",
     L"Button",
     L"ASCII Datei vom selektierten Merkmal erzeugen",
     push_button | WS_DISABLED,
     0,
     {480, 1080, 2655, 855}},
    {id_List1,
     "List1",
     L"ListBox",
     L"",
     child | WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT,
     WS_EX_CLIENTEDGE,
     {4440, 120, 3255, 4272}},
    {id_cmd_allemarkieren,
     "cmd_allemarkieren",
     L"Button",
     L"Alle Merkmale selektieren",
     push_button | WS_DISABLED,
     0,
     {4440, 4560, 1455, 495}},
    {id_cmd_alledemarkieren,
     "cmd_alledemarkieren",
     L"Button",
     L"Alle Merkmale deselektieren",
     push_button | WS_DISABLED,
     0,
     {6120, 4560, 1455, 495}},
    {id_Option1,
     "Option1",
     L"Button",
     L"Polarer Abweichungsvergleich (nur Kreise)",
     radio | WS_GROUP,
     0,
     {480, 2640, 3492, 372}},
    {id_Option2,
     "Option2",
     L"Button",
     L"Karthesische XY IST-Werte ab Nullpunkt",
     radio,
     0,
     {480, 3120, 3492, 372}},
    {id_Option3,
     "Option3",
     L"Button",
     L"Karthesischer Abweichungsvergleich in XY",
     radio,
     0,
     {480, 3600, 3372, 252}},
    {id_Option4,
     "Option4",
     L"Button",
     L"Nr, Polarradius, Winkel, Tiefe, Abstand    (Fa. Tarvoll AG)",
     radio,
     0,
     {480, 3960, 3372, 372}},
    {id_Check1, "Check1", L"Button", L"XY Ebene", check_box, 0, {1080, 4440, 2172, 252}},
    {id_Check2, "Check2", L"Button", L"XZ Ebene", check_box, 0, {1080, 4680, 2172, 252}},
    {id_Check3, "Check3", L"Button", L"YZ Ebene", check_box, 0, {1080, 4920, 2172, 252}},
    {id_Label1, "Label1", L"Static", L"Erstellt von Sarvinet.", label, 0, {5280, 5400, 2292, 372}},
    {id_Label2,
     "Label2",
     L"Static",
     L"Achtung! Elemente m\u00fcssen in XY Ebene (ZPLUS) gemessen sein.(Nur erste 3 Optionen. "
     L"Tarvoll Ausgabe in XY,XZ,YZ",
     label,
     0,
     {240, 5640, 3012, 612}},
    {id_Frame1,
     "Frame1",
     L"Button",
     L"Ausgabe-Optionen",
     child | BS_GROUPBOX,
     0,
     {240, 2280, 3852, 3132}},
}};

} // namespace

std::span<const ControlPlacement> frm_points_layout() {
    return layout;
}

} // namespace kastrel::app::win32
