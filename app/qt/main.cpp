#include "app/batch/batch_run.h"
#include "app/batch/stream_console.h"
#include "app/main_window/frm_points.h"
#include "app/qt/frm_points_window.h"
#include "app/qt/kastrel_icon.h"
#include "app/qt/regional.h"
#include "app/system/posix/end_signals.h"
#include "app/texts/messages.h"
#include "app/texts/program_identity.h"
#include "host/dbus/dbus_connector.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSocketNotifier>
#include <QTranslator>
#include <exception>
#include <string>
#include <vector>

namespace {

// With arguments the program runs without a window; no QApplication is made,
// so no display is needed. A signal that would end it stops the run first.
int run_command_line(int argc, char* argv[], const kastrel::app::EndSignals& end_signals) {
    kastrel::app::batch::StreamConsole console;
    int exit_code = 1;
    try {
        kastrel::host::dbus::DbusConnector connector;
        exit_code = kastrel::app::batch::run_command_line(
            std::vector<std::string>(argv + 1, argv + argc), "kastrel", connector, console,
            kastrel::app::qt::user_decimal_separator(),
            [&end_signals] { return end_signals.received() != 0; });
    } catch (const std::exception& error) {
        console.err(kastrel::app::internal_error_text(error));
    }
    if (end_signals.received() != 0)
        end_signals.end_as_signalled();
    return exit_code;
}

} // namespace

int main(int argc, char* argv[]) {
    const kastrel::app::EndSignals end_signals;
    if (argc > 1)
        return run_command_line(argc, argv, end_signals);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(kastrel::app::identity::program_name));
    QApplication::setWindowIcon(kastrel::app::qt::kastrel_icon());
    // The program speaks German, so Qt's own dialogs (Save, overwrite question) do too.
    QTranslator qt_texts;
    if (qt_texts.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qt_texts);

    kastrel::app::qt::FrmPointsWindow window;
    kastrel::host::dbus::DbusConnector connector;
    kastrel::app::FrmPoints logic(window, connector);
    window.set_events(&logic);
    // A signal ends the program as it would have, once a run going on has given up.
    window.end_requests().set_end([&end_signals] { end_signals.end_as_signalled(); });
    QSocketNotifier signalled(end_signals.wake_fd(), QSocketNotifier::Read);
    QObject::connect(&signalled, &QSocketNotifier::activated, &window, [&] {
        end_signals.drain_wake();
        window.end_requests().end_requested();
    });
    QObject::connect(&window, &kastrel::app::qt::FrmPointsWindow::programEnded, &app,
                     [](int code) { QCoreApplication::exit(code); });

    logic.Form_Load();
    // The load step may already have ended the program; no loop runs yet to end.
    if (const auto code = window.exit_code()) {
        return *code;
    }
    window.show();
    const int loop_result = QApplication::exec();
    return window.exit_code().value_or(loop_result);
}
