#pragma once

#include "app/run/progress_view.h"
#include "common/non_copyable.h"
#include "host/connector.h"
#include "host/run_progress.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace kastrel::app {

// One listing or export as the user watches it, for as long as it lives: the
// main window takes no input, the host's waits come here, and once the run
// has gone on for half a second the progress window shows what it does. The
// window is pumped between host calls (at most every pump_interval) and in
// every step of a wait; a cancel ends the run with RunCancelled.
class ProgressRun : public host::RunProgress,
                    public host::CallWait,
                    public ProgressEvents,
                    private common::NonCopyable {
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    enum class Kind { Listing, Export };

    static constexpr std::chrono::milliseconds show_after{500};
    static constexpr std::chrono::milliseconds pump_interval{25};
    static constexpr std::chrono::seconds silent_after{3};

    ProgressRun(Kind kind, ProgressView& view, host::HostConnector& host, Now now = Clock::now);
    ~ProgressRun() override;

    // Ends the run's hold on the windows and the host's waits before the
    // handler reports its outcome; the destructor does it otherwise.
    void finish();

    void listed(int features) override;
    void command_walked() override;
    void feature_started(std::string_view id, int number, int of) override;
    void hit_started(double number, double of) override;

    bool keep_waiting(std::chrono::milliseconds waited, host::Waiting why) noexcept override;

    void cancel_clicked() override { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

    // The progress window's line and bar as they stand.
    std::string line() const;
    std::optional<double> fraction() const;

private:
    // Between host calls: pumps when it is time, then throws if cancelled.
    void between_calls();
    void pump(Clock::time_point now);

    Kind kind_;
    ProgressView& view_;
    host::HostConnector& host_;
    Now now_;
    Clock::time_point started_;
    Clock::time_point last_pump_;
    bool shown_ = false;
    bool cancelled_ = false;
    bool finished_ = false;
    std::optional<host::Waiting> waiting_;

    int listed_ = 0;
    std::string feature_;
    int feature_number_ = 0;
    int feature_of_ = 0;
    double hit_ = 0;
    double hits_of_ = 0;

    std::string shown_line_;
    std::optional<double> shown_fraction_;
};

} // namespace kastrel::app
