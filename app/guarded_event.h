#pragma once

#include "app/main_window_view.h"

#include <exception>
#include <string>

namespace kastrel::app {

// Runs one event handler of a window. The last line of defence: a fault no
// handler expected is shown, never passed over, and the window stays usable
// instead of the program ending.
template <typename Handler> void run_guarded(MainWindowView& view, Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        view.set_pointer(Pointer::Arrow);
        view.show_message(std::string("Interner Fehler: ") + error.what());
    }
}

} // namespace kastrel::app
