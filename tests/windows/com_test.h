#pragma once

#include "common/com/com_apartment.h"
#include "host/com/com_connector.h"
#include "host/dispatch.h"
#include "tests/support/sim_connector.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kastrel::wintest {

// Each test in an apartment of its own, reaching the host through COM.
class ComTest : public ::testing::Test {
protected:
    host::Object application() { return connector_.create_object(host::application_class); }

    common::com::ComApartment apartment_;
    host::com::ComConnector connector_;
};

// Each test once against each declaration of the stand-in's type library
// (--members-as properties and methods); the server's arguments start with it.
class EveryDeclaration : public ComTest, public ::testing::WithParamInterface<const char*> {
protected:
    std::vector<std::string> server_args(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--no-window", "--members-as", GetParam()});
        return args;
    }
};

#define KASTREL_FOR_EVERY_DECLARATION(suite)                                                       \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Declarations, suite, ::testing::Values("properties", "methods"),                           \
        [](const auto& declaration) { return std::string(declaration.param); })

// A sample part program's file name as the server's command line takes it.
inline std::string example(const std::string& name) {
    const std::u8string text = (fakes::examples_folder() / name).u8string();
    return std::string(text.begin(), text.end());
}

} // namespace kastrel::wintest
