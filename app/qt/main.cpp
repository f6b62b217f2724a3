#include "app/batch/batch_run.h"
#include "app/batch/stream_console.h"
#include "app/frm_points.h"
#include "app/messages.h"
#include "app/program_identity.h"
#include "app/qt/frm_points_window.h"
#include "app/qt/kastrel_icon.h"
#include "app/qt/regional.h"
#include "host/dbus/dbus_connector.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>
#include <string>
#include <vector>

namespace {

// With arguments the program runs without a window; no QApplication is made,
// so no display is needed.
int run_command_line(int argc, char* argv[]) {
    kastrel::app::batch::StreamConsole console;
    try {
        kastrel::host::dbus::DbusConnector connector;
        return kastrel::app::batch::run_command_line(
            std::vector<std::string>(argv + 1, argv + argc), "kastrel", connector, console,
            kastrel::app::qt::user_decimal_separator());
    } catch (const std::exception& error) {
        console.err(kastrel::app::internal_error_text(error));
        return 1;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1)
        return run_command_line(argc, argv);
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
