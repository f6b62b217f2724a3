#include "app/run/progress_run.h"

#include "app/system/diagnostic_log.h"
#include "app/texts/messages.h"

#include <algorithm>

namespace kastrel::app {

ProgressRun::ProgressRun(Kind kind, ProgressView& view, host::HostConnector& host, Now now)
    : kind_(kind), view_(view), host_(host), now_(std::move(now)), started_(now_()),
      last_pump_(started_) {
    view_.begin_run(*this);
    host_.set_call_wait(this);
}

ProgressRun::~ProgressRun() {
    finish();
}

void ProgressRun::finish() {
    if (finished_)
        return;
    finished_ = true;
    host_.set_call_wait(nullptr);
    view_.end_run();
}

void ProgressRun::listed(int features) {
    listed_ = features;
    between_calls();
}

void ProgressRun::command_walked() {
    between_calls();
}

void ProgressRun::feature_started(std::string_view id, int number, int of) {
    feature_ = std::string(id);
    feature_number_ = number;
    feature_of_ = of;
    hit_ = 0;
    hits_of_ = 0;
    between_calls();
}

void ProgressRun::hit_started(double number, double of) {
    hit_ = number;
    hits_of_ = of;
    between_calls();
}

void ProgressRun::between_calls() {
    // A report means the host has answered.
    waiting_.reset();
    const Clock::time_point now = now_();
    if (now - last_pump_ >= pump_interval)
        pump(now);
    if (cancelled_)
        throw host::RunCancelled();
}

bool ProgressRun::keep_waiting(std::chrono::milliseconds waited, host::Waiting why) noexcept {
    const std::optional<host::Waiting> before = waiting_;
    if (why == host::Waiting::HostBusy || waited >= silent_after)
        waiting_ = why;
    else
        waiting_.reset();
    try {
        if (waiting_ && waiting_ != before)
            write_diagnostic(why == host::Waiting::HostBusy
                                 ? "Vormesa ist beschäftigt; der Aufruf wird wiederholt"
                                 : "Vormesa antwortet seit 3 s nicht; es wird weiter gewartet");
        pump(now_());
    } catch (...) {
        // Nothing may leave a wait; the toolkit has reported its fault already.
    }
    return !cancelled_;
}

void ProgressRun::pump(Clock::time_point now) {
    last_pump_ = now;
    if (!shown_ && now - started_ >= show_after) {
        view_.show_progress();
        shown_ = true;
    }
    if (shown_) {
        std::string text = line();
        const std::optional<double> bar = fraction();
        if (text != shown_line_ || bar != shown_fraction_) {
            view_.set_progress(text, bar);
            shown_line_ = std::move(text);
            shown_fraction_ = bar;
        }
    }
    view_.pump();
}

std::string ProgressRun::line() const {
    if (waiting_ == host::Waiting::HostBusy)
        return message::progress_host_busy;
    if (waiting_ == host::Waiting::ForAnswer)
        return message::progress_host_silent;
    if (kind_ == Kind::Listing)
        return progress_listing_text(listed_);
    if (feature_number_ == 0)
        return message::progress_searching;
    std::string text = progress_feature_text(feature_, feature_number_, feature_of_);
    if (hits_of_ > 0)
        text += "\n" + progress_hit_text(hit_, hits_of_);
    return text;
}

std::optional<double> ProgressRun::fraction() const {
    // The listing does not ask the host how many commands there are.
    if (kind_ == Kind::Listing || feature_number_ == 0 || feature_of_ <= 0)
        return std::nullopt;
    const double within = hits_of_ > 0 ? std::clamp((hit_ - 1) / hits_of_, 0.0, 1.0) : 0.0;
    return std::clamp((feature_number_ - 1 + within) / feature_of_, 0.0, 1.0);
}

} // namespace kastrel::app
