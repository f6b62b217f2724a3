#include "app/run/ending_progress_view.h"

namespace kastrel::app {

void EndingProgressView::end_requested() {
    if (!end_)
        return;
    requested_ = true;
    if (events_ != nullptr)
        events_->cancel_clicked();
    else
        end_();
}

void EndingProgressView::begin_run(ProgressEvents& events) {
    events_ = &events;
    shown_.begin_run(events);
}

void EndingProgressView::end_run() {
    shown_.end_run();
    events_ = nullptr;
    if (requested_)
        end_();
}

} // namespace kastrel::app
