#include "app/texts/messages.h"

#include <cerrno>
#include <cstdint>

namespace kastrel::app {
namespace {

const char* const access_denied = "Zugriff verweigert";
const char* const folder_missing = "Ordner nicht gefunden";
const char* const disk_full = "Datenträger voll";
const char* const file_too_large = "Datei zu groß für den Datenträger";
const char* const write_protected = "Datenträger ist schreibgeschützt";
const char* const name_is_folder = "Der Name bezeichnet einen Ordner";
const char* const name_too_long = "Dateiname zu lang";
const char* const invalid_name = "Ungültiger Dateiname";
const char* const in_use = "Datei wird von einem anderen Programm verwendet";

const char* errno_reason(int code) {
    switch (code) {
    case EACCES:
    case EPERM:
        return access_denied;
    case ENOENT:
    case ENOTDIR:
        return folder_missing;
    case ENOSPC:
        return disk_full;
    case EFBIG:
        return file_too_large;
    case EROFS:
        return write_protected;
    case EISDIR:
        return name_is_folder;
    case ENAMETOOLONG:
        return name_too_long;
    case EINVAL:
        return invalid_name;
    case EBUSY:
    case ETXTBSY:
        return in_use;
    default:
        return nullptr;
    }
}

// Windows' codes by number, so that the texts are the same on every build.
const char* windows_reason(int code) {
    // A code wrapped as an HRESULT (0x8007xxxx) is the Windows code in its low word.
    if ((static_cast<std::uint32_t>(code) & 0xFFFF0000u) == 0x80070000u)
        code = static_cast<int>(static_cast<std::uint32_t>(code) & 0xFFFFu);
    switch (code) {
    case 5:  // ERROR_ACCESS_DENIED
    case 65: // ERROR_NETWORK_ACCESS_DENIED
        return access_denied;
    case 2:   // ERROR_FILE_NOT_FOUND
    case 3:   // ERROR_PATH_NOT_FOUND
    case 15:  // ERROR_INVALID_DRIVE
    case 53:  // ERROR_BAD_NETPATH
    case 67:  // ERROR_BAD_NET_NAME
    case 267: // ERROR_DIRECTORY: a part of the path is no folder
        return folder_missing;
    case 39:  // ERROR_HANDLE_DISK_FULL
    case 112: // ERROR_DISK_FULL
        return disk_full;
    case 223: // ERROR_FILE_TOO_LARGE
        return file_too_large;
    case 19: // ERROR_WRITE_PROTECT
        return write_protected;
    case 336: // ERROR_DIRECTORY_NOT_SUPPORTED
        return name_is_folder;
    case 206: // ERROR_FILENAME_EXCED_RANGE
        return name_too_long;
    case 123: // ERROR_INVALID_NAME
    case 161: // ERROR_BAD_PATHNAME
        return invalid_name;
    case 32:   // ERROR_SHARING_VIOLATION
    case 33:   // ERROR_LOCK_VIOLATION
    case 1175: // ERROR_UNABLE_TO_REMOVE_REPLACED: the old file is held open
    case 1224: // ERROR_USER_MAPPED_FILE
        return in_use;
    default:
        return nullptr;
    }
}

// What the system's code says, or its number.
std::string system_reason(const exporter::FileFailure& failure) {
    const char* reason = failure.code_kind == exporter::FileFailure::CodeKind::Windows
                             ? windows_reason(failure.code)
                             : errno_reason(failure.code);
    if (reason)
        return reason;
    return "Systemfehler " + std::to_string(failure.code);
}

// The system's code as said of a folder: full, missing, not to be written,
// or the text file's words for the cause.
std::string folder_state(const exporter::FileFailure& failure) {
    const char* reason = failure.code_kind == exporter::FileFailure::CodeKind::Windows
                             ? windows_reason(failure.code)
                             : errno_reason(failure.code);
    if (reason == disk_full)
        return "ist voll";
    if (reason == folder_missing)
        return "wurde nicht gefunden";
    if (reason == access_denied || reason == write_protected)
        return "darf nicht beschrieben werden";
    return "ist nicht verwendbar (" + system_reason(failure) + ")";
}

// The workbook library's failure: where the system failed it, the temporary
// folder that it writes in and why; otherwise only running out of memory is
// worth telling apart.
std::string workbook_reason(const exporter::FileFailure& failure) {
    std::string reason = "Die Arbeitsmappe konnte nicht erstellt werden";
    if (failure.code_kind != exporter::FileFailure::CodeKind::Library) {
        const std::u8string folder = failure.path.u8string();
        return reason + ": der Ordner für temporäre Dateien \"" +
               std::string(folder.begin(), folder.end()) + "\" " + folder_state(failure);
    }
    constexpr int library_out_of_memory = 1; // LXW_ERROR_MEMORY_MALLOC_FAILED
    if (failure.code == library_out_of_memory)
        return reason + " (nicht genügend Arbeitsspeicher)";
    return reason;
}

} // namespace

std::string file_failure_reason(const exporter::FileFailure& failure) {
    using Kind = exporter::FileFailure::Kind;
    switch (failure.kind) {
    case Kind::TargetIsFolder:
        return name_is_folder;
    case Kind::NoTemporaryName:
        return "Temporäre Datei konnte nicht angelegt werden";
    case Kind::ReadOnly:
        return "Die Datei ist schreibgeschützt";
    case Kind::NotARegularFile:
        return "Der Name bezeichnet keine gewöhnliche Datei";
    case Kind::Workbook:
        return workbook_reason(failure);
    case Kind::TooManyRows:
        return "Mehr Zeilen, als ein Tabellenblatt fasst (1.048.576)";
    case Kind::TextTooLong:
        return "Ein Text ist länger, als eine Zelle fasst (32.767 Zeichen)";
    case Kind::Vanished:
        return "Die temporäre Datei oder ihr Ordner ist während der Ausgabe verschwunden";
    case Kind::System:
        break;
    }
    return system_reason(failure);
}

} // namespace kastrel::app
