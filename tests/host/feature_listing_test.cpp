#include "host/feature_listing.h"
#include "tests/support/fake_host.h"

#include <gtest/gtest.h>

using namespace kastrel;
using fakes::FakeHost;

namespace {

host::Object part_program(FakeHost& host) {
    return host.application()->get("ActivePartProgram").to_object();
}

std::vector<std::string> list(FakeHost& host) {
    const host::Object program = part_program(host);
    host.calls.clear();
    return host::list_feature_ids(program);
}

TEST(FeatureListing, ListsFeatureIdsInCommandOrderWithTheHostsCallSequence) {
    FakeHost host;
    host.commands = {fakes::not_a_feature(), fakes::feature("B2", 10), fakes::feature("A1", 10)};
    EXPECT_EQ(list(host), (std::vector<std::string>{"B2", "A1"}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{
                              "PartProgram Commands", "Commands NewEnum", "Enumerator Next",
                              "Command#0 IsFeature", "Enumerator Next", "Command#1 IsFeature",
                              "Command#1 FeatureCommand", "Feature#1 ID", "Enumerator Next",
                              "Command#2 IsFeature", "Command#2 FeatureCommand", "Feature#2 ID",
                              "Enumerator Next", "Enumerator Release"}));
}

TEST(FeatureListing, KeepsDuplicatesAndDropsEmptyIdsAndNullFeatures) {
    FakeHost host;
    auto null_feature = fakes::feature("N", 1);
    null_feature.is_feature = host::Variant::null();
    host.commands = {fakes::feature("K", 1), fakes::feature("", 1), null_feature,
                     fakes::feature("K", 1)};
    EXPECT_EQ(list(host), (std::vector<std::string>{"K", "K"}));
}

TEST(FeatureListing, AnUnreadableIsFeatureCountsAsAFeature) {
    FakeHost host;
    host.commands = {fakes::feature("K", 1)};
    host.failing_lines = {"Command#0 IsFeature"};
    EXPECT_EQ(list(host), (std::vector<std::string>{"K"}));
}

TEST(FeatureListing, ACommandWhoseFeatureOrIdCannotBeReadIsSkippedNotRepeated) {
    for (const char* failing : {"Command#1 FeatureCommand", "Feature#1 ID"}) {
        FakeHost host;
        host.commands = {fakes::feature("A", 1), fakes::feature("B", 1), fakes::feature("C", 1)};
        host.failing_lines = {failing};
        EXPECT_EQ(list(host), (std::vector<std::string>{"A", "C"})) << failing;
    }
}

// One failure at each call position: the listing never throws and never
// lists an ID that is not in the part program.
TEST(FeatureListing, AFailureAtAnyCallPositionIsPassedOver) {
    FakeHost reference;
    reference.commands = {fakes::feature("A", 1), fakes::not_a_feature(), fakes::feature("B", 1)};
    const std::size_t call_count = (list(reference), reference.calls.size());
    for (std::size_t position = 0; position < call_count; ++position) {
        FakeHost host;
        host.commands = reference.commands;
        const host::Object program = part_program(host);
        host.calls.clear();
        host.fail_call = position;
        std::vector<std::string> ids;
        ASSERT_NO_THROW(ids = host::list_feature_ids(program)) << position;
        for (const auto& id : ids)
            EXPECT_TRUE(id == "A" || id == "B") << position;
        EXPECT_LE(ids.size(), 2u) << position;
    }
}

TEST(FeatureListing, NoCommandsGiveAnEmptyList) {
    FakeHost host;
    host.failing_lines = {"PartProgram Commands"};
    host.commands = {fakes::feature("A", 1)};
    EXPECT_TRUE(list(host).empty());
    EXPECT_TRUE(host::list_feature_ids(nullptr).empty());
}

} // namespace
