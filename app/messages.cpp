#include "app/messages.h"

#include <cstdio>

namespace kastrel::app {

std::string runtime_error_text(const host::AutomationError& error) {
    std::string number = std::to_string(error.number());
    if (error.number() < 0) {
        // Host failure codes are easier to look up in their hexadecimal form.
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(error.number()));
        number += std::string(" (") + hex + ")";
    }
    return "Laufzeitfehler '" + number + "':\n\n" + error.description();
}

std::string export_outcome_text(const exporter::ExportResult& result, const std::string& file) {
    using Status = exporter::ExportResult::Status;
    switch (result.status) {
    case Status::Written:
        if (result.unread_values == 0)
            return message::export_complete;
        return "Die Datei \"" + file + "\" wurde geschrieben, ist aber unvollständig: " +
               (result.unread_values == 1
                    ? std::string("1 Wert konnte")
                    : std::to_string(result.unread_values) + " Werte konnten") +
               " nicht aus Vormesa gelesen werden. Die betroffenen Felder sind leer.";
    case Status::FileFailed:
        return "Die Datei \"" + file + "\" konnte nicht geschrieben werden: " + result.reason +
               ".\nEine vorhandene Datei dieses Namens ist unverändert.";
    case Status::HostLost:
        return "Vormesa antwortet nicht mehr (" + result.reason +
               ").\nDie Ausgabe ist unvollständig und wurde nicht gespeichert; die Datei \"" +
               file + "\" ist unverändert.";
    case Status::NoOutputOption:
        return message::no_output_option;
    }
    return {};
}

} // namespace kastrel::app
