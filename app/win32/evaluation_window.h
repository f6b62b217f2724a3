#pragma once

#include "app/evaluation/evaluation_view.h"
#include "app/evaluation/evaluation_window.h"
#include "app/win32/registered_window_class.h"
#include "app/win32/window_font.h"
#include "common/non_copyable.h"

#include <memory>
#include <string>
#include <vector>
#include <windows.h>

namespace kastrel::app::win32 {

// Child ids of the window "Auswertung", for tests and tools.
inline constexpr int evaluation_table_id = 201;
inline constexpr int evaluation_plot_id = 202;
inline constexpr int evaluation_copy_id = 203;
// "Schließen" is IDCANCEL: Escape and the close box do the same.

// The window "Auswertung" as a native window, modal over its owner: a
// report-style list view of the rows, the selected row's polar plot painted
// with GDI beside it, "Kopieren" and "Schließen". EvaluationWindow is its
// logic.
class EvaluationWindow32 : public EvaluationView, private common::NonCopyable {
public:
    EvaluationWindow32(HINSTANCE instance, HWND owner,
                       const std::vector<exporter::RoundnessRow>& rows,
                       const std::string& decimal_separator);
    ~EvaluationWindow32() override;

    // Shows the window and returns when it is closed.
    void run_modal();

private:
    // Ends run_modal's loop.
    void close() override;
    // CF_UNICODETEXT, its lines ended by CR LF as Windows programs paste them.
    void set_clipboard_text(const std::string& text) override;
    void set_title(const std::string& title) override;
    void set_table(const std::vector<std::string>& titles,
                   const std::vector<std::vector<std::string>>& rows) override;
    void select_row(int row) override;
    void show_plot(const PlotPicture& picture) override;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK plot_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
    void paint_plot(HDC dc, const RECT& area) const;
    void lay_out();

    HINSTANCE instance_;
    HWND owner_;
    RegisteredWindowClass class_;
    RegisteredWindowClass plot_class_;
    HWND window_ = nullptr;
    HWND table_ = nullptr;
    HWND plot_ = nullptr;
    HWND copy_ = nullptr;
    HWND close_ = nullptr;
    int dpi_ = 96;
    std::unique_ptr<WindowFont> font_;
    PlotPicture picture_;
    bool filling_ = false; // the table's own notifications while it is filled
    bool open_ = false;
    app::EvaluationWindow logic_;
};

} // namespace kastrel::app::win32
