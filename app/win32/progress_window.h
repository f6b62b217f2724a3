#pragma once

#include "app/run/progress_view.h"
#include "app/win32/window_font.h"
#include "common/non_copyable.h"

#include <memory>
#include <windows.h>

namespace kastrel::app::win32 {

// The progress window as a native window, and the main window `main` while a
// run goes on: disabled as a modal dialog's owner is (its controls keep their
// states), its input dropped from the queue, its painting done.
class ProgressWindow : public ProgressView, private common::NonCopyable {
public:
    // The control ids, for the window's own use and for tests.
    static constexpr int line_id = 101;
    static constexpr int bar_id = 102;
    static constexpr int cancel_id = IDCANCEL;

    ProgressWindow(HINSTANCE instance, HWND main);
    ~ProgressWindow() override;

    void begin_run(ProgressEvents& events) override;
    void end_run() override;
    void show_progress() override;
    void set_progress(const std::string& line, std::optional<double> fraction) override;
    void pump() override;

    // Whether a run holds the main window; the main window's close asks for
    // a cancel then.
    bool in_run() const { return events_ != nullptr; }
    void cancel() {
        if (events_)
            events_->cancel_clicked();
    }

private:
    class WindowClass;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    // Input for the main window or its controls, which a run drops.
    bool is_main_window_input(const MSG& message) const;
    void create_window();

    HINSTANCE instance_;
    HWND main_;
    std::unique_ptr<WindowClass> class_;
    HWND window_ = nullptr;
    std::unique_ptr<WindowFont> font_;
    ProgressEvents* events_ = nullptr;
    bool main_was_enabled_ = true;
};

} // namespace kastrel::app::win32
