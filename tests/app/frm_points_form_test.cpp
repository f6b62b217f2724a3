// The one description both windows are built from, against the window's
// control table as the user sees it.

#include "app/form/frm_points_form.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kastrel::app {
namespace {

struct Row {
    const char* name;
    ControlKind kind;
    TwipsRect twips;
    PixelRect at_96; // worked out by hand: each value rounded on its own
    Initially initially;
    const char* caption;
};

using enum ControlKind;
using enum Initially;

// In tab order.
// clang-format off
const Row table[] = {
//   name                   kind            left  top   width height   left top width height  initially
    {"cmd_lesen",           command_button, {480,  240,  2655, 735},  {32,  16,  177, 49},  enabled,
     "Elemente aus offenem Vormesa Programm einlesen"},
    {"cmd_schreiben",       command_button, {480,  1080, 2655, 855},  {32,  72,  177, 57},  disabled,
     "ASCII Datei vom selektierten Merkmal erzeugen"},
    {"List1",               list_box,       {4440, 120,  3255, 4272}, {296, 8,   217, 285}, empty,
     ""},
    // The credit line is ours to word.
    {"Label1",              label,          {5280, 5400, 2292, 372},  {352, 360, 153, 25},  shown,
     nullptr},
    {"cmd_allemarkieren",   command_button, {4440, 4560, 1455, 495},  {296, 304, 97,  33},  disabled,
     "Alle Merkmale selektieren"},
    {"cmd_alledemarkieren", command_button, {6120, 4560, 1455, 495},  {408, 304, 97,  33},  disabled,
     "Alle Merkmale deselektieren"},
    {"Frame1",              frame,          {240,  2280, 3852, 3132}, {16,  152, 257, 209}, shown,
     "Ausgabe-Optionen"},
    {"Option1",             option_button,  {480,  2640, 3492, 372},  {32,  176, 233, 25},  unselected,
     "Polarer Abweichungsvergleich (nur Kreise)"},
    {"Option2",             option_button,  {480,  3120, 3492, 372},  {32,  208, 233, 25},  unselected,
     "Karthesische XY IST-Werte ab Nullpunkt"},
    {"Label2",              label,          {240,  5640, 3012, 612},  {16,  376, 201, 41},  shown,
     "Achtung! Elemente müssen in XY Ebene (ZPLUS) gemessen sein.(Nur erste 3 Optionen. Tarvoll Ausgabe in XY,XZ,YZ"},
    {"Option3",             option_button,  {480,  3600, 3372, 252},  {32,  240, 225, 17},  unselected,
     "Karthesischer Abweichungsvergleich in XY"},
    {"Option4",             option_button,  {480,  3960, 3372, 372},  {32,  264, 225, 25},  unselected,
     "Nr, Polarradius, Winkel, Tiefe, Abstand    (Fa. Tarvoll AG)"},
    {"Check1",              check_box,      {1080, 4440, 2172, 252},  {72,  296, 145, 17},  checked,
     "XY Ebene"},
    {"Check2",              check_box,      {1080, 4680, 2172, 252},  {72,  312, 145, 17},  unchecked,
     "XZ Ebene"},
    {"Check3",              check_box,      {1080, 4920, 2172, 252},  {72,  328, 145, 17},  unchecked,
     "YZ Ebene"},
    {"cmd_auswerten",       command_button, {4440, 5880, 3255, 435},  {296, 392, 217, 29},  disabled,
     "Auswertung anzeigen"},
};
// clang-format on

std::size_t characters(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

TEST(FrmPointsForm, HoldsTheControlTableInTabOrder) {
    const Form& form = frm_points_form();
    EXPECT_STREQ(form.name, "frm_points");
    EXPECT_STREQ(form.stored_caption, "Kastrel");
    EXPECT_EQ(form.client_width_twips, 8004);
    EXPECT_EQ(form.client_height_twips, 6420);
    ASSERT_EQ(form.controls.size(), std::size(table));
    for (std::size_t i = 0; i < std::size(table); ++i) {
        const Row& row = table[i];
        const FormControl& control = form.controls[i];
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(control.name, row.name);
        EXPECT_EQ(control.tab_index, static_cast<int>(i));
        EXPECT_EQ(control.kind, row.kind);
        if (row.caption != nullptr) {
            EXPECT_STREQ(control.caption, row.caption);
        }
        EXPECT_EQ(std::string(control.caption).find('&'), std::string::npos);
        EXPECT_EQ(control.twips, row.twips);
        EXPECT_EQ(to_pixels(control.twips, 96), row.at_96);
        EXPECT_EQ(control.initially, row.initially);
        EXPECT_LE(control.twips.left + control.twips.width, form.client_width_twips);
        EXPECT_LE(control.twips.top + control.twips.height, form.client_height_twips);
    }
    EXPECT_FALSE(std::string(form[Control::Label1].caption).empty());
    // Counted in characters: the unclosed bracket is part of the text.
    EXPECT_EQ(characters(form[Control::Label2].caption), 109u);
}

TEST(FrmPointsForm, OptionsAndCheck1BelongToTheFrameInsideIt) {
    const Form& form = frm_points_form();
    const TwipsRect frame = form[Control::Frame1].twips;
    std::vector<std::string> in_frame;
    for (const FormControl& control : form.controls) {
        if (control.parent != Parent::Frame1)
            continue;
        in_frame.push_back(control.name);
        EXPECT_GE(control.twips.left, frame.left) << control.name;
        EXPECT_GE(control.twips.top, frame.top) << control.name;
        EXPECT_LE(control.twips.left + control.twips.width, frame.left + frame.width)
            << control.name;
        EXPECT_LE(control.twips.top + control.twips.height, frame.top + frame.height)
            << control.name;
    }
    EXPECT_EQ(in_frame,
              (std::vector<std::string>{"Option1", "Option2", "Option3", "Option4", "Check1"}));
}

TEST(FrmPointsForm, NumbersNameTheirControlsAndOthersThrow) {
    EXPECT_EQ(option_control(1), Control::Option1);
    EXPECT_EQ(option_control(4), Control::Option4);
    EXPECT_EQ(check_control(3), Control::Check3);
    EXPECT_EQ(command_control(CommandButton::cmd_alledemarkieren), Control::cmd_alledemarkieren);
    EXPECT_EQ(option_number(Control::Option3), 3);
    EXPECT_EQ(check_number(Control::Check2), 2);
    EXPECT_EQ(check_number(Control::Option2), 0);
    for (const int outside : {0, 5, -1})
        EXPECT_THROW(option_control(outside), std::out_of_range) << outside;
    for (const int outside : {0, 4})
        EXPECT_THROW(check_control(outside), std::out_of_range) << outside;
}

TEST(TwipsToPixels, RoundsToTheNearestPixelHalvesUp) {
    struct Case {
        int twips, dpi, pixels;
    };
    const Case cases[] = {
        {0, 96, 0},       {7, 96, 0},       {8, 96, 1},       {15, 96, 1},
        {2655, 96, 177},  {2655, 144, 266}, {735, 144, 74},   {4272, 96, 285},
        {1440, 120, 120}, {8004, 96, 534},  {8004, 144, 800}, {6420, 192, 856},
        {4440, 144, 444}, {3255, 144, 326}, {3852, 144, 385}, {3132, 144, 313},
    };
    for (const Case& c : cases)
        EXPECT_EQ(twips_to_pixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

TEST(WithoutAccessKeys, DoublesEveryAmpersandAndNothingElse) {
    EXPECT_EQ(without_access_keys("A & B"), "A && B");
    EXPECT_EQ(without_access_keys("&&x&"), "&&&&x&&");
    EXPECT_EQ(without_access_keys("Fläche"), "Fläche");
}

} // namespace
} // namespace kastrel::app
