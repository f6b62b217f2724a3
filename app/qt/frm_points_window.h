#pragma once

#include "app/main_window_view.h"
#include "app/qt/dialogs.h"
#include "app/qt/frm_points_controls.h"

#include <QFont>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QAbstractButton;

namespace kastrel::app::qt {

// The window frm_points under Qt: draws the controls, reports user actions to
// MainWindowEvents and carries out what the logic asks through MainWindowView.
class FrmPointsWindow : public QWidget, public MainWindowView {
    Q_OBJECT

public:
    explicit FrmPointsWindow(std::unique_ptr<Dialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~FrmPointsWindow() override;

    // Where user actions go; not owned. Without a receiver they are dropped.
    void set_events(MainWindowEvents* events) { events_ = events; }

    // Set once end_program() has run: the code the program is to end with.
    std::optional<int> exit_code() const { return exit_code_; }
    static constexpr int end_program_exit_code = 1;

    void set_caption(const std::string& caption) override;

    void clear_entries() override;
    void add_entry(const std::string& text) override;
    int entry_count() const override;
    // Out of range: an empty text, not selected.
    std::string entry_text(int index) const override;
    bool entry_selected(int index) const override;
    void set_all_selected(bool selected) override;

    // Numbers outside Option1..4 / Check1..3 throw std::out_of_range.
    bool option_value(int option) const override;
    void set_option_value(int option, bool on) override;
    // 1 checked, 0 unchecked; any non-zero value checks the box.
    int check_value(int check) const override;
    void set_check_value(int check, int value) override;

    void set_enabled(CommandButton button, bool enabled) override;
    void set_pointer(Pointer pointer) override;

    void show_message(const std::string& text) override;
    std::optional<std::string> show_save_dialog(const SaveDialogRequest& request) override;
    // Hides the window and emits programEnded; the owner of the event loop
    // ends it (the window cannot end a loop that has not started yet).
    void end_program() override;

    std::string decimal_separator() const override;

signals:
    void programEnded(int exit_code);

private:
    static QFont window_font();
    QAbstractButton& command(CommandButton button) const;
    QAbstractButton& option(int option) const;
    QAbstractButton& check(int check) const;
    void connect_events();

    FrmPointsControls controls_;
    std::unique_ptr<Dialogs> dialogs_;
    MainWindowEvents* events_ = nullptr;
    std::optional<int> exit_code_;
};

} // namespace kastrel::app::qt
