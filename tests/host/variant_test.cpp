#include "host/automation_error.h"
#include "host/variant.h"

#include <gtest/gtest.h>

using kastrel::host::AutomationError;
using kastrel::host::Variant;

namespace {

int error_number_of(const std::function<void()>& conversion) {
    try {
        conversion();
    } catch (const AutomationError& error) {
        return error.number();
    }
    return 0;
}

TEST(VariantConversion, NullTruthValueIsFalseAndOtherValuesFollowTheHost) {
    EXPECT_FALSE(Variant::null().to_bool());
    EXPECT_FALSE(Variant().to_bool());
    EXPECT_TRUE(Variant(true).to_bool());
    EXPECT_TRUE(Variant(std::int32_t{-1}).to_bool());
    EXPECT_FALSE(Variant(0.0).to_bool());
    EXPECT_TRUE(Variant("True").to_bool());
    EXPECT_FALSE(Variant("false").to_bool());
    EXPECT_EQ(error_number_of([] { (void)Variant("vielleicht").to_bool(); }), 13);
}

TEST(VariantConversion, NumbersConvertOrFailButNeverBecomeZero) {
    EXPECT_EQ(Variant(std::int32_t{8}).to_double(), 8.0);
    EXPECT_EQ(Variant(12.5).to_double(), 12.5);
    EXPECT_EQ(Variant(" 12.5 ").to_double(), 12.5);
    EXPECT_EQ(Variant("-1e-3").to_double(), -0.001);
    EXPECT_EQ(Variant().to_double(), 0.0); // empty counts as 0, as on the host platform
    EXPECT_EQ(error_number_of([] { (void)Variant("abc").to_double(); }), 13);
    EXPECT_EQ(error_number_of([] { (void)Variant("").to_double(); }), 13);
    EXPECT_EQ(error_number_of([] { (void)Variant("12,5").to_double(); }), 13);
    EXPECT_EQ(error_number_of([] { (void)Variant("1.5x").to_double(); }), 13);
    EXPECT_EQ(error_number_of([] { (void)Variant("nan").to_double(); }), 13);
    EXPECT_EQ(error_number_of([] { (void)Variant::null().to_double(); }), 94);
}

TEST(VariantConversion, TextsOfIdsAndObjects) {
    EXPECT_EQ(Variant("KRS1").to_text(), "KRS1");
    EXPECT_EQ(Variant().to_text(), "");
    EXPECT_EQ(Variant(std::int32_t{42}).to_text(), "42");
    EXPECT_EQ(Variant(2.5).to_text(), "2.5");
    EXPECT_EQ(error_number_of([] { (void)Variant::null().to_text(); }), 94);
    EXPECT_EQ(Variant().to_object(), nullptr);
    EXPECT_EQ(error_number_of([] { (void)Variant(1.0).to_object(); }), 424);
}

} // namespace
