// The window's layout in pixels: twips scaled with the display resolution.

#include "app/win32/frm_points_layout.h"
#include "app/win32/twips.h"
#include "app/win32/win32_dialogs.h"
#include "tests/windows_gui/kastrel_session.h"
#include "tests/windows_gui/registry_override.h"

#include <algorithm>
#include <array>

namespace kastrel::wintest {
namespace {

using namespace app::win32;

TEST(TwipsToPixels, RoundsToTheNearestPixelHalvesUp) {
    struct Case {
        int twips, dpi, pixels;
    };
    const Case cases[] = {
        {0, 96, 0},       {7, 96, 0},       {8, 96, 1},       {15, 96, 1},
        {2655, 96, 177},  {2655, 144, 266}, {735, 144, 74},   {4272, 96, 285},
        {1440, 120, 120}, {8004, 96, 534},  {8004, 144, 800}, {6420, 192, 856},
    };
    for (const Case& c : cases)
        EXPECT_EQ(twips_to_pixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

// A literal with its embedded NULs, without the one the compiler adds.
template <std::size_t N> std::wstring with_nuls(const wchar_t (&text)[N]) {
    return std::wstring(text, N - 1);
}

TEST(SaveDialogFilter, PartsEndInNulAndTheListInOneMore) {
    const std::wstring filter = dialog_filter("Excel Werkzeug Korrekturdatei (*.xls)|*.xls");
    // As the dialog reads it: up to and with the terminator c_str() adds.
    EXPECT_EQ(std::wstring(filter.c_str(), filter.size() + 1),
              with_nuls(L"Excel Werkzeug Korrekturdatei (*.xls)\0*.xls\0\0"));
    EXPECT_EQ(dialog_filter("A|*.a|B|*.b"), with_nuls(L"A\0*.a\0B\0*.b\0"));
}

TEST(Layout, EveryControlHasItsOwnIdAndFitsTheClientArea) {
    std::vector<int> ids;
    for (const ControlPlacement& placement : frm_points_layout()) {
        SCOPED_TRACE(placement.name);
        EXPECT_EQ(std::count(ids.begin(), ids.end(), placement.id), 0);
        ids.push_back(placement.id);
        EXPECT_LE(placement.twips.left + placement.twips.width, client_width_twips);
        EXPECT_LE(placement.twips.top + placement.twips.height, client_height_twips);
        EXPECT_EQ(std::wstring(placement.caption).find(L'&'), std::wstring::npos);
    }
    EXPECT_EQ(ids.size(), 15u);
    // The frame is created last: at the bottom of the z-order, below the
    // controls standing over it.
    EXPECT_EQ(frm_points_layout().back().id, id_Frame1);
}

struct Placement {
    int id;
    RECT at_96;
    RECT at_144;
};

// Worked out by hand from the twips: left, top, right, bottom.
const Placement placements[] = {
    {id_cmd_lesen, {32, 16, 32 + 177, 16 + 49}, {48, 24, 48 + 266, 24 + 74}},
    {id_List1, {296, 8, 296 + 217, 8 + 285}, {444, 12, 444 + 326, 12 + 427}},
    {id_Check3, {72, 328, 72 + 145, 328 + 17}, {108, 492, 108 + 217, 492 + 25}},
    {id_Frame1, {16, 152, 16 + 257, 152 + 209}, {24, 228, 24 + 385, 228 + 313}},
};

class ScaledLayout : public KastrelSession, public ::testing::WithParamInterface<int> {};

std::array<LONG, 4> corners(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

TEST_P(ScaledLayout, ControlsAndClientAreaFollowTheResolution) {
    const int dpi = GetParam();
    RegistryOverride resolution(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi));
    ASSERT_NO_FATAL_FAILURE(start({example("bolt_circle_8.json")}));

    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, dpi == 96 ? 534 : 800);
    EXPECT_EQ(client.bottom, dpi == 96 ? 428 : 642);
    for (const Placement& p : placements) {
        SCOPED_TRACE(p.id);
        EXPECT_EQ(corners(rect_in_parent(control(p.id))), corners(dpi == 96 ? p.at_96 : p.at_144));
    }
    // Check2 stands over the frame and takes the click there.
    RECT check2 = rect_in_parent(control(id_Check2));
    POINT inside{(check2.left + check2.right) / 2, (check2.top + check2.bottom) / 2};
    EXPECT_EQ(ChildWindowFromPointEx(window_, inside, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT),
              control(id_Check2));
}

INSTANTIATE_TEST_SUITE_P(Resolutions, ScaledLayout, ::testing::Values(96, 144));

} // namespace
} // namespace kastrel::wintest
