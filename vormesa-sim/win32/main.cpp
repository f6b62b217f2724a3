// vormesa-sim-win: the stand-in for the measuring host Vormesa on Windows, a
// local COM server for ZORVAT.Application.

#include "common/com/com_apartment.h"
#include "common/win32/utf16.h"
#include "vormesa-sim/command_line.h"
#include "vormesa-sim/host_setup.h"
#include "vormesa-sim/sim_host.h"
#include "vormesa-sim/win32/application_factory.h"
#include "vormesa-sim/win32/busy_filter.h"
#include "vormesa-sim/win32/host_window.h"
#include "vormesa-sim/win32/registration.h"
#include "vormesa-sim/win32/server_ids.h"
#include "vormesa-sim/win32/type_library.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <optional>
#include <shellapi.h>
#include <windows.h>

namespace {

using namespace vormesa_sim;
using namespace vormesa_sim::win32;

const char* const usage_text =
    "Aufruf: vormesa-sim-win [--no-window] [--call-log DATEI]\n"
    "                        [--members-as properties|methods]\n"
    "                        [--fail-from-call N --fail-with HRESULT]\n"
    "                        [--call-delay-ms N] [--hang-after-calls N]\n"
    "                        [--busy-after-calls N --busy-ms M]\n"
    "                        [--close-program-at-call N] [TEILEPROGRAMM.json]\n"
    "        vormesa-sim-win /regserver | /unregserver\n"
    "\n"
    "Spielt den Messhost Vormesa und stellt sein Automatisierungs-Objektmodell\n"
    "als lokaler COM-Server für ZORVAT.Application bereit.\n"
    "\n"
    "  --no-window        ohne Hauptfenster\n"
    "  --call-log DATEI   jeden empfangenen Aufruf als Zeile in DATEI schreiben\n"
    "  --members-as properties|methods\n"
    "                     Member ohne Argumente in der Typbibliothek als\n"
    "                     Eigenschaften (Vorgabe) oder als Methoden deklarieren;\n"
    "                     GetHit ist immer eine Methode\n"
    "  --fail-from-call N ab dem N-ten Aufruf (ab 0, wie im Aufrufprotokoll gezählt)\n"
    "                     jeden Aufruf mit HRESULT beantworten (ohne: ab Aufruf 0)\n"
    "  --fail-with HRESULT das Ergebnis der Aufrufe, z. B. 0x80010108\n"
    "  --call-delay-ms N  jeden Aufruf N ms später beantworten\n"
    "  --hang-after-calls N\n"
    "                     nach N Aufrufen keinen mehr beantworten (bis zum Ende)\n"
    "  --busy-after-calls N --busy-ms M\n"
    "                     nach N Aufrufen M ms lang jeden Aufruf als beschäftigt\n"
    "                     abweisen (SERVERCALL_RETRYLATER)\n"
    "  --close-program-at-call N\n"
    "                     das Teileprogramm schließen, wenn der N-te Aufruf kommt;\n"
    "                     Aufrufe auf seine Objekte scheitern dann mit\n"
    "                     RPC_E_DISCONNECTED (0x80010108)\n"
    "  /regserver         als Server von ZORVAT.Application eintragen (HKLM)\n"
    "  /unregserver       den Eintrag entfernen\n"
    "\n"
    "Ohne TEILEPROGRAMM ist kein Teileprogramm aktiv.\n";

std::vector<std::string> command_line_arguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> result;
    for (int i = 1; i < count; ++i)
        result.push_back(kastrel::common::to_utf8(arguments[i]));
    LocalFree(arguments);
    return result;
}

// "/Name" or "-Name", in any case, as COM and installers write switches.
bool is_switch(const std::string& arg, std::string_view name) {
    if (arg.size() != name.size() + 1 || (arg[0] != '/' && arg[0] != '-'))
        return false;
    return std::equal(name.begin(), name.end(), arg.begin() + 1, [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

// Removes the switch COM adds when it starts the server; true when it was there.
bool take_switch(std::vector<std::string>& args, std::string_view name) {
    const auto it = std::find_if(args.begin(), args.end(),
                                 [&](const std::string& arg) { return is_switch(arg, name); });
    if (it == args.end())
        return false;
    args.erase(it);
    return true;
}

int run_registration(const std::string& error) {
    if (error.empty())
        return 0;
    std::cerr << "vormesa-sim-win: " << error << "\n";
    return 1;
}

// Tells the program that started this server that its class object is there.
void signal_ready() {
    const std::wstring name = ready_event_name(GetCurrentProcessId());
    if (HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name.c_str())) {
        SetEvent(event);
        CloseHandle(event);
    }
}

std::string window_title(const SimHost& host) {
    const PartProgram* program = host.active_program();
    if (!program)
        return "Vormesa (Stand-in) - kein Teileprogramm";
    return "Vormesa (Stand-in) - " + (program->name.empty() ? "Teileprogramm" : program->name);
}

void run_message_loop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int serve(SimHost& host, const Options& options, bool started_by_com) {
    try {
        TypeLibrary types(options.members_as.value_or(MemberKind::Properties));
        ServerLifetime lifetime;
        ServerContext context{host, lifetime, types};
        const kastrel::common::com::ComPtr<IClassFactory> factory(
            ApplicationFactory::create(context));
        // The apartment ends before the objects' context, so objects that
        // clients still hold are released while the model is still there.
        kastrel::common::com::ComApartment apartment;
        const kastrel::common::com::ComPtr<IMessageFilter> busy_filter(make_busy_filter(host));
        if (options.busy_after_calls)
            CoRegisterMessageFilter(busy_filter.get(), nullptr);
        std::optional<HostWindow> window;
        if (!options.no_window)
            window.emplace(window_title(host));
        ClassRegistration registration(application_class_id, *factory.get());
        // COM started it for its clients: when the last one is gone, so is the server.
        if (started_by_com)
            lifetime.set_on_unused([&registration] {
                registration.revoke();
                PostQuitMessage(0);
            });
        signal_ready();
        run_message_loop();
        lifetime.set_on_unused({});
        registration.revoke();
        CoRegisterMessageFilter(nullptr, nullptr);
    } catch (const kastrel::common::com::ComError& error) {
        std::cerr << "vormesa-sim-win: COM: " << error.what() << "\n";
        return 1;
    } catch (const HostError& error) {
        std::cerr << "vormesa-sim-win: " << error.description() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main() {
    std::vector<std::string> args = command_line_arguments();
    if (args.size() == 1 && is_switch(args[0], "regserver"))
        return run_registration(register_server());
    if (args.size() == 1 && is_switch(args[0], "unregserver"))
        return run_registration(unregister_server());
    const bool started_by_com = take_switch(args, "Embedding");

    Options options;
    try {
        options = parse_command_line(args);
    } catch (const CommandLineError& error) {
        std::cerr << "vormesa-sim-win: " << error.what() << "\n\n" << usage_text;
        return 2;
    }
    if (options.help) {
        std::cout << usage_text;
        return 0;
    }
    if (options.failure && !options.failure->bus_error.empty()) {
        std::cerr << "vormesa-sim-win: --fail-with: hier nur ein HRESULT, kein D-Bus-Fehlername\n\n"
                  << usage_text;
        return 2;
    }

    SimHost host;
    std::ofstream call_log;
    if (const auto error = set_up_host(host, options, call_log)) {
        std::cerr << "vormesa-sim-win: " << *error << "\n";
        return 2;
    }
    return serve(host, options, started_by_com);
}
