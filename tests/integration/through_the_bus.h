#pragma once

#include "app/main_window/frm_points.h"
#include "host/dbus/dbus_connector.h"
#include "tests/integration/sim_process.h"
#include "tests/support/fake_view.h"
#include "tests/support/sim_connector.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <string>

namespace kastrel::fakes {

// A sample part program's path, as the stand-in's command line takes it.
inline std::string example(const char* name) {
    return (examples_folder() / name).string();
}

// The window's logic reaching the stand-in host over the session bus.
struct ThroughTheBus : ::testing::Test {
    FakeView view;
    host::dbus::DbusConnector connector;
    app::FrmPoints form{view, connector};
    TempDir dir;

    void SetUp() override {
        if (!have_session_bus())
            GTEST_SKIP() << "no session bus (run under dbus-run-session)";
        form.Form_Load();
    }
};

} // namespace kastrel::fakes
