#include "app/win32/evaluation_window.h"

#include "app/win32/dpi.h"
#include "common/win32/utf16.h"

#include <algorithm>
#include <commctrl.h>

namespace kastrel::app::win32 {
namespace {

constexpr const wchar_t* class_name = L"KastrelAuswertung";
constexpr const wchar_t* plot_class_name = L"KastrelPolarPlot";
constexpr DWORD window_style = WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX;
// The client area at 96 DPI at the start; the parts are laid out from it.
constexpr SIZE client_size{1040, 480};
constexpr int margin = 8;
constexpr int button_width = 90;
constexpr int button_height = 26;
constexpr int plot_share_percent = 38;

int scaled(int value, int dpi) {
    return MulDiv(value, dpi, 96);
}

HWND create_child(HWND parent, HINSTANCE instance, const wchar_t* window_class, const wchar_t* text,
                  DWORD style, DWORD ex_style, int id) {
    return CreateWindowExW(ex_style, window_class, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           nullptr);
}

// The workbook chart's colours and widths (points at 96 dpi).
struct Line {
    COLORREF colour;
    int width_hundredths; // in points
    int style;
};
constexpr Line zone{RGB(0xC0, 0x00, 0x00), 50, PS_DASH};
constexpr Line reference{RGB(0x80, 0x80, 0x80), 75, PS_SOLID};
constexpr Line form{RGB(0x1F, 0x4E, 0x79), 175, PS_SOLID};

// A GDI pen, given back when it goes.
class ScopedPen : private common::NonCopyable {
public:
    ScopedPen(HDC dc, const Line& line, int dpi) : dc_(dc) {
        const int width = std::max(1, MulDiv(line.width_hundredths, dpi, 72 * 100));
        // A dashed pen must be one pixel wide; a wider one draws solid.
        pen_ = CreatePen(line.style == PS_DASH ? PS_DASH : PS_SOLID,
                         line.style == PS_DASH ? 1 : width, line.colour);
        old_ = SelectObject(dc_, pen_);
    }
    ~ScopedPen() {
        SelectObject(dc_, old_);
        DeleteObject(pen_);
    }

private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ old_;
};

void draw(HDC dc, const std::vector<exporter::PlanePoint>& points, double cx, double cy,
          double scale, const Line& line, int dpi) {
    if (points.empty())
        return;
    const ScopedPen pen(dc, line, dpi);
    std::vector<POINT> at;
    at.reserve(points.size());
    for (const exporter::PlanePoint& p : points)
        // y up, as on the chart.
        at.push_back({static_cast<LONG>(cx + p.first * scale + 0.5),
                      static_cast<LONG>(cy - p.second * scale + 0.5)});
    Polyline(dc, at.data(), static_cast<int>(at.size()));
}

} // namespace

EvaluationWindow32::EvaluationWindow32(HINSTANCE instance, HWND owner,
                                       const std::vector<exporter::RoundnessRow>& rows,
                                       const std::string& decimal_separator)
    : instance_(instance), owner_(owner),
      class_(instance, class_name, &EvaluationWindow32::procedure,
             "window class of the evaluation window cannot be registered"),
      plot_class_(instance, plot_class_name, &EvaluationWindow32::plot_procedure,
                  "window class of the polar plot cannot be registered"),
      logic_(*this, rows, decimal_separator) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    dpi_ = owner_ != nullptr ? window_dpi(owner_) : 96;
    const SIZE size = window_size_for_client(
        {scaled(client_size.cx, dpi_), scaled(client_size.cy, dpi_)}, window_style, 0, dpi_);
    window_ = CreateWindowExW(0, class_name, L"", window_style, CW_USEDEFAULT, CW_USEDEFAULT,
                              size.cx, size.cy, owner_, nullptr, instance_, this);
    if (window_ == nullptr)
        throw std::runtime_error("evaluation window cannot be created");
    font_ = std::make_unique<WindowFont>(dpi_);
    table_ = create_child(window_, instance_, WC_LISTVIEWW, L"",
                          WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                          WS_EX_CLIENTEDGE, evaluation_table_id);
    SendMessageW(table_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    plot_ = create_child(window_, instance_, plot_class_name, L"", 0, 0, evaluation_plot_id);
    SetWindowLongPtrW(plot_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    copy_ = create_child(window_, instance_, L"BUTTON", L"Kopieren",
                         WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0, evaluation_copy_id);
    close_ = create_child(window_, instance_, L"BUTTON", L"Schließen",
                          WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, IDCANCEL);
    for (HWND child : {table_, plot_, copy_, close_})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), TRUE);
    logic_.open();
    lay_out();
}

EvaluationWindow32::~EvaluationWindow32() {
    if (window_ != nullptr)
        DestroyWindow(window_);
}

void EvaluationWindow32::run_modal() {
    const bool owner_was_enabled = owner_ != nullptr && !EnableWindow(owner_, FALSE);
    open_ = true;
    ShowWindow(window_, SW_SHOW);
    SetFocus(table_);
    MSG message;
    while (open_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the loop that ends it gets the quit.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0)
            break;
        if (message.message == WM_KEYDOWN && message.wParam == 'C' &&
            (GetKeyState(VK_CONTROL) & 0x8000) != 0 && IsChild(window_, message.hwnd)) {
            logic_.copy_clicked();
            continue;
        }
        if (IsDialogMessageW(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The owner first, so that activation goes back to it.
    if (owner_ != nullptr)
        EnableWindow(owner_, owner_was_enabled ? TRUE : FALSE);
    ShowWindow(window_, SW_HIDE);
}

void EvaluationWindow32::set_title(const std::string& title) {
    SetWindowTextW(window_, common::to_utf16(title).c_str());
}

void EvaluationWindow32::set_table(const std::vector<std::string>& titles,
                                   const std::vector<std::vector<std::string>>& rows) {
    filling_ = true;
    SendMessageW(table_, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t c = 0; c < titles.size(); ++c) {
        std::wstring text = common::to_utf16(titles[c]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        // Texts (ID, plane) to the left, numbers to the right.
        column.fmt = c < 2 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        column.cx = scaled(80, dpi_);
        column.pszText = text.data();
        SendMessageW(table_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            std::wstring text = common::to_utf16(rows[r][c]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(c);
            item.pszText = text.data();
            SendMessageW(table_, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, r,
                         reinterpret_cast<LPARAM>(&item));
        }
    for (std::size_t c = 0; c < titles.size(); ++c)
        SendMessageW(table_, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
    filling_ = false;
}

void EvaluationWindow32::select_row(int row) {
    filling_ = true;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(table_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageW(table_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    filling_ = false;
}

void EvaluationWindow32::show_plot(const PlotPicture& picture) {
    picture_ = picture;
    SetWindowTextW(plot_, common::to_utf16(picture_.title).c_str());
    InvalidateRect(plot_, nullptr, TRUE);
}

void EvaluationWindow32::set_clipboard_text(const std::string& text) {
    // Windows' text on the clipboard ends its lines with CR LF.
    std::wstring wide;
    for (const wchar_t c : common::to_utf16(text)) {
        if (c == L'\n')
            wide.push_back(L'\r');
        wide.push_back(c);
    }
    if (!OpenClipboard(window_))
        return;
    EmptyClipboard();
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::copy_n(wide.c_str(), wide.size() + 1, static_cast<wchar_t*>(target));
            GlobalUnlock(memory);
            // The clipboard owns the memory once it has taken it.
            if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr)
                GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

void EvaluationWindow32::close() {
    open_ = false;
}

void EvaluationWindow32::lay_out() {
    RECT client;
    GetClientRect(window_, &client);
    const int m = scaled(margin, dpi_);
    const int bw = scaled(button_width, dpi_);
    const int bh = scaled(button_height, dpi_);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int body = std::max(0, height - bh - 3 * m);
    const int plot_width = width * plot_share_percent / 100;
    const int table_width = std::max(0, width - plot_width - 3 * m);
    MoveWindow(table_, m, m, table_width, body, TRUE);
    MoveWindow(plot_, 2 * m + table_width, m, plot_width, body, TRUE);
    MoveWindow(close_, width - m - bw, height - m - bh, bw, bh, TRUE);
    MoveWindow(copy_, width - 2 * (m + bw), height - m - bh, bw, bh, TRUE);
}

void EvaluationWindow32::paint_plot(HDC dc, const RECT& area) const {
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const HGDIOBJ old_font = SelectObject(dc, font_->handle());
    SetBkMode(dc, TRANSPARENT);
    RECT title = area;
    InflateRect(&title, -scaled(6, dpi_), -scaled(6, dpi_));
    const std::wstring title_text = common::to_utf16(picture_.title);
    RECT measured = title;
    DrawTextW(dc, title_text.c_str(), -1, &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    title.bottom = title.top + (measured.bottom - measured.top);
    DrawTextW(dc, title_text.c_str(), -1, &title, DT_CENTER | DT_WORDBREAK);
    RECT plot_area = area;
    InflateRect(&plot_area, -scaled(6, dpi_), -scaled(6, dpi_));
    plot_area.top = title.bottom + scaled(6, dpi_);
    if (!picture_.plot) {
        const std::wstring text = common::to_utf16(picture_.no_plot_text);
        DrawTextW(dc, text.c_str(), -1, &plot_area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else if (picture_.plot->extent > 0) {
        const exporter::PolarPlot& plot = *picture_.plot;
        const int side =
            std::min(plot_area.right - plot_area.left, plot_area.bottom - plot_area.top);
        if (side > 0) {
            // One scale for both axes, so that a round form looks round.
            const double scale = side / (2 * plot.extent);
            const double cx = (plot_area.left + plot_area.right) / 2.0;
            const double cy = (plot_area.top + plot_area.bottom) / 2.0;
            draw(dc, plot.inner, cx, cy, scale, zone, dpi_);
            draw(dc, plot.outer, cx, cy, scale, zone, dpi_);
            draw(dc, plot.circle, cx, cy, scale, reference, dpi_);
            draw(dc, plot.form, cx, cy, scale, form, dpi_);
        }
    }
    SelectObject(dc, old_font);
}

LRESULT CALLBACK EvaluationWindow32::plot_procedure(HWND window, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
    auto* self = reinterpret_cast<EvaluationWindow32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_PAINT && self != nullptr) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        self->paint_plot(dc, area);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK EvaluationWindow32::procedure(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<EvaluationWindow32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ == nullptr)
        return DefWindowProcW(window, message, wparam, lparam);
    return self->handle_message(message, wparam, lparam);
}

LRESULT EvaluationWindow32::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_SIZE:
        lay_out();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
        limits->ptMinTrackSize = {scaled(480, dpi_), scaled(300, dpi_)};
        return 0;
    }
    case WM_CLOSE:
        logic_.close_clicked();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDCANCEL)
            logic_.close_clicked();
        else if (LOWORD(wparam) == evaluation_copy_id)
            logic_.copy_clicked();
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header->hwndFrom == table_ && header->code == LVN_ITEMCHANGED && !filling_) {
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lparam);
            if ((change->uChanged & LVIF_STATE) != 0 &&
                (change->uNewState & LVIS_SELECTED) != (change->uOldState & LVIS_SELECTED))
                logic_.row_selected(static_cast<int>(
                    SendMessageW(table_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
        }
        return 0;
    }
    default:
        return DefWindowProcW(window_, message, wparam, lparam);
    }
}

} // namespace kastrel::app::win32
