#include "app/qt/frm_points_controls.h"

#include "app/qt/wrapping_push_button.h"
#include "app/qt/wrapping_radio_button.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <stdexcept>

namespace kastrel::app::qt {

namespace {

QString caption_of(const FormControl& control) {
    return QString::fromStdString(without_access_keys(control.caption));
}

QWidget* label(QWidget& parent, const FormControl& control) {
    auto* label = new QLabel(&parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromUtf8(control.caption));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* list(QWidget& parent) {
    auto* list = new QListWidget(&parent);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSortingEnabled(false);
    // Lets the view skip measuring each of many thousand rows.
    list->setUniformItemSizes(true);
    return list;
}

template <typename Button> QWidget* button(QWidget& parent, const FormControl& control) {
    auto* button = new Button(&parent);
    button->setText(caption_of(control));
    button->setChecked(control.initially == Initially::checked);
    return button;
}

// Long captions wrap inside their boxes, and check boxes take a click in their
// whole box: the plain Qt buttons do neither.
QWidget* create(QWidget& parent, const FormControl& control) {
    switch (control.kind) {
    case ControlKind::command_button:
        return button<WrappingPushButton>(parent, control);
    case ControlKind::option_button:
        return button<WrappingRadioButton>(parent, control);
    case ControlKind::check_box:
        return button<WholeBox<QCheckBox>>(parent, control);
    case ControlKind::list_box:
        return list(parent);
    case ControlKind::label:
        return label(parent, control);
    case ControlKind::frame: {
        auto* frame = new QGroupBox(&parent);
        frame->setTitle(caption_of(control));
        return frame;
    }
    }
    throw std::logic_error(std::string("no kind of control for ") + control.name);
}

QRect pixels(const TwipsRect& twips) {
    const PixelRect rect = to_pixels(twips, logical_dpi);
    return QRect(rect.left, rect.top, rect.width, rect.height);
}

} // namespace

QAbstractButton& FrmPointsControls::button(Control control) const {
    return static_cast<QAbstractButton&>((*this)[control]);
}

QListWidget& FrmPointsControls::List1() const {
    return static_cast<QListWidget&>((*this)[Control::List1]);
}

FrmPointsControls create_frm_points_controls(QWidget& window) {
    const Form& form = frm_points_form();
    window.resize(twips_to_pixels(form.client_width_twips, logical_dpi),
                  twips_to_pixels(form.client_height_twips, logical_dpi));

    FrmPointsControls c;
    c.options = new QButtonGroup(&window);
    c.options->setObjectName(QStringLiteral("options"));
    // One exclusive group that may also have nothing selected (before loading).
    c.options->setExclusive(true);
    QWidget* previous_in_tab_order = nullptr;
    for (const FormControl& control : form.controls) {
        // A frame's controls are its children, placed from its corner.
        QWidget& parent = control.parent == Parent::Frame1 ? c[Control::Frame1] : window;
        QWidget* widget = create(parent, control);
        widget->setObjectName(QString::fromLatin1(control.name));
        widget->setGeometry(pixels(control.twips).translated(-parent.mapTo(&window, QPoint(0, 0))));
        widget->setEnabled(control.initially != Initially::disabled);
        if (control.kind == ControlKind::option_button)
            c.options->addButton(static_cast<QAbstractButton*>(widget));
        if (!takes_focus(control.kind)) {
            widget->setFocusPolicy(Qt::NoFocus);
        } else {
            if (previous_in_tab_order != nullptr)
                QWidget::setTabOrder(previous_in_tab_order, widget);
            previous_in_tab_order = widget;
        }
        c.widgets[static_cast<std::size_t>(control.control)] = widget;
    }
    // The frame stands below every control of the window, so those that stand
    // over it without being inside it (Check2, Check3) paint on top and take
    // the clicks.
    c[Control::Frame1].lower();
    return c;
}

} // namespace kastrel::app::qt
