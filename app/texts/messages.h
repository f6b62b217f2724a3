#pragma once

#include "app/batch/command_line.h"
#include "export/export_request.h"
#include "export/file_failure.h"
#include "host/automation_error.h"

#include <exception>
#include <string>
#include <string_view>

namespace kastrel::app {

// The program's own message texts. Every text the user sees is worded here
// (or below); the engine and the backends hand over what happened as values.
namespace message {
inline constexpr const char* host_not_running = "Vormesa muß gestartet werden";
inline constexpr const char* no_part_program = "Teileprogramm muß aktiv sein";
inline constexpr const char* no_output_option =
    "Kann die ausgewählte Ausgabeoption nicht erkennen. Programm ENDE !";
inline constexpr const char* export_complete = "Alle selektierten Merkmale in Datei geschrieben";
inline constexpr const char* listing_host_lost =
    "Vormesa antwortet nicht mehr.\nDie Merkmale wurden nicht eingelesen; die Liste bleibt leer.";
inline constexpr const char* listing_program_closed =
    "Das Teileprogramm wurde in Vormesa geschlossen.\nDie Merkmale wurden nicht eingelesen; die "
    "Liste bleibt leer.";
inline constexpr const char* listing_cancelled = "Einlesen abgebrochen.";
// An AQDEF file holds the evaluation, which needs a plane.
inline constexpr const char* evaluation_needs_plane =
    "Für die Auswertung muss eine Ebene (XY, XZ oder YZ) gewählt sein.";
inline constexpr const char* nothing_selected = "Es ist kein Merkmal selektiert.";
inline constexpr const char* evaluation_cancelled = "Auswertung abgebrochen.";
// The progress window's line while the host keeps a call waiting.
inline constexpr const char* progress_host_silent = "Vormesa antwortet nicht …";
inline constexpr const char* progress_host_busy = "Vormesa ist beschäftigt …";
// The export before its first selected feature.
inline constexpr const char* progress_searching = "Merkmale werden gesucht …";
} // namespace message

// The progress window's line: the listing's count, the export's feature and hit.
std::string progress_listing_text(int features);
std::string progress_feature_text(std::string_view id, int number, int of);
std::string progress_hit_text(double number, double of);

// What went wrong in a call into the host, in German: the host's own
// description when it gave one, otherwise this program's wording of the kind.
std::string error_description(const host::AutomationError& error);

// What the user is told when the listing lost the host (`error` the call
// that found it): gone, or its part program closed.
std::string listing_lost_text(const host::AutomationError& error);

// What the user is told of a fault no handler expected.
std::string internal_error_text(const std::exception& error);

// The run-time error box's text for a failure no handler deals with.
std::string runtime_error_text(const host::AutomationError& error);

// Why the export file could not be written, in German; an unknown system
// code is given by its number.
std::string file_failure_reason(const exporter::FileFailure& failure);

// What the user is told after an export that got past the Save dialog.
std::string export_outcome_text(const exporter::ExportResult& result, const std::string& file);

// What the user is told after an evaluation's run: empty when it is
// complete (the rows say the rest), otherwise what it lacks or why it ended.
std::string evaluation_outcome_text(const exporter::ExportResult& result);

// For the log: what the user's text leaves out (the bus's or the system's
// own text, the file the failed call was about). Empty when there is nothing.
std::string log_text(const host::AutomationError& error);
std::string log_text(const exporter::ExportResult& result);

// The command line's usage, for `program` as the user calls it.
std::string usage_text(std::string_view program);
// The line that says what is wrong with a command line.
std::string usage_error_text(const batch::UsageError& error);
// The line for a --select ID that no list entry carries (nothing is written then).
std::string unknown_selection_text(const std::string& id);

} // namespace kastrel::app
