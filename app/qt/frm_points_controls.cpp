#include "app/qt/frm_points_controls.h"

#include "app/qt/twips.h"
#include "app/qt/whole_box_check_box.h"
#include "app/qt/wrapping_push_button.h"
#include "app/qt/wrapping_radio_button.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <iterator>

namespace kastrel::app::qt {

namespace {

// Captions carry no access keys, so a literal '&' must not become one.
QString without_mnemonic(const QString& caption) {
    return QString(caption).replace(u'&', QStringLiteral("&&"));
}

template <typename Control> Control* place(QWidget& parent, const char* name, QRect twips) {
    auto* control = new Control(&parent);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(twips_rect(twips.x(), twips.y(), twips.width(), twips.height()));
    return control;
}

template <typename Button>
Button* button(QWidget& parent, const char* name, const QString& caption, QRect twips) {
    auto* control = place<Button>(parent, name, twips);
    control->setText(without_mnemonic(caption));
    return control;
}

QLabel* label(QWidget& parent, const char* name, const QString& caption, QRect twips) {
    auto* control = place<QLabel>(parent, name, twips);
    control->setTextFormat(Qt::PlainText);
    control->setText(caption);
    control->setWordWrap(true);
    control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    control->setFocusPolicy(Qt::NoFocus);
    return control;
}

} // namespace

FrmPointsControls create_frm_points_controls(QWidget& window) {
    window.resize(twips_to_pixels(client_width_twips), twips_to_pixels(client_height_twips));

    FrmPointsControls c;
    c.cmd_lesen = button<WrappingPushButton>(
        window, "cmd_lesen", QStringLiteral("Elemente aus offenem Vormesa Programm einlesen"),
        QRect(480, 240, 2655, 735));
    c.cmd_schreiben = button<WrappingPushButton>(
        window, "cmd_schreiben", QStringLiteral("ASCII Datei vom selektierten Merkmal erzeugen"),
        QRect(480, 1080, 2655, 855));

    c.List1 = place<QListWidget>(window, "List1", QRect(4440, 120, 3255, 4272));
    c.List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    c.List1->setSortingEnabled(false);
    // Lets the view skip measuring each of many thousand rows.
    c.List1->setUniformItemSizes(true);

    c.Label1 = label(window, "Label1", QStringLiteral("Erstellt von Sarvinet."),
                     QRect(5280, 5400, 2292, 372));
    c.cmd_allemarkieren = button<WrappingPushButton>(window, "cmd_allemarkieren",
                                                     QStringLiteral("Alle Merkmale selektieren"),
                                                     QRect(4440, 4560, 1455, 495));
    c.cmd_alledemarkieren = button<WrappingPushButton>(
        window, "cmd_alledemarkieren", QStringLiteral("Alle Merkmale deselektieren"),
        QRect(6120, 4560, 1455, 495));

    c.Frame1 = place<QGroupBox>(window, "Frame1", QRect(240, 2280, 3852, 3132));
    c.Frame1->setTitle(without_mnemonic(QStringLiteral("Ausgabe-Optionen")));
    c.Frame1->setFocusPolicy(Qt::NoFocus);

    // Inside the frame, positions are relative to the frame.
    QWidget& frame = *c.Frame1;
    c.Option1 = button<WrappingRadioButton>(
        frame, "Option1", QStringLiteral("Polarer Abweichungsvergleich (nur Kreise)"),
        QRect(240, 360, 3492, 372));
    c.Option2 = button<WrappingRadioButton>(
        frame, "Option2", QStringLiteral("Karthesische XY IST-Werte ab Nullpunkt"),
        QRect(240, 840, 3492, 372));
    c.Label2 = label(window, "Label2",
                     QStringLiteral("Achtung! Elemente müssen in XY Ebene (ZPLUS) gemessen "
                                    "sein.(Nur erste 3 Optionen. Tarvoll Ausgabe in XY,XZ,YZ"),
                     QRect(240, 5640, 3012, 612));
    c.Option3 = button<WrappingRadioButton>(
        frame, "Option3", QStringLiteral("Karthesischer Abweichungsvergleich in XY"),
        QRect(240, 1320, 3372, 252));
    c.Option4 = button<WrappingRadioButton>(
        frame, "Option4",
        QStringLiteral("Nr, Polarradius, Winkel, Tiefe, Abstand    (Fa. Tarvoll AG)"),
        QRect(240, 1680, 3372, 372));
    c.Check1 = button<WholeBoxCheckBox>(frame, "Check1", QStringLiteral("XY Ebene"),
                                        QRect(840, 2160, 2172, 252));

    // Check2 and Check3 belong to the window but stand over the frame.
    c.Check2 = button<WholeBoxCheckBox>(window, "Check2", QStringLiteral("XZ Ebene"),
                                        QRect(1080, 4680, 2172, 252));
    c.Check3 = button<WholeBoxCheckBox>(window, "Check3", QStringLiteral("YZ Ebene"),
                                        QRect(1080, 4920, 2172, 252));
    c.Check2->raise();
    c.Check3->raise();

    // One exclusive group that may also have nothing selected (before loading).
    c.options = new QButtonGroup(&window);
    c.options->setObjectName(QStringLiteral("options"));
    c.options->setExclusive(true);
    int id = 1;
    for (QRadioButton* option : {c.Option1, c.Option2, c.Option3, c.Option4}) {
        c.options->addButton(option, id++);
    }

    c.Check1->setChecked(true);
    c.cmd_schreiben->setEnabled(false);
    c.cmd_allemarkieren->setEnabled(false);
    c.cmd_alledemarkieren->setEnabled(false);

    // Labels and the frame never take focus, so only these are in the cycle.
    QWidget* const order[] = {
        c.cmd_lesen, c.cmd_schreiben, c.List1,   c.cmd_allemarkieren, c.cmd_alledemarkieren,
        c.Option1,   c.Option2,       c.Option3, c.Option4,           c.Check1,
        c.Check2,    c.Check3};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(order[i], order[i + 1]);
    }
    return c;
}

} // namespace kastrel::app::qt
