#include "app/qt/frm_points_window.h"

#include "app/guarded_event.h"
#include "app/qt/kastrel_icon.h"
#include "app/qt/qt_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <stdexcept>

namespace kastrel::app::qt {

FrmPointsWindow::FrmPointsWindow(std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), controls_(create_frm_points_controls(*this)),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtDialogs>()) {
    setObjectName(QStringLiteral("frm_points"));
    setFont(window_font());
    // The load step puts the real caption before the window is shown.
    setWindowTitle(QStringLiteral("Kastrel"));
    setWindowIcon(kastrel_icon());
    connect_events();
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

void FrmPointsWindow::connect_events() {
    const auto report = [this](void (MainWindowEvents::*handler)()) {
        return [this, handler] {
            if (events_ != nullptr) {
                run_guarded(*this, [&] { (events_->*handler)(); });
            }
        };
    };
    connect(controls_.cmd_lesen, &QPushButton::clicked, this,
            report(&MainWindowEvents::cmd_lesen_Click));
    connect(controls_.cmd_schreiben, &QPushButton::clicked, this,
            report(&MainWindowEvents::cmd_schreiben_Click));
    connect(controls_.cmd_allemarkieren, &QPushButton::clicked, this,
            report(&MainWindowEvents::cmd_allemarkieren_Click));
    connect(controls_.cmd_alledemarkieren, &QPushButton::clicked, this,
            report(&MainWindowEvents::cmd_alledemarkieren_Click));

    // `clicked` comes only from the user (mouse or keyboard) and after the
    // state has changed; setChecked from the logic stays silent.
    int number = 1;
    for (QCheckBox* box : {controls_.Check1, controls_.Check2, controls_.Check3}) {
        connect(box, &QCheckBox::clicked, this, [this, number] {
            if (events_ != nullptr) {
                run_guarded(*this, [&] { events_->Check_Click(number); });
            }
        });
        ++number;
    }
}

QAbstractButton& FrmPointsWindow::command(CommandButton button) const {
    switch (button) {
    case CommandButton::cmd_lesen:
        return *controls_.cmd_lesen;
    case CommandButton::cmd_schreiben:
        return *controls_.cmd_schreiben;
    case CommandButton::cmd_allemarkieren:
        return *controls_.cmd_allemarkieren;
    case CommandButton::cmd_alledemarkieren:
        return *controls_.cmd_alledemarkieren;
    }
    throw std::out_of_range("unknown command button");
}

QAbstractButton& FrmPointsWindow::option(int option) const {
    QAbstractButton* button = controls_.options->button(option);
    if (button == nullptr) {
        throw std::out_of_range("no Option" + std::to_string(option));
    }
    return *button;
}

QAbstractButton& FrmPointsWindow::check(int check) const {
    switch (check) {
    case 1:
        return *controls_.Check1;
    case 2:
        return *controls_.Check2;
    case 3:
        return *controls_.Check3;
    default:
        throw std::out_of_range("no Check" + std::to_string(check));
    }
}

void FrmPointsWindow::set_caption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void FrmPointsWindow::clear_entries() {
    controls_.List1->clear();
}

void FrmPointsWindow::add_entry(const std::string& text) {
    controls_.List1->addItem(QString::fromStdString(text));
}

int FrmPointsWindow::entry_count() const {
    return controls_.List1->count();
}

std::string FrmPointsWindow::entry_text(int index) const {
    const QListWidgetItem* item = controls_.List1->item(index);
    return item != nullptr ? item->text().toStdString() : std::string();
}

bool FrmPointsWindow::entry_selected(int index) const {
    const QListWidgetItem* item = controls_.List1->item(index);
    return item != nullptr && item->isSelected();
}

void FrmPointsWindow::set_all_selected(bool selected) {
    // One selection range instead of one change per row.
    if (selected) {
        controls_.List1->selectAll();
    } else {
        controls_.List1->clearSelection();
    }
}

bool FrmPointsWindow::option_value(int number) const {
    return option(number).isChecked();
}

void FrmPointsWindow::set_option_value(int number, bool on) {
    QAbstractButton& button = option(number);
    if (on || !button.isChecked()) {
        button.setChecked(on);
        return;
    }
    // An exclusive group refuses to clear its checked button; the logic may.
    controls_.options->setExclusive(false);
    button.setChecked(false);
    controls_.options->setExclusive(true);
}

int FrmPointsWindow::check_value(int number) const {
    return check(number).isChecked() ? 1 : 0;
}

void FrmPointsWindow::set_check_value(int number, int value) {
    check(number).setChecked(value != 0);
}

void FrmPointsWindow::set_enabled(CommandButton button, bool enabled) {
    command(button).setEnabled(enabled);
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

void FrmPointsWindow::end_program() {
    exit_code_ = end_program_exit_code;
    hide();
    emit programEnded(end_program_exit_code);
}

std::string FrmPointsWindow::decimal_separator() const {
    return QLocale::system().decimalPoint().toLocal8Bit().toStdString();
}

} // namespace kastrel::app::qt
