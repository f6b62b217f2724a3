#pragma once

#include "app/main_window/main_window_view.h"
#include "host/connector.h"

#include <string>

namespace kastrel::app {

// The logic of the one window frm_points: its load step and its handlers.
// Works the window only through MainWindowView, the host only through
// HostConnector, so it runs the same under Qt, Win32 and the tests.
class FrmPoints : public MainWindowEvents {
public:
    FrmPoints(MainWindowView& view, host::HostConnector& host);

    // Runs before the window is first shown.
    void Form_Load();

    void cmd_lesen_Click() override;
    void cmd_schreiben_Click() override;
    void cmd_allemarkieren_Click() override;
    void cmd_alledemarkieren_Click() override;
    void cmd_auswerten_Click() override;
    void Check_Click(int check) override;

private:
    host::Object attach();

    MainWindowView& view_;
    host::HostConnector& host_;
    std::string last_file_name_; // CommonDialog1 remembers the last chosen name
};

} // namespace kastrel::app
