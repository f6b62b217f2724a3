// Kastrel.exe's own resources: version record, icon, manifest.

#include "tests/windows_gui/app_process.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace kastrel::wintest {
namespace {

class KastrelExecutable : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring path = kastrel_path();
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
        ASSERT_GT(size, 0u) << "no version record";
        version_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, version_.data()));
        module_ = LoadLibraryExW(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }

    std::wstring version_string(const std::wstring& name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring query = L"\\StringFileInfo\\040704E4\\" + name;
        if (!VerQueryValueW(version_.data(), query.c_str(), &value, &length))
            return L"(missing)";
        return std::wstring(static_cast<const wchar_t*>(value));
    }

    std::string resource(LPCWSTR name, LPCWSTR type) {
        HRSRC found = FindResourceW(module_, name, type);
        if (found == nullptr)
            return {};
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }

    std::vector<BYTE> version_;
    HMODULE module_ = nullptr;
};

TEST_F(KastrelExecutable, VersionRecordComesFromTheProjectVersion) {
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version_.data(), L"\\", &value, &length));
    const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed.dwFileVersionMS, MAKELONG(1, 1)); // 1.1
    EXPECT_EQ(fixed.dwFileVersionLS, MAKELONG(1, 0)); // .0.1
    EXPECT_EQ(fixed.dwProductVersionMS, fixed.dwFileVersionMS);
    EXPECT_EQ(fixed.dwProductVersionLS, fixed.dwFileVersionLS);
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"FileVersion", L"1.01.0001"},
        {L"ProductVersion", L"1.01.0001"},
        {L"ProductName", L"Kastrel"},
        {L"InternalName", L"Kastrel"},
        {L"OriginalFilename", L"Kastrel.exe"},
        {L"FileDescription", L"Konvertiert Elemente in eine ASCII Datei"},
    };
    for (const auto& [name, expected] : strings)
        EXPECT_EQ(version_string(name), expected) << std::string(name, name + wcslen(name));

    ASSERT_TRUE(VerQueryValueW(version_.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    const auto* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(translation[0], 0x0407);
    EXPECT_EQ(translation[1], 1252);
}

TEST_F(KastrelExecutable, IconHasA32And16PixelImageIn16Colours) {
    const std::string group = resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)); // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u);
    const auto* bytes = reinterpret_cast<const BYTE*>(group.data());
    const int count = bytes[4] | (bytes[5] << 8);
    ASSERT_EQ(group.size(), 6u + 14u * static_cast<unsigned>(count));
    std::vector<std::pair<int, int>> images; // size, bits per pixel
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = bytes + 6 + 14 * i;
        images.emplace_back(entry[0], entry[6] | (entry[7] << 8));
    }
    EXPECT_EQ(images, (std::vector<std::pair<int, int>>{{32, 4}, {16, 4}}));
}

TEST_F(KastrelExecutable, ManifestAsksForCommonControls6AndPerMonitorDpi) {
    const std::string manifest = resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("true/pm"), std::string::npos);
}

} // namespace
} // namespace kastrel::wintest
