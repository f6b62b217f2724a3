#pragma once

#include "app/run/progress_view.h"
#include "common/non_copyable.h"

#include <functional>

namespace kastrel::app {

// A window's progress view, for a program that may be told from outside to
// end (a signal, the session ending). A run going on is given up as by its
// cancel button, and the program ends once the run has unwound: its
// temporary file is gone and the target is as it was. Outside a run it ends
// at once.
class EndingProgressView : public ProgressView, private common::NonCopyable {
public:
    explicit EndingProgressView(ProgressView& shown) : shown_(shown) {}

    // How the program ends; it does not return. Until it is set, an end
    // asked for is not followed.
    void set_end(std::function<void()> end) { end_ = std::move(end); }
    void end_requested();
    bool in_run() const { return events_ != nullptr; }

    void begin_run(ProgressEvents& events) override;
    void end_run() override;
    void show_progress() override { shown_.show_progress(); }
    void set_progress(const std::string& line, std::optional<double> fraction) override {
        shown_.set_progress(line, fraction);
    }
    void pump() override { shown_.pump(); }

private:
    ProgressView& shown_;
    std::function<void()> end_;
    ProgressEvents* events_ = nullptr;
    bool requested_ = false;
};

} // namespace kastrel::app
