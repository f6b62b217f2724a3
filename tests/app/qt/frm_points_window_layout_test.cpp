#include "window_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

namespace kastrel::app::qt::testing {
namespace {

struct Placement {
    const char* name;
    QRect window_pixels; // relative to the client area, worked out by hand from twips
};

// Left, top, width and height each rounded to the nearest pixel (15 twips each).
const Placement placements[] = {
    {"cmd_lesen", {32, 16, 177, 49}},
    {"cmd_schreiben", {32, 72, 177, 57}},
    {"List1", {296, 8, 217, 285}},
    {"Label1", {352, 360, 153, 25}},
    {"cmd_allemarkieren", {296, 304, 97, 33}},
    {"cmd_alledemarkieren", {408, 304, 97, 33}},
    {"Frame1", {16, 152, 257, 209}},
    {"Option1", {32, 176, 233, 25}},
    {"Option2", {32, 208, 233, 25}},
    {"Label2", {16, 376, 201, 41}},
    {"Option3", {32, 240, 225, 17}},
    {"Option4", {32, 264, 225, 25}},
    {"Check1", {72, 296, 145, 17}},
    {"Check2", {72, 312, 145, 17}},
    {"Check3", {72, 328, 145, 17}},
};

QRect in_window(const QWidget& control, const QWidget& window) {
    return QRect(control.mapTo(&window, QPoint(0, 0)), control.size());
}

TEST_F(WindowTest, ClientAreaIs534By428Pixels) {
    EXPECT_EQ(window->size(), QSize(534, 428));
}

TEST_F(WindowTest, EveryControlSitsAtItsPlace) {
    for (const Placement& p : placements) {
        EXPECT_EQ(in_window(control<QWidget>(p.name), *window), p.window_pixels) << p.name;
    }
}

TEST_F(WindowTest, ResizingTheWindowMovesNothing) {
    show_window();
    for (const QSize size : {QSize(900, 700), QSize(200, 150), QSize(534, 428)}) {
        window->resize(size);
        QCoreApplication::sendPostedEvents();
        for (const Placement& p : placements) {
            EXPECT_EQ(in_window(control<QWidget>(p.name), *window), p.window_pixels)
                << p.name << " at " << size.width() << "x" << size.height();
        }
    }
}

TEST_F(WindowTest, IconComesIn32And16Pixels) {
    const QList<QSize> sizes = window->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}

TEST_F(WindowTest, TabVisitsTheControlsInTheirOrder) {
    const std::vector<std::string> expected = {
        "cmd_lesen", "cmd_schreiben", "List1",   "cmd_allemarkieren", "cmd_alledemarkieren",
        "Option1",   "Option2",       "Option3", "Option4",           "Check1",
        "Check2",    "Check3"};
    std::vector<std::string> visited;
    QWidget* w = &control<QWidget>("cmd_lesen");
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            visited.push_back(w->objectName().toStdString());
        }
        w = w->nextInFocusChain();
    } while (w != &control<QWidget>("cmd_lesen"));
    EXPECT_EQ(visited, expected);
}

struct Caption {
    const char* name;
    QString text;
};

TEST_F(WindowTest, CaptionsAreExact) {
    const Caption buttons[] = {
        {"cmd_lesen", QStringLiteral("Elemente aus offenem Vormesa Programm einlesen")},
        {"cmd_schreiben", QStringLiteral("ASCII Datei vom selektierten Merkmal erzeugen")},
        {"cmd_allemarkieren", QStringLiteral("Alle Merkmale selektieren")},
        {"cmd_alledemarkieren", QStringLiteral("Alle Merkmale deselektieren")},
        {"Option1", QStringLiteral("Polarer Abweichungsvergleich (nur Kreise)")},
        {"Option2", QStringLiteral("Karthesische XY IST-Werte ab Nullpunkt")},
        {"Option3", QStringLiteral("Karthesischer Abweichungsvergleich in XY")},
        {"Option4", QStringLiteral("Nr, Polarradius, Winkel, Tiefe, Abstand    (Fa. Tarvoll AG)")},
        {"Check1", QStringLiteral("XY Ebene")},
        {"Check2", QStringLiteral("XZ Ebene")},
        {"Check3", QStringLiteral("YZ Ebene")},
    };
    for (const Caption& c : buttons) {
        const QString shown = control<QAbstractButton>(c.name).text();
        EXPECT_EQ(shown, c.text) << c.name;
        EXPECT_TRUE(QKeySequence::mnemonic(shown).isEmpty()) << c.name << " has an access key";
    }
    EXPECT_EQ(control<QGroupBox>("Frame1").title(), QStringLiteral("Ausgabe-Optionen"));
    EXPECT_FALSE(control<QLabel>("Label1").text().isEmpty());
}

TEST_F(WindowTest, Label2KeepsItsUnclosedBracketAndWraps) {
    const auto& label2 = control<QLabel>("Label2");
    EXPECT_EQ(label2.text(), QStringLiteral("Achtung! Elemente müssen in XY Ebene (ZPLUS) gemessen "
                                            "sein.(Nur erste 3 Optionen. Tarvoll Ausgabe in "
                                            "XY,XZ,YZ"));
    EXPECT_EQ(label2.text().size(), 109);
    EXPECT_TRUE(label2.wordWrap());
    EXPECT_EQ(label2.textFormat(), Qt::PlainText);
}

TEST_F(WindowTest, StartsWithOnlyReadingEnabledAndXyChecked) {
    EXPECT_TRUE(control<QWidget>("cmd_lesen").isEnabled());
    for (const char* name : {"cmd_schreiben", "cmd_allemarkieren", "cmd_alledemarkieren"}) {
        EXPECT_FALSE(control<QWidget>(name).isEnabled()) << name;
    }
    for (int option = 1; option <= 4; ++option) {
        EXPECT_FALSE(window->option_value(option)) << "Option" << option;
    }
    EXPECT_EQ(window->check_value(1), 1);
    EXPECT_EQ(window->check_value(2), 0);
    EXPECT_EQ(window->check_value(3), 0);
    EXPECT_EQ(window->entry_count(), 0);
}

TEST_F(WindowTest, CheckBoxesOverTheFrameStayOnTopAndClickable) {
    show_window();
    for (const char* name : {"Check2", "Check3"}) {
        auto& box = control<QCheckBox>(name);
        EXPECT_TRUE(box.isVisible()) << name;
        // What the user hits at the box's indicator must be the box, not the frame.
        const QPoint indicator = box.mapTo(window.get(), QPoint(5, box.height() / 2));
        EXPECT_EQ(window->childAt(indicator), &box) << name;
    }
}

} // namespace
} // namespace kastrel::app::qt::testing
