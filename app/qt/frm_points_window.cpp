#include "app/qt/frm_points_window.h"

#include "app/qt/kastrel_icon.h"
#include "app/qt/qt_dialogs.h"
#include "app/qt/regional.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QListWidget>

namespace kastrel::app::qt {

FrmPointsWindow::FrmPointsWindow(std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), controls_(create_frm_points_controls(*this)),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>()) {
    const Form& form = frm_points_form();
    setObjectName(QString::fromLatin1(form.name));
    setFont(window_font());
    setWindowTitle(QString::fromUtf8(form.stored_caption));
    setWindowIcon(kastrel_icon());
    connect_clicks();
}

FrmPointsWindow::~FrmPointsWindow() = default;

QFont FrmPointsWindow::window_font() {
    // The captions were laid out for the classic 8-point dialog font (11 pixels
    // at 96 DPI); the system's sans face at that size, narrowed where the face
    // offers it, keeps every caption inside its twips box.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    font.setStretch(QFont::Condensed);
    return font;
}

void FrmPointsWindow::connect_clicks() {
    // `clicked` comes only from the user (mouse or keyboard) and after the
    // state has changed; setChecked from the logic stays silent.
    for (const FormControl& control : frm_points_form().controls) {
        if (auto* button = qobject_cast<QAbstractButton*>(&controls_[control.control]))
            connect(button, &QAbstractButton::clicked, this,
                    [this, which = control.control] { clicked(which); });
    }
}

bool FrmPointsWindow::is_checked(Control button) const {
    return controls_.button(button).isChecked();
}

void FrmPointsWindow::set_checked(Control control, bool checked) {
    QAbstractButton& button = controls_.button(control);
    QButtonGroup* group = button.group();
    if (checked || !button.isChecked() || group == nullptr) {
        button.setChecked(checked);
        return;
    }
    // An exclusive group refuses to clear its checked button; the logic may.
    group->setExclusive(false);
    button.setChecked(false);
    group->setExclusive(true);
}

void FrmPointsWindow::set_control_enabled(Control control, bool enabled) {
    controls_[control].setEnabled(enabled);
}

void FrmPointsWindow::set_caption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void FrmPointsWindow::clear_entries() {
    controls_.List1().clear();
}

void FrmPointsWindow::add_entry(const std::string& text) {
    controls_.List1().addItem(QString::fromStdString(text));
}

int FrmPointsWindow::entry_count() const {
    return controls_.List1().count();
}

std::string FrmPointsWindow::list_text(int index) const {
    return controls_.List1().item(index)->text().toStdString();
}

bool FrmPointsWindow::list_selected(int index) const {
    return controls_.List1().item(index)->isSelected();
}

void FrmPointsWindow::set_all_selected(bool selected) {
    // One selection range instead of one change per row.
    if (selected) {
        controls_.List1().selectAll();
    } else {
        controls_.List1().clearSelection();
    }
}

void FrmPointsWindow::set_pointer(Pointer pointer) {
    // The platform applies a window cursor at once, so it shows while the
    // handler keeps the event loop busy.
    switch (pointer) {
    case Pointer::Hourglass:
        setCursor(Qt::WaitCursor);
        break;
    case Pointer::Arrow:
        setCursor(Qt::ArrowCursor);
        break;
    case Pointer::Default:
        unsetCursor();
        break;
    }
}

void FrmPointsWindow::show_message(const std::string& text) {
    dialogs_->message(this, QString::fromStdString(text));
}

std::optional<std::string> FrmPointsWindow::show_save_dialog(const SaveDialogRequest& request) {
    std::optional<QString> chosen = dialogs_->save_file(this, request);
    if (!chosen) {
        return std::nullopt;
    }
    return chosen->toStdString();
}

void FrmPointsWindow::show_evaluation(const std::vector<exporter::RoundnessRow>& rows) {
    dialogs_->evaluation(this, rows, decimal_separator());
}

void FrmPointsWindow::close_for_end() {
    hide();
    emit programEnded(end_program_exit_code);
}

std::string FrmPointsWindow::decimal_separator() const {
    return user_decimal_separator();
}

} // namespace kastrel::app::qt
