#include "host/automation_error.h"
#include "host/number_text.h"
#include "host/variant.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>

using kastrel::host::AutomationError;
using kastrel::host::NumberTexts;
using kastrel::host::Variant;

namespace {

const NumberTexts german(",");
const NumberTexts english(".");

int error_number_of(const std::function<void()>& conversion) {
    try {
        conversion();
    } catch (const AutomationError& error) {
        return error.number();
    }
    return 0;
}

std::optional<double> number_of(const Variant& value, const NumberTexts& numbers) {
    try {
        return value.to_double(numbers);
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.number(), 13);
        return std::nullopt;
    }
}

TEST(VariantConversion, NullTruthValueIsFalseAndOtherValuesFollowTheHost) {
    EXPECT_FALSE(Variant::null().to_bool(german));
    EXPECT_FALSE(Variant().to_bool(german));
    EXPECT_TRUE(Variant(true).to_bool(german));
    EXPECT_TRUE(Variant(std::int32_t{-1}).to_bool(german));
    EXPECT_FALSE(Variant(0.0).to_bool(german));
    EXPECT_TRUE(Variant("True").to_bool(german));
    EXPECT_FALSE(Variant("false").to_bool(german));
    EXPECT_TRUE(Variant("0,5").to_bool(german));
    EXPECT_EQ(error_number_of([] { (void)Variant("0.5").to_bool(german); }), 13);
    EXPECT_EQ(error_number_of([] { (void)Variant("vielleicht").to_bool(german); }), 13);
}

// A text is a number only in the user's own regional form; read in the other
// form the platform would take the point or comma as grouping, a wrong number.
TEST(VariantConversion, NumberTextsAreReadInTheRegionalFormOnly) {
    struct Case {
        const char* text;
        std::optional<double> under_german, under_english;
    };
    const std::optional<double> unread;
    const Case cases[] = {
        {"12,5", 12.5, unread},
        {"12.5", unread, 12.5},
        {"-1,5E+01", -15.0, unread},
        {"1.5e-1", unread, 0.15},
        {"+4", 4.0, 4.0},
        {"20", 20.0, 20.0},
        {"1E+20", 1e20, 1e20},
        {"", unread, unread},
        {"abc", unread, unread},
        {" 12", unread, unread},
        {"1.234,5", unread, unread},
        {"1,234.5", unread, unread},
        {"nan", unread, unread},
        {"1E400", unread, unread},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(number_of(Variant(c.text), german), c.under_german);
        EXPECT_EQ(number_of(Variant(c.text), english), c.under_english);
    }
    EXPECT_EQ(number_of(Variant(std::int32_t{8}), german), 8.0);
    EXPECT_EQ(number_of(Variant(12.5), german), 12.5);
    EXPECT_EQ(number_of(Variant(), german), 0.0); // empty counts as 0, as on the host platform
    EXPECT_EQ(number_of(Variant(std::numeric_limits<double>::infinity()), german), unread);
    EXPECT_EQ(error_number_of([] { (void)Variant::null().to_double(german); }), 94);
}

// A number taken as text, as an ID is: the general number text rule.
TEST(VariantConversion, TextsOfIdsAndObjects) {
    EXPECT_EQ(Variant("KRS1").to_text(german), "KRS1");
    EXPECT_EQ(Variant().to_text(german), "");
    EXPECT_EQ(Variant(std::int32_t{42}).to_text(german), "42");
    EXPECT_EQ(Variant(1.5).to_text(german), "1,5");
    EXPECT_EQ(Variant(1.5).to_text(english), "1.5");
    EXPECT_EQ(Variant(20.0).to_text(german), "20");
    EXPECT_EQ(Variant(1e20).to_text(german), "1E+20");
    EXPECT_EQ(Variant(-0.00001).to_text(german), "-1E-05");
    EXPECT_EQ(error_number_of([] { (void)Variant(std::nan("")).to_text(german); }), 13);
    EXPECT_EQ(error_number_of([] { (void)Variant::null().to_text(german); }), 94);
    EXPECT_EQ(Variant().to_object(), nullptr);
    EXPECT_EQ(error_number_of([] { (void)Variant(1.0).to_object(); }), 424);
}

} // namespace
