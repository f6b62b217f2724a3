#pragma once

#include "app/form/form_window.h"
#include "app/qt/dialogs.h"
#include "app/qt/frm_points_controls.h"
#include "app/qt/progress_dialog.h"
#include "app/run/ending_progress_view.h"

#include <QFont>
#include <QWidget>
#include <memory>

namespace kastrel::app::qt {

// The window frm_points under Qt: its controls, the clicks they take, and the
// platform's list, pointer, dialogs and regional settings.
class FrmPointsWindow : public QWidget, public FormWindow {
    Q_OBJECT

public:
    explicit FrmPointsWindow(std::unique_ptr<Dialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~FrmPointsWindow() override;

    void set_caption(const std::string& caption) override;
    void clear_entries() override;
    void add_entry(const std::string& text) override;
    int entry_count() const override;
    void set_all_selected(bool selected) override;
    void set_pointer(Pointer pointer) override;
    void show_message(const std::string& text) override;
    std::optional<std::string> show_save_dialog(const SaveDialogRequest& request) override;
    void show_evaluation(const std::vector<exporter::RoundnessRow>& rows) override;
    std::string decimal_separator() const override;
    ProgressView& progress_view() override { return ending_; }
    // Where the program is told from outside to end.
    EndingProgressView& end_requests() { return ending_; }

signals:
    // end_program() has hidden the window; the owner of the event loop ends
    // it (the window cannot end a loop that has not started yet).
    void programEnded(int exit_code);

private:
    bool is_checked(Control button) const override;
    void set_checked(Control button, bool checked) override;
    void set_control_enabled(Control control, bool enabled) override;
    std::string list_text(int index) const override;
    bool list_selected(int index) const override;
    void close_for_end() override;

    static QFont window_font();
    void connect_clicks();

    FrmPointsControls controls_;
    std::unique_ptr<Dialogs> dialogs_;
    QtProgressView progress_{*this};
    EndingProgressView ending_{progress_};
};

} // namespace kastrel::app::qt
