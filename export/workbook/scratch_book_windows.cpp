#include "export/workbook/scratch_book.h"

#include <array>
#include <cwchar>
#include <filesystem>
#include <random>
#include <vector>
#include <windows.h>

namespace kastrel::exporter {
namespace {

// The library's names pass through the ANSI code page and MAX_PATH.
constexpr std::size_t plain_path_limit = 200;
constexpr wchar_t prefix[] = L"kastrel-";
constexpr wchar_t suffix[] = L".xlsx";

[[noreturn]] void fail(DWORD code, const std::filesystem::path& path) {
    throw FileError({FileFailure::Kind::Workbook, FileFailure::CodeKind::Windows,
                     static_cast<int>(code != 0 ? code : ERROR_GEN_FAILURE), path});
}

std::wstring temporary_folder() {
    std::array<wchar_t, MAX_PATH + 1> folder{};
    const DWORD length = GetTempPathW(static_cast<DWORD>(folder.size()), folder.data());
    if (length == 0 || length > folder.size())
        fail(GetLastError(), L"%TEMP%");
    return std::wstring(folder.data(), length);
}

// The path as the ANSI code page spells it, through its short (8.3) form
// where the long one has characters the code page lacks; empty when neither will do.
std::string plain_form(const std::wstring& path) {
    std::wstring candidate = path;
    std::array<wchar_t, MAX_PATH + 1> short_path{};
    const DWORD length =
        GetShortPathNameW(path.c_str(), short_path.data(), static_cast<DWORD>(short_path.size()));
    if (length > 0 && length < short_path.size())
        candidate.assign(short_path.data(), length);
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, candidate.c_str(), -1,
                                         nullptr, 0, nullptr, &lossy);
    if (size <= 1 || lossy)
        return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, candidate.c_str(), -1, text.data(), size,
                        nullptr, &lossy);
    text.resize(static_cast<std::size_t>(size) - 1);
    return text.size() < plain_path_limit ? text : std::string();
}

std::wstring random_tag() {
    std::random_device random;
    wchar_t tag[9];
    swprintf(tag, 9, L"%08x", static_cast<unsigned>(random()));
    return tag;
}

// Files of runs that were ended before they could remove theirs; a running
// one holds its file without delete sharing, so it stays.
void remove_abandoned(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = folder + prefix + L"*" + suffix;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    // Only names this program makes: the prefix, eight hexadecimal digits, the suffix.
    const auto is_scratch_name = [](const std::wstring& name) {
        const std::size_t digits = name.size() - std::wcslen(prefix) - std::wcslen(suffix);
        return digits == 8 && name.find_first_not_of(L"0123456789abcdef", std::wcslen(prefix)) ==
                                  std::wcslen(prefix) + 8;
    };
    std::vector<std::wstring> names;
    do
        if (is_scratch_name(found.cFileName))
            names.emplace_back(found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
    for (const std::wstring& name : names)
        DeleteFileW((folder + name).c_str());
}

} // namespace

ScratchBook::ScratchBook() {
    const std::wstring folder = temporary_folder();
    reported_folder_ = folder;
    remove_abandoned(folder);
    folder_ = plain_form(folder);
    if (folder_.empty())
        fail(ERROR_INVALID_NAME, folder);
    for (int attempt = 0; attempt < 8 && handle_ == -1; ++attempt) {
        const std::wstring name = folder + prefix + random_tag() + suffix;
        // Read and write sharing for the library's own opening; no delete
        // sharing, so no other run's clean-up takes it.
        const HANDLE file =
            CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            fail(GetLastError(), folder);
        }
        handle_ = reinterpret_cast<std::intptr_t>(file);
        wide_path_ = name;
        path_ = plain_form(name);
        if (path_.empty())
            fail(ERROR_INVALID_NAME, folder);
    }
    if (handle_ == -1)
        fail(ERROR_FILE_EXISTS, folder);
}

ScratchBook::~ScratchBook() {
    if (handle_ == -1)
        return;
    CloseHandle(reinterpret_cast<HANDLE>(handle_));
    DeleteFileW(wide_path_.c_str());
}

void ScratchBook::read(const std::function<void(std::string_view)>& sink) const {
    const HANDLE file = reinterpret_cast<HANDLE>(handle_);
    std::array<char, 1 << 16> chunk;
    for (ULONGLONG offset = 0;;) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        if (!ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                return;
            fail(GetLastError(), reported_folder_);
        }
        if (got == 0)
            return;
        sink(std::string_view(chunk.data(), got));
        offset += got;
    }
}

} // namespace kastrel::exporter
