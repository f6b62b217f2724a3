#include "vormesa-sim/qt/bus_pump.h"

#include <algorithm>

namespace vormesa_sim {

BusPump::BusPump(DbusServer& server, QObject* parent)
    : QObject(parent), server_(server), notifier_(server.fd(), QSocketNotifier::Read) {
    deadline_.setSingleShot(true);
    connect(&notifier_, &QSocketNotifier::activated, this, &BusPump::pump);
    connect(&deadline_, &QTimer::timeout, this, &BusPump::pump);
    // Messages may already wait in sd-bus's buffer from the start-up calls.
    QTimer::singleShot(0, this, &BusPump::pump);
}

void BusPump::pump() {
    try {
        server_.process();
    } catch (const BusError& error) {
        notifier_.setEnabled(false);
        deadline_.stop();
        emit failed(QString::fromStdString(error.what()));
        return;
    }
    if (const auto wait = server_.time_to_deadline()) {
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*wait).count();
        deadline_.start(static_cast<int>(std::min<long long>(ms, 24LL * 3600 * 1000)));
    } else {
        deadline_.stop();
    }
}

} // namespace vormesa_sim
