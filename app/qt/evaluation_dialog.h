#pragma once

#include "app/evaluation/evaluation_view.h"
#include "app/evaluation/evaluation_window.h"

#include <QDialog>

class QTableWidget;

namespace kastrel::app::qt {

class PolarPlotWidget;

// The window "Auswertung" under Qt: a table view of the rows, the selected
// row's plot beside it, "Kopieren" and "Schließen". EvaluationWindow is its
// logic.
class EvaluationDialog : public QDialog, public EvaluationView {
    Q_OBJECT

public:
    EvaluationDialog(const std::vector<exporter::RoundnessRow>& rows,
                     const std::string& decimal_separator, QWidget* parent = nullptr);

    void set_title(const std::string& title) override;
    void set_table(const std::vector<std::string>& titles,
                   const std::vector<std::vector<std::string>>& rows) override;
    void select_row(int row) override;
    void show_plot(const PlotPicture& picture) override;
    void set_clipboard_text(const std::string& text) override;
    void close() override;

protected:
    void reject() override; // Escape and the close box
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidget* table_;
    PolarPlotWidget* plot_;
    EvaluationWindow logic_;
};

} // namespace kastrel::app::qt
