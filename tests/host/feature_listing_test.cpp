#include "host/automation_error.h"
#include "host/dispatch.h"
#include "host/feature_listing.h"
#include "tests/support/sim_connector.h"

#include <gtest/gtest.h>

using namespace kastrel;
using fakes::SimConnector;
using vormesa_sim::FailurePlan;

namespace {

const host::NumberTexts german(",");

// Lists the features of `commands`; the calls and the plan's positions count from the listing.
std::vector<std::string> list(SimConnector& host, std::vector<vormesa_sim::Command> commands,
                              FailurePlan failures = {}) {
    host.fail({});
    host.open(std::move(commands));
    const host::Object program =
        host.create_object(host::application_class)->get("ActivePartProgram").to_object();
    host.calls.clear();
    host.fail(std::move(failures));
    return host::list_feature_ids(program, german);
}

TEST(FeatureListing, ListsFeatureIdsInCommandOrderWithTheHostsCallSequence) {
    SimConnector host;
    EXPECT_EQ(
        list(host, {fakes::not_a_feature(), fakes::feature("B2", 10), fakes::feature("A1", 10)}),
        (std::vector<std::string>{"B2", "A1"}));
    EXPECT_EQ(host.calls, (std::vector<std::string>{
                              "PartProgram Commands", "Commands NewEnum", "Enumerator Next",
                              "Command#0 IsFeature", "Enumerator Next", "Command#1 IsFeature",
                              "Command#1 FeatureCommand", "Feature#1 ID", "Enumerator Next",
                              "Command#2 IsFeature", "Command#2 FeatureCommand", "Feature#2 ID",
                              "Enumerator Next", "Enumerator Release"}));
}

TEST(FeatureListing, KeepsDuplicatesAndDropsEmptyIdsAndNullFeatures) {
    SimConnector host;
    auto null_feature = fakes::feature("N", 1);
    null_feature.is_feature_override = vormesa_sim::IsFeatureNull{};
    EXPECT_EQ(list(host, {fakes::feature("K", 1), fakes::feature("", 1), null_feature,
                          fakes::feature("K", 1)}),
              (std::vector<std::string>{"K", "K"}));
}

TEST(FeatureListing, AnUnreadableIsFeatureCountsAsAFeature) {
    SimConnector host;
    EXPECT_EQ(list(host, {fakes::feature("K", 1)}, fakes::failing({"Command#0 IsFeature"})),
              (std::vector<std::string>{"K"}));
}

TEST(FeatureListing, ACommandWhoseFeatureOrIdCannotBeReadIsSkippedNotRepeated) {
    for (const char* call : {"Command#1 FeatureCommand", "Feature#1 ID"}) {
        SimConnector host;
        EXPECT_EQ(list(host,
                       {fakes::feature("A", 1), fakes::feature("B", 1), fakes::feature("C", 1)},
                       fakes::failing({call})),
                  (std::vector<std::string>{"A", "C"}))
            << call;
    }
}

// One failure at each call position: the listing never throws and never
// lists an ID that is not in the part program.
TEST(FeatureListing, AFailureAtAnyCallPositionIsPassedOver) {
    const std::vector<vormesa_sim::Command> commands = {
        fakes::feature("A", 1), fakes::not_a_feature(), fakes::feature("B", 1)};
    SimConnector host;
    list(host, commands);
    const std::size_t call_count = host.calls.size();
    for (std::size_t position = 0; position < call_count; ++position) {
        std::vector<std::string> ids;
        ASSERT_NO_THROW(ids = list(host, commands,
                                   FailurePlan().fail_call(position, fakes::injected_failure())))
            << position;
        for (const auto& id : ids)
            EXPECT_TRUE(id == "A" || id == "B") << position;
        EXPECT_LE(ids.size(), 2u) << position;
    }
}

// The host lost at any call position: the listing ends with the failure
// instead of returning part of the list. Only the enumerator's release comes
// after the last ID.
TEST(FeatureListing, AHostLostAtAnyCallPositionEndsTheListing) {
    const std::vector<vormesa_sim::Command> commands = {
        fakes::feature("A", 1), fakes::not_a_feature(), fakes::feature("B", 1)};
    SimConnector host;
    list(host, commands);
    const std::vector<std::string> calls = host.calls;
    for (std::size_t position = 0; position < calls.size(); ++position) {
        const auto lost_from = FailurePlan().fail_from(position, fakes::host_lost());
        if (calls[position] == "Enumerator Release")
            EXPECT_EQ(list(host, commands, lost_from), (std::vector<std::string>{"A", "B"}));
        else
            EXPECT_THROW(list(host, commands, lost_from), host::AutomationError) << calls[position];
    }
}

TEST(FeatureListing, NoCommandsGiveAnEmptyList) {
    SimConnector host;
    EXPECT_TRUE(
        list(host, {fakes::feature("A", 1)}, fakes::failing({"PartProgram Commands"})).empty());
    EXPECT_TRUE(host::list_feature_ids(nullptr, german).empty());
}

} // namespace
