#pragma once

#include <optional>
#include <string>

namespace kastrel::app {

// What the progress window reports to its logic.
class ProgressEvents {
public:
    virtual ~ProgressEvents() = default;
    // "Abbrechen", Escape, or the window closed.
    virtual void cancel_clicked() = 0;
};

// The progress window and the main window while a run goes on, as a toolkit
// draws them; the logic (when it shows, its texts, cancel) is ProgressRun's.
class ProgressView {
public:
    virtual ~ProgressView() = default;

    // From here until end_run() the main window takes no input: what arrives
    // for it is dropped, not kept for later. It still paints.
    virtual void begin_run(ProgressEvents& events) = 0;
    // Takes the progress window away if it is shown, drops the main window's
    // input that arrived meanwhile and gives it its input back.
    virtual void end_run() = 0;

    // Shows the progress window, modal over the main window: the title
    // "Sarvinet", a line, a bar and one button "Abbrechen".
    virtual void show_progress() = 0;
    // The line (which may hold a line break) and how far the bar is, 0..1;
    // no fraction: a bar without an end.
    virtual void set_progress(const std::string& line, std::optional<double> fraction) = 0;
    // Handles what has arrived without waiting: painting of both windows, the
    // progress window's input (which may report cancel_clicked()).
    virtual void pump() = 0;
};

} // namespace kastrel::app
