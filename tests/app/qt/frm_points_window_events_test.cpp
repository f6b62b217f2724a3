#include "window_fixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>

namespace kastrel::app::qt::testing {
namespace {

using Calls = std::vector<std::string>;

TEST_F(WindowTest, EachButtonReportsItsOwnClick) {
    show_window();
    for (const CommandButton b : {CommandButton::cmd_schreiben, CommandButton::cmd_allemarkieren,
                                  CommandButton::cmd_alledemarkieren}) {
        window->set_enabled(b, true);
    }
    for (const char* name :
         {"cmd_lesen", "cmd_schreiben", "cmd_allemarkieren", "cmd_alledemarkieren"}) {
        QTest::mouseClick(&control<QPushButton>(name), Qt::LeftButton);
    }
    EXPECT_EQ(events.calls, (Calls{"cmd_lesen_Click", "cmd_schreiben_Click",
                                   "cmd_allemarkieren_Click", "cmd_alledemarkieren_Click"}));
}

TEST_F(WindowTest, ClickingACheckBoxReportsAfterTheValueChanged) {
    show_window();
    const auto click = [&](const char* name) {
        auto& box = control<QCheckBox>(name);
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, box.height() / 2));
    };
    click("Check1");
    click("Check2");
    click("Check3");
    click("Check2");
    EXPECT_EQ(events.calls, (Calls{"Check_Click(1) value=0", "Check_Click(2) value=1",
                                   "Check_Click(3) value=1", "Check_Click(2) value=0"}));
}

TEST_F(WindowTest, SpaceOnAFocusedCheckBoxReportsToo) {
    show_window();
    auto& check3 = control<QCheckBox>("Check3");
    check3.setFocus();
    QTest::keyClick(&check3, Qt::Key_Space);
    EXPECT_EQ(events.calls, Calls{"Check_Click(3) value=1"});
}

TEST_F(WindowTest, SettingValuesFromCodeReportsNothing) {
    show_window();
    window->set_check_value(1, 0);
    window->set_check_value(2, 1);
    window->set_check_value(3, 1);
    window->set_option_value(4, true);
    window->set_all_selected(true);
    EXPECT_TRUE(events.calls.empty());
}

TEST_F(WindowTest, ClicksWithoutReceiverAreDropped) {
    show_window();
    window->set_events(nullptr);
    QTest::mouseClick(&control<QPushButton>("cmd_lesen"), Qt::LeftButton);
    EXPECT_TRUE(events.calls.empty());
}

TEST_F(WindowTest, AFaultNoHandlerExpectedIsShownAndTheWindowStaysUsable) {
    struct FaultyEvents : RecordingEvents {
        void cmd_lesen_Click() override { throw std::runtime_error("kaputt"); }
    } faulty;
    faulty.view = window.get();
    window->set_events(&faulty);
    show_window();
    window->set_pointer(Pointer::Hourglass);

    QTest::mouseClick(&control<QPushButton>("cmd_lesen"), Qt::LeftButton);
    EXPECT_EQ(dialogs->messages, std::vector<QString>{QStringLiteral("Interner Fehler: kaputt")});
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->exit_code(), std::nullopt);

    window->set_check_value(2, 1);
    QTest::mouseClick(&control<QCheckBox>("Check2"), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_EQ(faulty.calls, Calls{"Check_Click(2) value=0"});
}

TEST_F(WindowTest, MessageGoesThroughTheDialogsWithTheWindowAsParent) {
    window->show_message("Bitte ein Merkmal wählen.");
    ASSERT_EQ(dialogs->messages.size(), 1U);
    EXPECT_EQ(dialogs->messages[0], QStringLiteral("Bitte ein Merkmal wählen."));
    EXPECT_EQ(dialogs->parents, std::vector<QWidget*>{window.get()});
}

TEST_F(WindowTest, SaveDialogPassesTheRequestAndReturnsTheChoice) {
    dialogs->save_answers = {QStringLiteral("/tmp/Ausgabe ä.xls"), std::nullopt};
    SaveDialogRequest request;
    request.proposed_name = "/tmp/letzte.xls";

    EXPECT_EQ(window->show_save_dialog(request), std::optional<std::string>("/tmp/Ausgabe ä.xls"));
    EXPECT_EQ(window->show_save_dialog(request), std::nullopt);

    ASSERT_EQ(dialogs->save_requests.size(), 2U);
    EXPECT_EQ(dialogs->save_requests[0].proposed_name, "/tmp/letzte.xls");
    EXPECT_EQ(dialogs->save_requests[0].filter, request.filter);
    EXPECT_EQ(dialogs->save_requests[0].flags, request.flags);
    EXPECT_EQ(dialogs->parents[0], window.get());
}

TEST_F(WindowTest, EndProgramHidesTheWindowAndAsksToExitWithOne) {
    show_window();
    QSignalSpy ended(window.get(), &FrmPointsWindow::programEnded);
    EXPECT_EQ(window->exit_code(), std::nullopt);

    window->end_program();

    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->exit_code(), 1);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.at(0).at(0).toInt(), 1);
}

} // namespace
} // namespace kastrel::app::qt::testing
