#include "window_fixture.h"

#include <QCursor>
#include <QListWidget>
#include <QPushButton>
#include <chrono>
#include <cstdlib>
#include <utility>

namespace kastrel::app::qt::testing {
namespace {

TEST_F(WindowTest, EntriesKeepUtf8Text) {
    window->add_entry("Kreis_Ø12");
    window->add_entry("");
    window->add_entry("Fläche 3");
    ASSERT_EQ(window->entry_count(), 3);
    EXPECT_EQ(window->entry_text(0), "Kreis_Ø12");
    EXPECT_EQ(window->entry_text(1), "");
    EXPECT_EQ(window->entry_text(2), "Fläche 3");

    window->clear_entries();
    EXPECT_EQ(window->entry_count(), 0);
}

TEST_F(WindowTest, EntriesOutOfRangeReadAsEmptyAndUnselected) {
    window->add_entry("K1");
    window->set_all_selected(true);
    for (const int index : {-1, 1, 1000}) {
        EXPECT_EQ(window->entry_text(index), "") << index;
        EXPECT_FALSE(window->entry_selected(index)) << index;
    }
}

TEST_F(WindowTest, SelectingAllAndNoneOverManyEntriesIsFast) {
    constexpr int count = 30000;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        window->add_entry("Kreis" + std::to_string(i));
    }
    window->set_all_selected(true);
    for (const int index : {0, count / 2, count - 1}) {
        EXPECT_TRUE(window->entry_selected(index)) << index;
    }
    window->set_all_selected(false);
    for (const int index : {0, count / 2, count - 1}) {
        EXPECT_FALSE(window->entry_selected(index)) << index;
    }
    // Generous for a debug build on a shared machine; a per-row loop takes far longer.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(WindowTest, UserSelectionIsReadBack) {
    show_window();
    for (const char* text : {"K1", "K2", "K3", "K4"}) {
        window->add_entry(text);
    }
    auto& list = control<QListWidget>("List1");
    const auto click = [&](int row, Qt::KeyboardModifiers modifiers) {
        const QRect rect = list.visualItemRect(list.item(row));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, rect.center());
    };
    const auto selected = [&] {
        std::string rows;
        for (int i = 0; i < window->entry_count(); ++i) {
            rows += window->entry_selected(i) ? '1' : '0';
        }
        return rows;
    };
    click(1, Qt::NoModifier);
    EXPECT_EQ(selected(), "0100");
    click(3, Qt::ShiftModifier);
    EXPECT_EQ(selected(), "0111");
    click(2, Qt::ControlModifier);
    EXPECT_EQ(selected(), "0101");
    click(0, Qt::NoModifier);
    EXPECT_EQ(selected(), "1000");
}

TEST_F(WindowTest, OptionsAreOneExclusiveGroup) {
    window->set_option_value(4, true);
    window->set_option_value(2, true);
    EXPECT_FALSE(window->option_value(4));
    EXPECT_TRUE(window->option_value(2));

    show_window();
    QTest::mouseClick(&control<QWidget>("Option1"), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(window->option_value(1));
    EXPECT_FALSE(window->option_value(2));
}

TEST_F(WindowTest, SelectedOptionCanBeClearedLeavingNone) {
    window->set_option_value(3, true);
    window->set_option_value(2, false);
    EXPECT_TRUE(window->option_value(3));
    window->set_option_value(3, false);
    for (int option = 1; option <= 4; ++option) {
        EXPECT_FALSE(window->option_value(option)) << option;
    }
    // The group stays exclusive afterwards.
    window->set_option_value(1, true);
    window->set_option_value(4, true);
    EXPECT_FALSE(window->option_value(1));
}

TEST_F(WindowTest, CheckValuesAreZeroOrOneAndUnknownNumbersThrow) {
    for (const auto& [set, read] : {std::pair{1, 1}, {0, 0}, {2, 1}}) {
        window->set_check_value(2, set);
        EXPECT_EQ(window->check_value(2), read) << "set " << set;
    }
    EXPECT_THROW((void)window->check_value(4), std::out_of_range);
    EXPECT_THROW(window->set_option_value(0, true), std::out_of_range);
    EXPECT_THROW((void)window->option_value(5), std::out_of_range);
}

TEST_F(WindowTest, EachCommandButtonIsEnabledOnItsOwn) {
    const struct {
        CommandButton button;
        const char* name;
    } buttons[] = {{CommandButton::cmd_lesen, "cmd_lesen"},
                   {CommandButton::cmd_schreiben, "cmd_schreiben"},
                   {CommandButton::cmd_allemarkieren, "cmd_allemarkieren"},
                   {CommandButton::cmd_alledemarkieren, "cmd_alledemarkieren"}};
    for (const auto& b : buttons) {
        window->set_enabled(b.button, false);
    }
    for (const auto& b : buttons) {
        window->set_enabled(b.button, true);
        for (const auto& other : buttons) {
            EXPECT_EQ(control<QPushButton>(other.name).isEnabled(), &other == &b)
                << "after enabling " << b.name << ": " << other.name;
        }
        window->set_enabled(b.button, false);
    }
}

TEST_F(WindowTest, PointerShowsHourglassThenExplicitArrow) {
    window->set_pointer(Pointer::Hourglass);
    EXPECT_EQ(window->cursor().shape(), Qt::WaitCursor);
    window->set_pointer(Pointer::Arrow);
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);

    window->set_pointer(Pointer::Hourglass);
    window->set_pointer(Pointer::Default);
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

// Run by ctest once per locale with the separator that locale uses.
TEST(DecimalSeparator, FollowsLocaleEnvironment) {
    const char* expected = std::getenv("KASTREL_EXPECTED_DECIMAL");
    if (expected == nullptr) {
        GTEST_SKIP() << "needs LC_ALL and KASTREL_EXPECTED_DECIMAL from ctest";
    }
    FrmPointsWindow window(std::make_unique<ScriptedDialogs>());
    EXPECT_EQ(window.decimal_separator(), expected);
}

} // namespace
} // namespace kastrel::app::qt::testing
