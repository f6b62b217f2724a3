#include "app/evaluation/evaluation_window.h"

#include "app/evaluation/evaluation_table.h"
#include "export/roundness/plot_title.h"

namespace kastrel::app {

EvaluationWindow::EvaluationWindow(EvaluationView& view,
                                   const std::vector<exporter::RoundnessRow>& rows,
                                   const std::string& decimal_separator)
    : view_(view), rows_(rows), numbers_(decimal_separator) {}

void EvaluationWindow::open() {
    view_.set_title(title);
    std::vector<std::string> titles(exporter::roundness_titles.begin(),
                                    exporter::roundness_titles.end());
    std::vector<std::vector<std::string>> texts;
    texts.reserve(rows_.size());
    for (const exporter::RoundnessRow& row : rows_) {
        std::vector<std::string>& line = texts.emplace_back();
        line.reserve(exporter::roundness_columns);
        for (std::size_t column = 0; column < exporter::roundness_columns; ++column)
            line.push_back(shown_cell(row, column, numbers_));
    }
    view_.set_table(titles, texts);
    if (!rows_.empty()) {
        view_.select_row(0);
        row_selected(0);
    } else {
        view_.show_plot({});
    }
}

void EvaluationWindow::row_selected(int row) {
    if (row == selected_)
        return;
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) {
        // Nothing selected: the plot stays empty until a row is chosen.
        selected_ = -1;
        view_.show_plot({});
        return;
    }
    selected_ = row;
    const exporter::RoundnessRow& shown = rows_[static_cast<std::size_t>(row)];
    PlotPicture picture;
    if (shown.circle) {
        picture.plot = exporter::polar_plot(*shown.circle, shown.hits);
        picture.title = exporter::plot_title(shown.id, shown.circle->roundness(),
                                             picture.plot->magnification, numbers_);
    } else {
        picture.title = shown.id;
        picture.no_plot_text = no_circle;
    }
    view_.show_plot(picture);
}

void EvaluationWindow::copy_clicked() {
    view_.set_clipboard_text(tab_separated(rows_, &numbers_));
}

void EvaluationWindow::close_clicked() {
    view_.close();
}

} // namespace kastrel::app
