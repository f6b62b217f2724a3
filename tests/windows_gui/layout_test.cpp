// The native window's controls: the ones the form describes, in twips scaled
// with the display resolution.

#include "app/form/frm_points_form.h"
#include "app/win32/frm_points_layout.h"
#include "app/win32/win32_dialogs.h"
#include "app/win32/window_font.h"
#include "tests/windows_gui/kastrel_session.h"
#include "tests/windows_gui/registry_override.h"

#include <algorithm>
#include <array>

namespace kastrel::wintest {
namespace {

using namespace app;
using namespace app::win32;

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

TEST(CreationOrder, TabOrderFirstThenLabelsThenTheFrameAtTheBottom) {
    const std::span<const Control> order = creation_order();
    ASSERT_EQ(order.size(), static_cast<std::size_t>(control_count));
    std::vector<int> ids;
    for (const Control control : order) {
        ids.push_back(control_id(control));
        EXPECT_EQ(control_with_id(control_id(control)), control);
    }
    // The ids tests and tools know the controls by.
    EXPECT_EQ(control_id(Control::cmd_lesen), 101);
    EXPECT_EQ(control_id(Control::Check3), 112);
    EXPECT_EQ(control_id(Control::Frame1), 115);
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_EQ(control_with_id(IDOK), std::nullopt);
    EXPECT_EQ(control_id(Control::cmd_auswerten), 116);
    EXPECT_EQ(control_with_id(117), std::nullopt);
    // Below the controls standing over it; the button added later stands clear of it.
    EXPECT_EQ(order[order.size() - 2], Control::Frame1);
    EXPECT_EQ(order.back(), Control::cmd_auswerten);
}

std::wstring expected_class(ControlKind kind) {
    switch (kind) {
    case ControlKind::list_box:
        return L"ListBox";
    case ControlKind::label:
        return L"Static";
    default:
        return L"Button";
    }
}

std::array<LONG, 4> corners(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

std::array<LONG, 4> corners(const PixelRect& r) {
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}

class ScaledLayout : public KastrelSession, public ::testing::WithParamInterface<int> {};

TEST_P(ScaledLayout, ControlsAreTheOnesTheFormDescribesAtTheResolution) {
    const int dpi = GetParam();
    RegistryOverride resolution(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi));
    ASSERT_NO_FATAL_FAILURE(start({example("bolt_circle_8.json")}));

    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, dpi == 96 ? 534 : 800);
    EXPECT_EQ(client.bottom, dpi == 96 ? 428 : 642);
    for (const FormControl& described : frm_points_form().controls) {
        SCOPED_TRACE(described.name);
        HWND item = control(described.control);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(GetParent(item), window_);
        EXPECT_EQ(class_name(item), expected_class(described.kind));
        EXPECT_EQ(to_utf8(window_text(item)), described.caption);
        EXPECT_EQ(corners(rect_in_parent(item)), corners(to_pixels(described.twips, dpi)));
        // The load step has selected Option4 and only that; nothing else changed yet.
        EXPECT_EQ(IsWindowEnabled(item) != FALSE, described.initially != Initially::disabled);
        if (described.kind == ControlKind::check_box) {
            EXPECT_EQ(is_checked(item), described.initially == Initially::checked);
        }
    }
    // Check2 stands over the frame and takes the click there.
    RECT check2 = rect_in_parent(control(Control::Check2));
    POINT inside{(check2.left + check2.right) / 2, (check2.top + check2.bottom) / 2};
    EXPECT_EQ(ChildWindowFromPointEx(window_, inside, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT),
              control(Control::Check2));
}

// The room a control leaves its caption, and whether it wraps the caption
// (as the control draws it: buttons inside their edge, check and option
// boxes beside their box, the frame's caption on its top line).
struct CaptionRoom {
    RECT room;
    bool wraps;
};

CaptionRoom caption_room(ControlKind kind, RECT client, int dpi) {
    const auto px = [dpi](int at_96) { return MulDiv(at_96, dpi, 96); };
    switch (kind) {
    case ControlKind::command_button:
        InflateRect(&client, -px(3), -px(3));
        return {client, true};
    case ControlKind::option_button:
    case ControlKind::check_box:
        client.left += px(13) + px(4);
        return {client, kind == ControlKind::option_button};
    case ControlKind::frame:
        InflateRect(&client, -px(8), 0);
        return {client, false};
    default:
        return {client, true};
    }
}

// Every caption, measured with the font the control draws it in, fits its
// control: no word wider than the room, no line's letters below its bottom.
// The leading above the first line is for accents on capitals, which no
// caption has, so it may fall outside.
TEST_P(ScaledLayout, EveryCaptionFitsItsControlAtTheResolution) {
    const int dpi = GetParam();
    RegistryOverride resolution(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi));
    ASSERT_NO_FATAL_FAILURE(start({example("bolt_circle_8.json")}));

    // The window's font, made here as the window makes it: a font handle
    // is of no use in another process.
    const WindowFont font(dpi);
    LOGFONTW font_description{};
    GetObjectW(font.handle(), sizeof(font_description), &font_description);
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font.handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    for (const FormControl& described : frm_points_form().controls) {
        if (*described.caption == '\0')
            continue;
        SCOPED_TRACE(described.name);
        HWND item = control(described.control);
        std::wstring text = window_text(item);
        EXPECT_EQ(text.find_first_of(L"ÄÖÜÀÁÉÈ"), std::wstring::npos);

        RECT client{};
        GetClientRect(item, &client);
        const auto [room, wraps] = caption_room(described.kind, client, dpi);
        const bool label = described.kind == ControlKind::label;
        RECT needed{0, 0, room.right - room.left, 0};
        DrawTextW(screen, text.data(), static_cast<int>(text.size()), &needed,
                  DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE) | (label ? DT_NOPREFIX : 0));
        EXPECT_LE(needed.right - needed.left, room.right - room.left)
            << "font " << to_utf8(font_description.lfFaceName) << " " << font_description.lfHeight;
        EXPECT_LE(needed.bottom - needed.top - metrics.tmInternalLeading, room.bottom - room.top)
            << "font " << to_utf8(font_description.lfFaceName) << " " << font_description.lfHeight;
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, ScaledLayout, ::testing::Values(96, 144));

} // namespace
} // namespace kastrel::wintest
