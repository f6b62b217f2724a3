#pragma once

// Drives the sd-bus server from the Qt event loop: a socket notifier on the
// bus descriptor, plus a timer for deadlines sd-bus asks for.

#include "vormesa-sim/dbus_server.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

namespace vormesa_sim {

class BusPump : public QObject {
    Q_OBJECT
public:
    explicit BusPump(DbusServer& server, QObject* parent = nullptr);

signals:
    // The bus connection broke; the program cannot go on serving.
    void failed(const QString& message);

private:
    void pump();

    DbusServer& server_;
    QSocketNotifier notifier_;
    QTimer deadline_;
};

} // namespace vormesa_sim
