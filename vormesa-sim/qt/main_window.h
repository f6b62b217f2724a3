#pragma once

// Vormesa's main window: shows the active part program and lets the user
// open or close one. Owns the window bus name while it is shown.

#include "vormesa-sim/dbus_server.h"
#include "vormesa-sim/sim_host.h"

#include <QMainWindow>
#include <QString>

class QLabel;
class QTreeWidget;

namespace vormesa_sim {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `file` is where the already active part program came from, if any.
    MainWindow(SimHost& host, DbusServer& server, const QString& file);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void open_part_program();
    void close_part_program();
    void refresh();
    void update_status();

    SimHost& host_;
    DbusServer& server_;
    QString file_;
    QTreeWidget* tree_;
    QLabel* status_;
};

} // namespace vormesa_sim
