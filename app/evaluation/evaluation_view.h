#pragma once

#include "export/roundness/polar_plot.h"

#include <optional>
#include <string>
#include <vector>

namespace kastrel::app {

// What the plot beside the table shows: a row's polar plot under its title,
// or, for a row without a circle, no plot and the text in its place.
struct PlotPicture {
    std::string title;
    std::optional<exporter::PolarPlot> plot;
    std::string no_plot_text;
};

// The window "Auswertung" as its logic works it. Implemented by the Qt
// dialog, the Win32 window and the tests; texts are UTF-8.
class EvaluationView {
public:
    virtual ~EvaluationView() = default;

    virtual void set_title(const std::string& title) = 0;
    // The column heads and the rows' texts, row by row.
    virtual void set_table(const std::vector<std::string>& titles,
                           const std::vector<std::vector<std::string>>& rows) = 0;
    // Marks the row as selected in the table; reports no selection back.
    virtual void select_row(int row) = 0;
    virtual void show_plot(const PlotPicture& picture) = 0;
    virtual void set_clipboard_text(const std::string& text) = 0;
    // Ends the modal window.
    virtual void close() = 0;
};

// The window's events, as the toolkit reports them to its logic.
class EvaluationEvents {
public:
    virtual ~EvaluationEvents() = default;
    // The user selected a row in the table (-1: none).
    virtual void row_selected(int row) = 0;
    // "Kopieren" or Ctrl+C.
    virtual void copy_clicked() = 0;
    // "Schließen", Escape or the close box.
    virtual void close_clicked() = 0;
};

} // namespace kastrel::app
