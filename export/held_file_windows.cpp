#include "export/held_file.h"
#include "export/temporary_name.h"

#include <algorithm>
#include <cwctype>
#include <utility>
#include <vector>
#include <windows.h>

namespace kastrel::exporter {
namespace {

constexpr DWORD copy_chunk = 1 << 16;

[[noreturn]] void fail(DWORD code, const std::filesystem::path& path, bool target_changed = false) {
    throw FileError({FileFailure::Kind::System, FileFailure::CodeKind::Windows,
                     static_cast<int>(code != 0 ? code : ERROR_GEN_FAILURE), path},
                    target_changed);
}

// Putting the file in place found no file or folder where the run had made
// them: the temporary file or its folder went away.
[[noreturn]] void fail_placing(DWORD code, const std::filesystem::path& path) {
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        throw FileError({FileFailure::Kind::Vanished, FileFailure::CodeKind::Windows,
                         static_cast<int>(code), path});
    fail(code, path);
}

// Windows' device names, which name the device in any folder and with any
// extension (NUL, CON, COM1.xlsx, "lpt3 .txt"), and paths into the device
// namespace other than a drive's (\\.\pipe\..., \\.\COM1).
bool names_device(const std::filesystem::path& target) {
    const std::wstring& text = target.native();
    if (text.starts_with(L"\\\\.\\") &&
        !(text.size() >= 6 && std::iswalpha(text[4]) && text[5] == L':'))
        return true;
    std::wstring name = target.filename().native();
    name = name.substr(0, name.find(L'.'));
    // Windows drops trailing blanks (and dots, which the extension took) from a name.
    while (!name.empty() && name.back() == L' ')
        name.pop_back();
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(std::towupper(c));
    for (const wchar_t* device : {L"NUL", L"CON", L"PRN", L"AUX", L"CONIN$", L"CONOUT$"})
        if (name == device)
            return true;
    // COM1 to COM9 and LPT1 to LPT9, and with the superscript digits ¹ ² ³.
    return name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT")) &&
           ((name[3] >= L'1' && name[3] <= L'9') || name[3] == L'\u00B9' || name[3] == L'\u00B2' ||
            name[3] == L'\u00B3');
}

// Marks the open file to be deleted when its handle closes, or clears that.
bool set_delete_on_close(HANDLE file, bool on) {
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(on ? TRUE : FALSE)};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

// The path in its long form (\\?\C:\..., \\?\UNC\server\...), so that names
// beyond 260 characters work with every call.
std::wstring long_form(const std::filesystem::path& path) {
    const std::wstring& text = path.native();
    if (text.starts_with(L"\\\\?\\") || text.starts_with(L"\\\\.\\"))
        return text;
    const DWORD size = GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return text;
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(text.c_str(), size, full.data(), nullptr));
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\"))
        return full;
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool write_all(HANDLE file, const char* bytes, std::size_t size) {
    while (size > 0) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes, part, &written, nullptr))
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

// Closes the handle on every way out.
struct ClosingHandle {
    HANDLE handle;
    ~ClosingHandle() {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    HANDLE release() { return std::exchange(handle, INVALID_HANDLE_VALUE); }
};

// Whether the existing file has names besides `path` (hard links), which a
// replacement would leave with the old content.
bool further_names(const std::wstring& path) {
    ClosingHandle file{CreateFileW(path.c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    BY_HANDLE_FILE_INFORMATION information{};
    return file.handle != INVALID_HANDLE_VALUE &&
           GetFileInformationByHandle(file.handle, &information) && information.nNumberOfLinks > 1;
}

} // namespace

std::optional<HeldFile> HeldFile::create_new(const std::filesystem::path& path, bool) {
    // Read sharing only: a running export's file can be neither written nor
    // deleted by anyone else.
    const HANDLE file =
        CreateFileW(long_form(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            return std::nullopt;
        fail(error, path);
    }
    // Gone with the handle, however the process ends, until it is put in
    // place; where the file system cannot, removed by the destructor.
    return HeldFile(path, file, nullptr, set_delete_on_close(file, true));
}

HeldFile::HeldFile(HeldFile&& other) noexcept
    : path_(std::move(other.path_)), handle_(other.handle_), folder_(other.folder_),
      transient_(other.transient_), open_(std::exchange(other.open_, false)),
      placed_(std::exchange(other.placed_, true)) {}

HeldFile::~HeldFile() {
    close();
    if (!placed_ && !transient_)
        DeleteFileW(long_form(path_).c_str());
}

void HeldFile::close() {
    if (open_)
        CloseHandle(handle_);
    open_ = false;
}

void HeldFile::write(std::string_view bytes) {
    if (!write_all(handle_, bytes.data(), bytes.size()))
        fail(GetLastError(), path_);
}

bool HeldFile::put_in_place(const std::filesystem::path& target) {
    const std::wstring from = long_form(path_);
    const std::wstring to = long_form(target);
    const DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // Other names (hard links) would keep the old content, and Wine's
        // ReplaceFileW breaks its caller's registers on paths this long:
        // written over in place, the target keeps all it has.
        if (further_names(to) || from.size() >= MAX_PATH || to.size() >= MAX_PATH)
            return false;
        // ReplaceFileW keeps them on Windows, not under every emulation: set
        // the target's attributes (hidden, archive, ...) on the new file first.
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = attributes;
        SetFileInformationByHandle(handle_, FileBasicInfo, &basic, sizeof basic);
    }
    if (!FlushFileBuffers(handle_))
        fail(GetLastError(), path_);
    // From here on it is to stay: it is about to become the target.
    if (transient_) {
        if (!set_delete_on_close(handle_, false))
            fail(GetLastError(), path_);
        transient_ = false;
    }
    close();
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                          nullptr, nullptr))
            fail_placing(GetLastError(), target);
    } else if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        fail_placing(GetLastError(), target);
    }
    placed_ = true;
    return true;
}

void HeldFile::copy_over(const std::filesystem::path& target) {
    ClosingHandle out{CreateFileW(long_form(target).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (out.handle == INVALID_HANDLE_VALUE)
        fail(GetLastError(), target);
    if (!SetEndOfFile(out.handle))
        fail(GetLastError(), target, true);
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(handle_, start, nullptr, FILE_BEGIN))
        fail(GetLastError(), path_, true);
    std::vector<char> chunk(copy_chunk);
    while (true) {
        DWORD got = 0;
        if (!ReadFile(handle_, chunk.data(), copy_chunk, &got, nullptr))
            fail(GetLastError(), path_, true);
        if (got == 0)
            break;
        if (!write_all(out.handle, chunk.data(), got))
            fail(GetLastError(), target, true);
    }
    if (!FlushFileBuffers(out.handle) || !CloseHandle(out.release()))
        fail(GetLastError(), target, true);
}

TargetState check_target(const std::filesystem::path& target) {
    // The long form would make a file of a device's name, which nothing but
    // the long form can remove again.
    if (names_device(target))
        throw FileError(
            {FileFailure::Kind::NotARegularFile, FileFailure::CodeKind::Windows, 0, target});
    // What keeps the name from being looked up is reported when the file is created.
    const DWORD attributes = GetFileAttributesW(long_form(target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return TargetState::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        throw FileError(
            {FileFailure::Kind::TargetIsFolder, FileFailure::CodeKind::Windows, 0, target});
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        throw FileError(
            {FileFailure::Kind::NotARegularFile, FileFailure::CodeKind::Windows, 0, target});
    // Replacing the file would bypass its read-only attribute.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        throw FileError({FileFailure::Kind::ReadOnly, FileFailure::CodeKind::Windows,
                         ERROR_ACCESS_DENIED, target});
    return TargetState::Writable;
}

bool denies_new_files(const FileFailure& failure) {
    return failure.kind == FileFailure::Kind::System &&
           failure.code_kind == FileFailure::CodeKind::Windows &&
           failure.code == ERROR_ACCESS_DENIED;
}

void remove_abandoned(const std::filesystem::path& folder, const std::filesystem::path& stem) {
    const std::wstring pattern =
        long_form((folder.empty() ? std::filesystem::path(L".") : folder) / stem) +
        L".kastrel-*.tmp";
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::filesystem::path> candidates;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            is_temporary_for(found.cFileName, stem))
            candidates.push_back(folder / found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    // A running export's file does not share deleting, so this fails for it.
    for (const auto& candidate : candidates)
        DeleteFileW(long_form(candidate).c_str());
}

} // namespace kastrel::exporter
