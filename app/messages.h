#pragma once

#include "export/export_request.h"
#include "host/automation_error.h"

#include <string>

namespace kastrel::app {

// The program's own message texts.
namespace message {
inline constexpr const char* host_not_running = "Vormesa muß gestartet werden";
inline constexpr const char* no_part_program = "Teileprogramm muß aktiv sein";
inline constexpr const char* no_output_option =
    "Kann die ausgewählte Ausgabeoption nicht erkennen. Programm ENDE !";
inline constexpr const char* export_complete = "Alle selektierten Merkmale in Datei geschrieben";
} // namespace message

// The run-time error box's text for a failure no handler deals with.
std::string runtime_error_text(const host::AutomationError& error);

// What the user is told after an export that got past the Save dialog.
std::string export_outcome_text(const exporter::ExportResult& result, const std::string& file);

} // namespace kastrel::app
