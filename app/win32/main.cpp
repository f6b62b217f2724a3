// Kastrel for Windows: the window frm_points over the host's COM automation server.

#include "app/batch/batch_run.h"
#include "app/main_window/frm_points.h"
#include "app/system/windows_regional.h"
#include "app/texts/messages.h"
#include "app/win32/attached_console.h"
#include "app/win32/console_stop.h"
#include "app/win32/dpi.h"
#include "app/win32/frm_points_window.h"
#include "app/win32/win32_dialogs.h"
#include "common/com/com_apartment.h"
#include "common/win32/utf16.h"
#include "host/com/com_connector.h"

#include <exception>
#include <shellapi.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

// Tab, arrow keys, Enter and Space move between and press the controls as in a dialog.
int run_message_loop(const kastrel::app::win32::FrmPointsWindow& window) {
    MSG message{};
    for (;;) {
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0)
            return static_cast<int>(message.wParam);
        if (result == -1)
            return 1;
        HWND handle = window.handle();
        if (handle != nullptr && IsDialogMessageW(handle, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The arguments after the program's name, UTF-8.
std::vector<std::string> command_line_arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(kastrel::common::to_utf8(words[i]));
    LocalFree(words);
    return arguments;
}

// With arguments the program runs without a window and without message boxes.
// Ctrl+C or the console closed stops the run first, then ends the program.
int run_command_line(const std::vector<std::string>& arguments) {
    using namespace kastrel;
    app::win32::AttachedConsole console;
    const app::win32::ConsoleStop stop;
    int exit_code = 1;
    try {
        common::com::ComApartment apartment;
        host::com::ComConnector connector;
        exit_code = app::batch::run_command_line(arguments, "Kastrel.exe", connector, console,
                                                 user_decimal_separator(),
                                                 [&stop] { return stop.requested(); });
    } catch (const std::exception& error) {
        console.err(app::internal_error_text(error));
    }
    return stop.requested() ? static_cast<int>(app::win32::ConsoleStop::stopped_exit_code)
                            : exit_code;
}

int run_window(HINSTANCE instance, int show_command) {
    using namespace kastrel;
    app::win32::become_dpi_aware();
    common::com::ComApartment apartment;
    host::com::ComConnector connector;
    app::win32::FrmPointsWindow window(instance);
    app::FrmPoints logic(window, connector);
    window.set_events(&logic);

    logic.Form_Load();
    // The load step may already have ended the program.
    if (const auto code = window.exit_code())
        return *code;
    window.show(show_command);
    const int loop_result = run_message_loop(window);
    return window.exit_code().value_or(loop_result);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    if (const auto arguments = command_line_arguments(); !arguments.empty())
        return run_command_line(arguments);
    try {
        return run_window(instance, show_command);
    } catch (const std::exception& error) {
        // Nothing to return to: COM or the window could not be set up.
        kastrel::app::win32::show_message_box(nullptr, kastrel::app::internal_error_text(error));
        return 1;
    }
}
