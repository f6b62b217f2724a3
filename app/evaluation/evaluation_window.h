#pragma once

#include "app/evaluation/evaluation_view.h"
#include "export/roundness/roundness_row.h"
#include "host/number_text.h"

#include <vector>

namespace kastrel::app {

// The logic of the window "Auswertung": the evaluated rows as a table, the
// selected row's polar plot beside it, the table on the clipboard.
class EvaluationWindow : public EvaluationEvents {
public:
    static constexpr const char* title = "Auswertung";
    static constexpr const char* no_circle = "Kein Kreis";

    // `decimal_separator`: the user's, as the window shows numbers.
    EvaluationWindow(EvaluationView& view, const std::vector<exporter::RoundnessRow>& rows,
                     const std::string& decimal_separator);

    // Fills the view before it shows: the table, its first row selected.
    void open();

    void row_selected(int row) override;
    void copy_clicked() override;
    void close_clicked() override;

    int selected_row() const noexcept { return selected_; }

private:
    EvaluationView& view_;
    const std::vector<exporter::RoundnessRow>& rows_;
    host::NumberTexts numbers_;
    int selected_ = -1;
};

} // namespace kastrel::app
