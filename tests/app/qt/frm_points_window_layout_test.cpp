#include "app/qt/frm_points_controls.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <map>

namespace kastrel::app::qt::testing {
namespace {

QRect in_window(const QWidget& control, const QWidget& window) {
    return QRect(control.mapTo(&window, QPoint(0, 0)), control.size());
}

QRect described_pixels(const FormControl& control) {
    const PixelRect at = to_pixels(control.twips, logical_dpi);
    return QRect(at.left, at.top, at.width, at.height);
}

// The Qt class that draws each kind of control.
const std::map<ControlKind, const char*> qt_classes = {{ControlKind::command_button, "QPushButton"},
                                                       {ControlKind::list_box, "QListWidget"},
                                                       {ControlKind::label, "QLabel"},
                                                       {ControlKind::frame, "QGroupBox"},
                                                       {ControlKind::option_button, "QRadioButton"},
                                                       {ControlKind::check_box, "QCheckBox"}};

// What the user reads on the control. Labels show '&' as it stands; on the
// other controls a doubled one shows as one, and none marks an access key.
QString shown_caption(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    QString text;
    if (const auto* frame = qobject_cast<const QGroupBox*>(&widget))
        text = frame->title();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
        text = button->text();
    EXPECT_TRUE(QKeySequence::mnemonic(text).isEmpty())
        << "an access key in " << text.toStdString();
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

TEST_F(WindowTest, ClientAreaIs534By428Pixels) {
    EXPECT_EQ(window->size(), QSize(534, 428));
}

TEST_F(WindowTest, ControlsAreTheOnesTheFormDescribes) {
    const Form& form = frm_points_form();
    EXPECT_EQ(window->objectName(), QString::fromLatin1(form.name));
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8(form.stored_caption));
    std::vector<std::string> focus_order;
    for (const FormControl& described : form.controls) {
        SCOPED_TRACE(described.name);
        const auto& widget = control<QWidget>(described.name);
        EXPECT_TRUE(widget.inherits(qt_classes.at(described.kind)));
        const QWidget& parent =
            described.parent == Parent::Frame1 ? control<QWidget>("Frame1") : *window;
        EXPECT_EQ(widget.parentWidget(), &parent);
        EXPECT_EQ(in_window(widget, *window), described_pixels(described));
        EXPECT_EQ(shown_caption(widget), QString::fromUtf8(described.caption));
        EXPECT_EQ(widget.isEnabled(), described.initially != Initially::disabled);
        if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
            EXPECT_EQ(button->isChecked(), described.initially == Initially::checked);
        }
        EXPECT_EQ((widget.focusPolicy() & Qt::TabFocus) != 0, takes_focus(described.kind));
        if (takes_focus(described.kind)) {
            focus_order.push_back(described.name);
        }
    }
    EXPECT_EQ(control<QListWidget>("List1").count(), 0);

    // Tab goes round the controls that take focus in their tab order.
    std::vector<std::string> visited;
    QWidget* w = &control<QWidget>(focus_order.front().c_str());
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            visited.push_back(w->objectName().toStdString());
        }
        w = w->nextInFocusChain();
    } while (w != &control<QWidget>(focus_order.front().c_str()));
    EXPECT_EQ(visited, focus_order);
}

TEST_F(WindowTest, ResizingTheWindowMovesNothing) {
    show_window();
    for (const QSize size : {QSize(900, 700), QSize(200, 150), QSize(534, 428)}) {
        window->resize(size);
        QCoreApplication::sendPostedEvents();
        for (const FormControl& described : frm_points_form().controls) {
            EXPECT_EQ(in_window(control<QWidget>(described.name), *window),
                      described_pixels(described))
                << described.name << " at " << size.width() << "x" << size.height();
        }
    }
}

TEST_F(WindowTest, IconComesIn32And16Pixels) {
    const QList<QSize> sizes = window->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}

TEST_F(WindowTest, LabelsShowTheirTextAsItStandsAndWrap) {
    for (const char* name : {"Label1", "Label2"}) {
        const auto& label = control<QLabel>(name);
        EXPECT_TRUE(label.wordWrap()) << name;
        EXPECT_EQ(label.textFormat(), Qt::PlainText) << name;
    }
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
