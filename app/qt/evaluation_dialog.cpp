#include "app/qt/evaluation_dialog.h"

#include "app/qt/polar_plot_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kastrel::app::qt {

EvaluationDialog::EvaluationDialog(const std::vector<exporter::RoundnessRow>& rows,
                                   const std::string& decimal_separator, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(this)), plot_(new PolarPlotWidget(this)),
      logic_(*this, rows, decimal_separator) {
    setObjectName("Auswertung");
    setModal(true);
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    table_->setObjectName("table");
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);

    auto* copy = new QPushButton("Kopieren", this);
    copy->setObjectName("Kopieren");
    copy->setAutoDefault(false);
    auto* close_button = new QPushButton("Schließen", this);
    close_button->setObjectName("Schliessen");
    close_button->setDefault(true);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(table_);
    splitter->addWidget(plot_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addWidget(close_button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    // Wide enough for all fourteen columns beside a plot of readable size.
    resize(1240, 560);
    splitter->setSizes({800, 440});

    connect(copy, &QPushButton::clicked, this, [this] { logic_.copy_clicked(); });
    connect(close_button, &QPushButton::clicked, this, [this] { logic_.close_clicked(); });
    // The table's own Ctrl+C would copy one cell only.
    table_->installEventFilter(this);
    auto* shortcut = new QShortcut(QKeySequence::Copy, this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { logic_.copy_clicked(); });

    logic_.open();
    connect(table_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { logic_.row_selected(row); });
}

void EvaluationDialog::set_title(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
}

void EvaluationDialog::set_table(const std::vector<std::string>& titles,
                                 const std::vector<std::vector<std::string>>& rows) {
    table_->setColumnCount(static_cast<int>(titles.size()));
    table_->setRowCount(static_cast<int>(rows.size()));
    QStringList heads;
    for (const std::string& title : titles)
        heads << QString::fromStdString(title);
    table_->setHorizontalHeaderLabels(heads);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(rows[r][c]));
            // Texts (ID, plane) to the left, numbers to the right.
            item->setTextAlignment(c < 2 ? Qt::AlignLeft | Qt::AlignVCenter
                                         : Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    table_->resizeColumnsToContents();
}

void EvaluationDialog::select_row(int row) {
    const QSignalBlocker quiet(table_);
    table_->setCurrentCell(row, 0);
    table_->selectRow(row);
}

void EvaluationDialog::show_plot(const PlotPicture& picture) {
    plot_->show_picture(picture);
}

void EvaluationDialog::set_clipboard_text(const std::string& text) {
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

void EvaluationDialog::close() {
    QDialog::accept();
}

bool EvaluationDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        logic_.copy_clicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void EvaluationDialog::reject() {
    logic_.close_clicked();
}

} // namespace kastrel::app::qt
