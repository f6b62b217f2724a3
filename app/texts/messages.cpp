#include "app/texts/messages.h"

#include "host/connector.h"

#include <cmath>
#include <cstdio>

namespace kastrel::app {
namespace {

// The platform's code for a type mismatch found by the host's own dispatch.
constexpr std::int32_t dispatch_type_mismatch = static_cast<std::int32_t>(0x80020005);

// The number as the error box shows it: host failure codes are easier to look
// up in their hexadecimal form.
std::string number_text(std::int32_t number) {
    std::string text = std::to_string(number);
    if (number < 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(number));
        text += std::string(" (") + hex + ")";
    }
    return text;
}

// A hit number or count: whole as they normally are, otherwise as given.
std::string count_text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, value == std::floor(value) ? "%.0f" : "%g", value);
    return text;
}

// Which object was missing, as the attach steps name it.
std::string missing_object(const std::string& name) {
    if (name.empty())
        return {};
    if (name == host::application_class)
        return " (Vormesa)";
    if (name == "ActivePartProgram")
        return " (kein aktives Teileprogramm)";
    return " (" + name + ")";
}

// A failed call with nothing but the system's code.
std::string system_failure(const host::AutomationError& error) {
    if (host::is_disconnected(error))
        return "Das Teileprogramm wurde in Vormesa geschlossen";
    if (host::is_host_lost(error))
        return "Vormesa antwortet nicht";
    if (error.number() == dispatch_type_mismatch)
        return "Typen unverträglich";
    return "Automatisierungsfehler";
}

// "1 Wert konnte" / "2 Werte konnten".
std::string values(int count) {
    return count == 1 ? std::string("1 Wert konnte") : std::to_string(count) + " Werte konnten";
}

// Where a file failure's code comes from, for the log.
const char* code_kind_text(exporter::FileFailure::CodeKind kind) {
    switch (kind) {
    case exporter::FileFailure::CodeKind::Errno:
        return "errno ";
    case exporter::FileFailure::CodeKind::Windows:
        return "Windows-Code ";
    case exporter::FileFailure::CodeKind::Library:
        return "libxlsxwriter-Fehler ";
    }
    return "";
}

// The selected entries no feature carried, on a line of their own.
std::string unmatched_text(const std::vector<std::string>& unmatched) {
    if (unmatched.empty())
        return {};
    constexpr std::size_t named = 10;
    std::string text = "\nIm Teileprogramm nicht gefunden: ";
    for (std::size_t k = 0; k < unmatched.size() && k < named; ++k)
        text += (k > 0 ? ", \"" : "\"") + unmatched[k] + '"';
    if (unmatched.size() > named)
        text += ", …";
    return text;
}

// A written file: complete, or what it lacks.
std::string written_text(const exporter::ExportResult& result, const std::string& file) {
    const int unread = result.unread_values;
    const int uncomputed = result.uncomputed_values;
    const auto& unmatched = result.unmatched_entries;
    if (unread == 0 && uncomputed == 0 && unmatched.empty())
        return message::export_complete;
    std::string text = "Die Datei \"" + file + "\" wurde geschrieben, ";
    if (unread > 0 || uncomputed > 0) {
        text += "ist aber unvollständig: ";
        if (unread > 0)
            text += values(unread) + " nicht aus Vormesa gelesen werden";
        if (unread > 0 && uncomputed > 0)
            text += ", ";
        if (uncomputed > 0)
            text += values(uncomputed) + " nicht berechnet werden";
        text += ". Die betroffenen Felder sind leer.";
    } else {
        text += "enthält aber nicht alle selektierten Merkmale.";
    }
    return text + unmatched_text(unmatched);
}

} // namespace

std::string error_description(const host::AutomationError& error) {
    using host::ErrorKind;
    switch (error.kind()) {
    case ErrorKind::Host:
        if (!error.description().empty())
            return error.description();
        return system_failure(error);
    case ErrorKind::System:
        return system_failure(error);
    case ErrorKind::TypeMismatch:
        return "Typen unverträglich";
    case ErrorKind::InvalidUseOfNull:
        return "Unzulässige Verwendung von Null";
    case ErrorKind::ObjectRequired:
        return "Objekt erforderlich";
    case ErrorKind::ObjectNotSet:
        return "Objektvariable oder With-Blockvariable nicht festgelegt" +
               missing_object(error.name());
    case ErrorKind::CannotCreate:
        return "Objekterstellung durch ActiveX-Komponente nicht möglich";
    case ErrorKind::UnknownName:
        return "Unbekannter Name: " + error.name();
    case ErrorKind::UnexpectedValue:
        return "Unerwarteter Wert von Vormesa";
    }
    return system_failure(error);
}

std::string listing_lost_text(const host::AutomationError& error) {
    return host::is_disconnected(error) ? message::listing_program_closed
                                        : message::listing_host_lost;
}

std::string internal_error_text(const std::exception& error) {
    return std::string("Interner Fehler: ") + error.what();
}

std::string runtime_error_text(const host::AutomationError& error) {
    return "Laufzeitfehler '" + number_text(error.number()) + "':\n\n" + error_description(error);
}

std::string export_outcome_text(const exporter::ExportResult& result, const std::string& file) {
    using Status = exporter::ExportResult::Status;
    switch (result.status) {
    case Status::Written:
        return written_text(result, file);
    case Status::FileFailed:
        return "Die Datei \"" + file +
               "\" konnte nicht geschrieben werden: " + file_failure_reason(result.file_failure) +
               ".\nEine vorhandene Datei dieses Namens ist unverändert.";
    case Status::TargetIncomplete:
        return "Die Datei \"" + file + "\" konnte nicht vollständig geschrieben werden: " +
               file_failure_reason(result.file_failure) +
               ".\nSie ist möglicherweise unvollständig.";
    case Status::HostLost:
        return std::string(result.host_failure && host::is_disconnected(*result.host_failure)
                               ? "Das Teileprogramm wurde in Vormesa geschlossen."
                               : "Vormesa antwortet nicht mehr.") +
               "\nDie Ausgabe ist unvollständig und wurde nicht gespeichert; die Datei \"" + file +
               "\" ist unverändert.";
    case Status::NoOutputOption:
        return message::no_output_option;
    case Status::Cancelled:
        return "Ausgabe abgebrochen. Die Datei \"" + file + "\" ist unverändert.";
    case Status::NothingEvaluated:
        return "Es wurde kein Merkmal ausgewertet; die Datei \"" + file +
               "\" wurde nicht geschrieben.";
    case Status::OtherCharacteristics:
        return "Die Datei \"" + file +
               "\" beschreibt andere Merkmale; die Messwerte wurden nicht angehängt.";
    }
    return {};
}

std::string evaluation_outcome_text(const exporter::ExportResult& result) {
    using Status = exporter::ExportResult::Status;
    switch (result.status) {
    case Status::Written:
        if (result.unread_values > 0)
            return "Die Auswertung ist unvollständig: " + values(result.unread_values) +
                   " nicht aus Vormesa gelesen werden. Messpunkte ohne sie fehlen in der "
                   "Auswertung." +
                   unmatched_text(result.unmatched_entries);
        if (!result.unmatched_entries.empty())
            return "Die Auswertung enthält nicht alle selektierten Merkmale." +
                   unmatched_text(result.unmatched_entries);
        return {};
    case Status::HostLost:
        return std::string(result.host_failure && host::is_disconnected(*result.host_failure)
                               ? "Das Teileprogramm wurde in Vormesa geschlossen."
                               : "Vormesa antwortet nicht mehr.") +
               "\nDie Auswertung ist unvollständig und wird nicht angezeigt.";
    case Status::Cancelled:
        return message::evaluation_cancelled;
    case Status::NoOutputOption: // an evaluation needs none
    case Status::FileFailed:     // nor a file
    case Status::TargetIncomplete:
    case Status::NothingEvaluated: // only an AQDEF file refuses
    case Status::OtherCharacteristics:
        break;
    }
    return {};
}

std::string progress_listing_text(int features) {
    return "Merkmale werden eingelesen: " + std::to_string(features);
}

std::string progress_feature_text(std::string_view id, int number, int of) {
    return "Merkmal " + std::string(id) + " (" + std::to_string(number) + " von " +
           std::to_string(of) + ")";
}

std::string progress_hit_text(double number, double of) {
    return "Messpunkt " + count_text(number) + " von " + count_text(of);
}

std::string log_text(const host::AutomationError& error) {
    if (error.detail().empty())
        return {};
    return "Laufzeitfehler " + number_text(error.number()) + ": " + error_description(error) +
           ": " + error.detail();
}

std::string log_text(const exporter::ExportResult& result) {
    using Status = exporter::ExportResult::Status;
    if (result.status == Status::HostLost && result.host_failure)
        return log_text(*result.host_failure);
    if (result.status != Status::FileFailed && result.status != Status::TargetIncomplete)
        return {};
    const exporter::FileFailure& failure = result.file_failure;
    const std::u8string path = failure.path.u8string();
    return std::string(path.begin(), path.end()) + ": " + file_failure_reason(failure) + " (" +
           code_kind_text(failure.code_kind) + std::to_string(failure.code) + ")";
}

} // namespace kastrel::app
