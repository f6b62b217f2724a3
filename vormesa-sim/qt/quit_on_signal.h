#pragma once

// Ends the event loop cleanly on SIGTERM or SIGINT, so the bus names are
// released and the call log is complete when a test stops the host.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace vormesa_sim {

class QuitOnSignal : public QObject {
    Q_OBJECT
public:
    // Blocks the signals for the whole process; create it before any thread starts.
    QuitOnSignal();
    ~QuitOnSignal() override;

    // Starts watching; a received signal quits QCoreApplication.
    void watch();

private:
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace vormesa_sim
