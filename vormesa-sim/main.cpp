// vormesa-sim: the stand-in for the measuring host Vormesa on Linux.

#include "vormesa-sim/command_line.h"
#include "vormesa-sim/dbus_server.h"
#include "vormesa-sim/host_setup.h"
#include "vormesa-sim/qt/bus_pump.h"
#include "vormesa-sim/qt/main_window.h"
#include "vormesa-sim/qt/quit_on_signal.h"
#include "vormesa-sim/sim_host.h"

#include <QApplication>
#include <QCoreApplication>
#include <fstream>
#include <iostream>
#include <memory>

namespace {

using namespace vormesa_sim;

int run_event_loop(QCoreApplication& app, DbusServer& server, QuitOnSignal& quit_on_signal) {
    quit_on_signal.watch();
    BusPump pump(server);
    int exit_code = 0;
    QObject::connect(&pump, &BusPump::failed, &app, [&](const QString& message) {
        std::cerr << "vormesa-sim: " << message.toStdString() << "\n";
        exit_code = 1;
        app.quit();
    });
    const int rc = app.exec();
    return exit_code != 0 ? exit_code : rc;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const CommandLineError& error) {
        std::cerr << "vormesa-sim: " << error.what() << "\n\n" << usage();
        return 2;
    }
    if (options.help) {
        std::cout << usage();
        return 0;
    }
    // The bus has no type library whose declarations could be chosen.
    if (options.members_as) {
        std::cerr << "vormesa-sim: --members-as gibt es nur beim COM-Server vormesa-sim-win\n\n"
                  << usage();
        return 2;
    }
    // The bus has no way to refuse a call as busy and have it retried.
    if (options.busy_after_calls) {
        std::cerr << "vormesa-sim: --busy-after-calls gibt es nur beim COM-Server "
                     "vormesa-sim-win\n\n"
                  << usage();
        return 2;
    }

    QuitOnSignal quit_on_signal;
    SimHost host;
    std::ofstream call_log;
    if (const auto error = set_up_host(host, options, call_log)) {
        std::cerr << "vormesa-sim: " << *error << "\n";
        return 2;
    }

    std::unique_ptr<DbusServer> server;
    try {
        server = std::make_unique<DbusServer>(host);
        server->request_service_name();
    } catch (const BusError& error) {
        std::cerr << "vormesa-sim: " << error.what() << "\n";
        return 1;
    }

    if (options.no_window) {
        QCoreApplication app(argc, argv);
        std::cerr << "vormesa-sim: bedient ZORVAT.Application (ohne Fenster)\n";
        return run_event_loop(app, *server, quit_on_signal);
    }
    QApplication app(argc, argv);
    MainWindow window(host, *server, QString::fromStdString(options.part_program));
    window.show();
    const int rc = run_event_loop(app, *server, quit_on_signal);
    server->set_window_shown(false);
    return rc;
}
