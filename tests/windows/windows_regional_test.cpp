#include "app/system/windows_regional.h"
#include "common/non_copyable.h"

#include <array>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

// Sets the user's decimal symbol for one test and puts the old one back.
class DecimalSymbolSetting : private kastrel::common::NonCopyable {
public:
    DecimalSymbolSetting() {
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_.data(),
                       static_cast<int>(saved_.size()));
    }
    ~DecimalSymbolSetting() { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_.data()); }

    bool set(const wchar_t* symbol) {
        return SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, symbol) != 0;
    }

private:
    std::array<wchar_t, 8> saved_{};
};

TEST(WindowsRegional, DecimalSeparatorFollowsTheUserSetting) {
    struct Case {
        const wchar_t* symbol;
        const char* expected;
    };
    // The middle dot is one byte in the Western code page.
    const bool western = GetACP() == 1252;
    const Case cases[] = {
        {L",", ","},
        {L".", "."},
        {L"\u00B7", western ? "\xB7" : nullptr},
    };
    DecimalSymbolSetting setting;
    for (const Case& c : cases) {
        if (!c.expected)
            continue;
        SCOPED_TRACE(c.expected);
        ASSERT_TRUE(setting.set(c.symbol));
        EXPECT_EQ(kastrel::user_decimal_separator(), c.expected);
    }
}

} // namespace
