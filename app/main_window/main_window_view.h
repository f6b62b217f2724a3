#pragma once

#include "app/run/progress_view.h"
#include "export/roundness/roundness_row.h"

#include <optional>
#include <string>
#include <vector>

namespace kastrel::app {

enum class CommandButton {
    cmd_lesen,
    cmd_schreiben,
    cmd_allemarkieren,
    cmd_alledemarkieren,
    cmd_auswerten
};

// The window's mouse pointer codes.
enum class Pointer { Default = 0, Arrow = 1, Hourglass = 11 };

// How CommonDialog1 is set up for a save. The filter is "description|pattern"
// pairs; the index counts them from 1. The text file is the type the dialog
// opens with, so a user who saves as always gets the file as always.
struct SaveDialogRequest {
    std::string filter = "Excel Werkzeug Korrekturdatei (*.xls)|*.xls|"
                         "Excel-Arbeitsmappe (*.xlsx)|*.xlsx|"
                         "AQDEF-Datei für SPC (*.dfq)|*.dfq";
    int filter_index = 1;
    // Per type, the extension a name typed without one gets while that type is
    // chosen (the overwrite question then asks about the name with it); empty:
    // the name is used as typed.
    std::vector<std::string> default_extensions = {"", "xlsx", "dfq"};
    int flags = 6; // ask before overwriting (2), hide the read-only box (4)
    // Names ending in these extensions (any letter case) are continued, not
    // replaced: the dialog asks no overwrite question for them.
    std::vector<std::string> continued_extensions = {"dfq"};
    std::string proposed_name;
};

// Everything the window logic needs from a window. Implemented by the Qt
// window, the native Windows window (both through FormWindow) and the tests.
// Texts are UTF-8. Options and check boxes are numbered as in their names
// (Option1..4, Check1..3); other numbers throw std::out_of_range.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    virtual void set_caption(const std::string& caption) = 0;

    // List1, its entries counted from 0. An index out of range reads as an
    // empty text, not selected.
    virtual void clear_entries() = 0;
    virtual void add_entry(const std::string& text) = 0;
    virtual int entry_count() const = 0;
    virtual std::string entry_text(int index) const = 0;
    virtual bool entry_selected(int index) const = 0;
    virtual void set_all_selected(bool selected) = 0;

    // Selecting an option deselects the others; clearing the selected one
    // leaves none selected.
    virtual bool option_value(int option) const = 0;
    virtual void set_option_value(int option, bool on) = 0;
    // 1 checked, 0 unchecked; any non-zero value checks the box. Setting a
    // value reports no click.
    virtual int check_value(int check) const = 0;
    virtual void set_check_value(int check, int value) = 0;

    virtual void set_enabled(CommandButton button, bool enabled) = 0;
    // Shows at once, also while the handler keeps the event loop busy.
    virtual void set_pointer(Pointer pointer) = 0;

    // A message box: the text, one OK button, no icon, under the application
    // title (identity::application_title). Returns when it is dismissed.
    virtual void show_message(const std::string& text) = 0;
    // The Save dialog; the chosen absolute path, nothing when the user cancels.
    virtual std::optional<std::string> show_save_dialog(const SaveDialogRequest& request) = 0;
    // The window "Auswertung" over these rows, modal over the main window
    // (EvaluationWindow is its logic). Returns when it is closed.
    virtual void show_evaluation(const std::vector<exporter::RoundnessRow>& rows) = 0;
    // Ends the whole program with exit code 1: the window goes at once, the
    // program as soon as its event loop has control again (or before the loop
    // starts, when the load step ends it). The caller takes no further step.
    virtual void end_program() = 0;

    // The user's regional decimal separator, as it is to be written to the file.
    virtual std::string decimal_separator() const = 0;

    // The progress window of long runs, and the main window while they go on.
    virtual ProgressView& progress_view() = 0;
};

} // namespace kastrel::app

namespace kastrel::app {

// The window's events, as the window reports them to its logic.
class MainWindowEvents {
public:
    virtual ~MainWindowEvents() = default;
    virtual void cmd_lesen_Click() = 0;
    virtual void cmd_schreiben_Click() = 0;
    virtual void cmd_allemarkieren_Click() = 0;
    virtual void cmd_alledemarkieren_Click() = 0;
    virtual void cmd_auswerten_Click() = 0;
    // Check1..Check3, after the click has changed the box's value.
    virtual void Check_Click(int check) = 0;
};

} // namespace kastrel::app
