#include "app/texts/messages.h"
#include "host/connector.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace kastrel;
using host::AutomationError;
using host::ErrorKind;
using FileKind = exporter::FileFailure::Kind;
using CodeKind = exporter::FileFailure::CodeKind;

namespace {

exporter::FileFailure failure(FileKind kind, CodeKind code_kind = CodeKind::Errno, int code = 0) {
    exporter::FileFailure result;
    result.kind = kind;
    result.code_kind = code_kind;
    result.code = code;
    return result;
}

exporter::ExportResult outcome(exporter::ExportResult::Status status, int unread = 0) {
    exporter::ExportResult result;
    result.status = status;
    result.unread_values = unread;
    return result;
}

// Every value the engine and the backends hand over, and the German text the
// user gets for it: the host's own text where it gave one, never a system's
// or a bus's own (English) text, and no phrase said twice.
TEST(Messages, WordEveryKindOfFailureInGermanOnce) {
    const std::string english = "The RPC server is unavailable";
    struct ErrorCase {
        AutomationError error;
        const char* box;
    };
    const ErrorCase errors[] = {
        {AutomationError(-2147467259, "Messpunkt 3 existiert nicht"),
         "Laufzeitfehler '-2147467259 (80004005)':\n\nMesspunkt 3 existiert nicht"},
        {AutomationError(ErrorKind::System, host::error_number::host_unavailable, {}, english),
         "Laufzeitfehler '-2147023174 (800706BA)':\n\nVormesa antwortet nicht"},
        {AutomationError(ErrorKind::System, host::error_number::host_disconnected, {},
                         "ZORVAT.Error.Disconnected: Teileprogramm geschlossen"),
         "Laufzeitfehler '-2147417848 (80010108)':\n\nDas Teileprogramm wurde in Vormesa "
         "geschlossen"},
        {AutomationError(ErrorKind::System, -2147418113, {}, "D-Bus: Get: Invalid argument"),
         "Laufzeitfehler '-2147418113 (8000FFFF)':\n\nAutomatisierungsfehler"},
        {AutomationError(ErrorKind::System, -2147352571, {}, "Type mismatch"),
         "Laufzeitfehler '-2147352571 (80020005)':\n\nTypen unverträglich"},
        {AutomationError(ErrorKind::TypeMismatch), "Laufzeitfehler '13':\n\nTypen unverträglich"},
        {AutomationError(ErrorKind::InvalidUseOfNull),
         "Laufzeitfehler '94':\n\nUnzulässige Verwendung von Null"},
        {AutomationError(ErrorKind::ObjectRequired),
         "Laufzeitfehler '424':\n\nObjekt erforderlich"},
        {AutomationError(ErrorKind::ObjectNotSet, std::string(host::application_class)),
         "Laufzeitfehler '91':\n\nObjektvariable oder With-Blockvariable nicht festgelegt "
         "(Vormesa)"},
        {AutomationError(ErrorKind::ObjectNotSet, "ActivePartProgram"),
         "Laufzeitfehler '91':\n\nObjektvariable oder With-Blockvariable nicht festgelegt (kein "
         "aktives Teileprogramm)"},
        {AutomationError(ErrorKind::ObjectNotSet, "Commands"),
         "Laufzeitfehler '91':\n\nObjektvariable oder With-Blockvariable nicht festgelegt "
         "(Commands)"},
        {AutomationError(ErrorKind::ObjectNotSet),
         "Laufzeitfehler '91':\n\nObjektvariable oder With-Blockvariable nicht festgelegt"},
        {AutomationError(ErrorKind::CannotCreate, "ZORVAT.Application",
                         "ZORVAT.Application: The name is not activatable"),
         "Laufzeitfehler '429':\n\nObjekterstellung durch ActiveX-Komponente nicht möglich"},
        {AutomationError(ErrorKind::UnknownName, -2147352570, "Foo", {}),
         "Laufzeitfehler '-2147352570 (80020006)':\n\nUnbekannter Name: Foo"},
        {AutomationError(ErrorKind::UnexpectedValue),
         "Laufzeitfehler '13':\n\nUnerwarteter Wert von Vormesa"},
    };
    for (const auto& c : errors) {
        EXPECT_EQ(app::runtime_error_text(c.error), c.box);
        // The technical detail goes to the log, with what the box said.
        if (!c.error.detail().empty())
            EXPECT_NE(app::log_text(c.error).find(c.error.detail()), std::string::npos);
        else
            EXPECT_EQ(app::log_text(c.error), "");
    }

    struct FileCase {
        exporter::FileFailure failure;
        std::string reason;
    };
    const FileCase files[] = {
        {failure(FileKind::TargetIsFolder), "Der Name bezeichnet einen Ordner"},
        {failure(FileKind::NoTemporaryName), "Temporäre Datei konnte nicht angelegt werden"},
        {failure(FileKind::ReadOnly, CodeKind::Errno, EACCES), "Die Datei ist schreibgeschützt"},
        {failure(FileKind::Vanished, CodeKind::Errno, ENOENT),
         "Die temporäre Datei oder ihr Ordner ist während der Ausgabe verschwunden"},
        {failure(FileKind::System, CodeKind::Errno, EACCES), "Zugriff verweigert"},
        {failure(FileKind::System, CodeKind::Errno, EPERM), "Zugriff verweigert"},
        {failure(FileKind::System, CodeKind::Errno, ENOENT), "Ordner nicht gefunden"},
        {failure(FileKind::System, CodeKind::Errno, ENOTDIR), "Ordner nicht gefunden"},
        {failure(FileKind::System, CodeKind::Errno, ENOSPC), "Datenträger voll"},
        {failure(FileKind::System, CodeKind::Errno, EFBIG), "Datei zu groß für den Datenträger"},
        {failure(FileKind::System, CodeKind::Errno, EROFS), "Datenträger ist schreibgeschützt"},
        {failure(FileKind::System, CodeKind::Errno, EISDIR), "Der Name bezeichnet einen Ordner"},
        {failure(FileKind::System, CodeKind::Errno, ENAMETOOLONG), "Dateiname zu lang"},
        {failure(FileKind::System, CodeKind::Errno, EINVAL), "Ungültiger Dateiname"},
        {failure(FileKind::System, CodeKind::Errno, ETXTBSY),
         "Datei wird von einem anderen Programm verwendet"},
        {failure(FileKind::System, CodeKind::Errno, EIO), "Systemfehler " + std::to_string(EIO)},
        {failure(FileKind::System, CodeKind::Windows, 5), "Zugriff verweigert"},
        {failure(FileKind::System, CodeKind::Windows, 3), "Ordner nicht gefunden"},
        {failure(FileKind::System, CodeKind::Windows, 112), "Datenträger voll"},
        {failure(FileKind::System, CodeKind::Windows, 19), "Datenträger ist schreibgeschützt"},
        {failure(FileKind::System, CodeKind::Windows, 206), "Dateiname zu lang"},
        {failure(FileKind::System, CodeKind::Windows, 123), "Ungültiger Dateiname"},
        {failure(FileKind::System, CodeKind::Windows, 32),
         "Datei wird von einem anderen Programm verwendet"},
        // The same code wrapped as an HRESULT.
        {failure(FileKind::System, CodeKind::Windows, static_cast<int>(0x80070020)),
         "Datei wird von einem anderen Programm verwendet"},
        {failure(FileKind::System, CodeKind::Windows, 1234), "Systemfehler 1234"},
        // The workbook's temporary folder (here without its name) as the system found it.
        {failure(FileKind::Workbook, CodeKind::Windows, 112),
         "Die Arbeitsmappe konnte nicht erstellt werden: der Ordner für temporäre Dateien \"\" "
         "ist voll"},
        {failure(FileKind::Workbook, CodeKind::Errno, EROFS),
         "Die Arbeitsmappe konnte nicht erstellt werden: der Ordner für temporäre Dateien \"\" "
         "darf nicht beschrieben werden"},
        {failure(FileKind::Workbook, CodeKind::Errno, EFBIG),
         "Die Arbeitsmappe konnte nicht erstellt werden: der Ordner für temporäre Dateien \"\" "
         "ist nicht verwendbar (Datei zu groß für den Datenträger)"},
        {failure(FileKind::Workbook, CodeKind::Library, 5),
         "Die Arbeitsmappe konnte nicht erstellt werden"},
    };
    for (const auto& c : files)
        EXPECT_EQ(app::file_failure_reason(c.failure), c.reason) << c.failure.code;

    using Status = exporter::ExportResult::Status;
    exporter::ExportResult lost = outcome(Status::HostLost);
    lost.host_failure = AutomationError(ErrorKind::System, host::error_number::host_unavailable, {},
                                        "Message recipient disconnected");
    exporter::ExportResult closed = outcome(Status::HostLost);
    closed.host_failure = AutomationError(host::error_number::host_object_not_connected, "");
    exporter::ExportResult failed = outcome(Status::FileFailed);
    failed.file_failure = failure(FileKind::System, CodeKind::Errno, ENOSPC);
    failed.file_failure.path = "/tmp/a.xls.tmp";
    const exporter::ExportResult incomplete = outcome(Status::Written, 2);
    exporter::ExportResult overflowed = outcome(Status::Written);
    overflowed.uncomputed_values = 1;
    exporter::ExportResult vanished = outcome(Status::Written, 1);
    vanished.uncomputed_values = 3;
    for (int k = 1; k <= 11; ++k)
        vanished.unmatched_entries.push_back("K" + std::to_string(k));
    exporter::ExportResult copy_failed = outcome(Status::TargetIncomplete);
    copy_failed.file_failure = failure(FileKind::System, CodeKind::Errno, ENOSPC);
    const std::pair<exporter::ExportResult, const char*> outcomes[] = {
        {outcome(Status::Written), "Alle selektierten Merkmale in Datei geschrieben"},
        {lost, "Vormesa antwortet nicht mehr.\nDie Ausgabe ist unvollständig und wurde nicht "
               "gespeichert; die Datei \"a.xls\" ist unverändert."},
        {closed, "Das Teileprogramm wurde in Vormesa geschlossen.\nDie Ausgabe ist unvollständig "
                 "und wurde nicht gespeichert; die Datei \"a.xls\" ist unverändert."},
        {failed, "Die Datei \"a.xls\" konnte nicht geschrieben werden: Datenträger voll.\nEine "
                 "vorhandene Datei dieses Namens ist unverändert."},
        {incomplete, "Die Datei \"a.xls\" wurde geschrieben, ist aber unvollständig: 2 Werte "
                     "konnten nicht aus Vormesa gelesen werden. Die betroffenen Felder sind leer."},
        {overflowed, "Die Datei \"a.xls\" wurde geschrieben, ist aber unvollständig: 1 Wert "
                     "konnte nicht berechnet werden. Die betroffenen Felder sind leer."},
        {vanished, "Die Datei \"a.xls\" wurde geschrieben, ist aber unvollständig: 1 Wert konnte "
                   "nicht aus Vormesa gelesen werden, 3 Werte konnten nicht berechnet werden. "
                   "Die betroffenen Felder sind leer.\nIm Teileprogramm nicht "
                   "gefunden: \"K1\", \"K2\", \"K3\", \"K4\", \"K5\", \"K6\", \"K7\", \"K8\", "
                   "\"K9\", \"K10\", …"},
        {copy_failed, "Die Datei \"a.xls\" konnte nicht vollständig geschrieben werden: "
                      "Datenträger voll.\nSie ist möglicherweise unvollständig."},
    };
    for (const auto& [result, text] : outcomes)
        EXPECT_EQ(app::export_outcome_text(result, "a.xls"), text);
    EXPECT_NE(app::log_text(lost).find("Message recipient disconnected"), std::string::npos);
    EXPECT_EQ(app::listing_lost_text(*lost.host_failure), app::message::listing_host_lost);
    EXPECT_EQ(app::listing_lost_text(*closed.host_failure),
              "Das Teileprogramm wurde in Vormesa geschlossen.\nDie Merkmale wurden nicht "
              "eingelesen; die Liste bleibt leer.");
    EXPECT_NE(app::log_text(failed).find("/tmp/a.xls.tmp"), std::string::npos);
    EXPECT_EQ(app::log_text(incomplete), "");
}

} // namespace
