#include "vormesa-sim/qt/main_window.h"

#include "common/dbus/protocol.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTreeWidget>

namespace vormesa_sim {

namespace {

enum Column {
    Index,
    Type,
    Id,
    TheoDiam,
    Hits,
    ActualX,
    NominalX = ActualX + 3,
    Notes = NominalX + 3
};

// Text values are quoted so they stand out from numbers.
QString shown(const FileValue& value) {
    if (const auto* number = std::get_if<double>(&value))
        return QString::number(*number, 'f', 4);
    return "\"" + QString::fromStdString(std::get<std::string>(value)) + "\"";
}

QString shown(const CountValue& value) {
    if (const auto* count = std::get_if<std::int32_t>(&value))
        return QString::number(*count);
    return "\"" + QString::fromStdString(std::get<std::string>(value)) + "\"";
}

// IDs are shown plain; an empty one as "" so it stays visible.
QString shown_id(const FileValue& value) {
    if (const auto* number = std::get_if<double>(&value))
        return QString::fromStdString(format_double(*number));
    const auto& text = std::get<std::string>(value);
    return text.empty() ? QString("\"\"") : QString::fromStdString(text);
}

QString joined(const std::set<std::string>& names) {
    QStringList list;
    for (const auto& name : names)
        list << QString::fromStdString(name);
    return list.join(", ");
}

QString command_notes(const Command& command) {
    QStringList notes;
    if (!command.failures.empty())
        notes << "fail: " + joined(command.failures);
    if (command.is_feature_override) {
        const auto& value = *command.is_feature_override;
        notes << QString("isFeature: ") + (std::holds_alternative<IsFeatureNull>(value) ? "null"
                                           : std::get<bool>(value)                      ? "true"
                                                                                        : "false");
    }
    if (command.num_hits_override)
        notes << "numHits: " + shown(*command.num_hits_override);
    return notes.join("; ");
}

QTreeWidgetItem* command_item(std::size_t index, const Command& command) {
    auto* item = new QTreeWidgetItem;
    item->setText(Index, QString::number(index));
    item->setText(Type, QString::fromStdString(command.type));
    if (command.is_feature_type()) {
        item->setText(Id, shown_id(command.id));
        item->setText(TheoDiam, shown(command.theo_diam));
        item->setText(Hits, QString::number(command.hits.size()));
        for (std::size_t j = 0; j < command.hits.size(); ++j) {
            const Hit& hit = command.hits[j];
            auto* child = new QTreeWidgetItem(item);
            child->setText(Index, QString::number(j + 1));
            child->setText(Type, "Messpunkt");
            for (int axis = 0; axis < 3; ++axis) {
                child->setText(ActualX + axis, shown(hit.actual[static_cast<std::size_t>(axis)]));
                child->setText(NominalX + axis, shown(hit.nominal[static_cast<std::size_t>(axis)]));
            }
            if (!hit.failures.empty())
                child->setText(Notes, "fail: " + joined(hit.failures));
        }
    }
    item->setText(Notes, command_notes(command));
    return item;
}

} // namespace

MainWindow::MainWindow(SimHost& host, DbusServer& server, const QString& file)
    : host_(host), server_(server), file_(file), tree_(new QTreeWidget(this)),
      status_(new QLabel(this)) {
    auto* menu = menuBar()->addMenu("&Datei");
    auto* open = menu->addAction("Teileprogramm öffnen…", this, &MainWindow::open_part_program);
    open->setShortcut(QKeySequence::Open);
    auto* close = menu->addAction("Teileprogramm schließen", this, &MainWindow::close_part_program);
    close->setShortcut(QKeySequence::Close);
    menu->addSeparator();
    auto* quit = menu->addAction("Beenden", this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);

    tree_->setHeaderLabels({"Nr.", "Typ", "ID", "TheoDiam", "Messpunkte", "Ist X", "Ist Y", "Ist Z",
                            "Soll X", "Soll Y", "Soll Z", "Besonderheiten"});
    tree_->setUniformRowHeights(true);
    tree_->setAlternatingRowColors(true);
    setCentralWidget(tree_);
    statusBar()->addWidget(status_, 1);
    resize(1100, 600);
    refresh();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    try {
        server_.set_window_shown(true);
    } catch (const BusError& error) {
        QMessageBox::warning(this, "Vormesa", QString::fromStdString(error.what()));
    }
    update_status();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    server_.set_window_shown(false);
    QMainWindow::closeEvent(event);
}

void MainWindow::open_part_program() {
    const QString file =
        QFileDialog::getOpenFileName(this, "Teileprogramm öffnen", QFileInfo(file_).absolutePath(),
                                     "Teileprogramme (*.json);;Alle Dateien (*)");
    if (file.isEmpty())
        return;
    try {
        host_.open(load_part_program(file.toStdString()));
    } catch (const PartProgramError& error) {
        // The previous part program stays active.
        QMessageBox::warning(this, "Teileprogramm öffnen", QString::fromStdString(error.what()));
        return;
    }
    file_ = file;
    refresh();
}

void MainWindow::close_part_program() {
    host_.close();
    file_.clear();
    refresh();
}

void MainWindow::refresh() {
    tree_->clear();
    const PartProgram* program = host_.active_program();
    QString label = "kein Teileprogramm";
    if (program) {
        label = program->name.empty() ? QFileInfo(file_).fileName()
                                      : QString::fromStdString(program->name);
        QList<QTreeWidgetItem*> items;
        for (std::size_t i = 0; i < program->commands.size(); ++i)
            items << command_item(i, program->commands[i]);
        tree_->addTopLevelItems(items);
        tree_->expandAll();
    }
    setWindowTitle(QString("Vormesa – %1").arg(label));
    for (int column = 0; column < tree_->columnCount(); ++column)
        tree_->resizeColumnToContents(column);
    update_status();
}

void MainWindow::update_status() {
    QString text = QString("Bedient %1").arg(kastrel::common::dbus::service_name);
    if (server_.window_shown())
        text += QString(" und %1%2")
                    .arg(QString::fromUtf8(kastrel::common::dbus::window_name_prefix.data(),
                                           static_cast<qsizetype>(
                                               kastrel::common::dbus::window_name_prefix.size())),
                         QString::fromUtf8(main_window_class.data(),
                                           static_cast<qsizetype>(main_window_class.size())));
    if (const PartProgram* program = host_.active_program())
        text += QString(" · %1 Befehle").arg(program->commands.size());
    else
        text += " · kein Teileprogramm aktiv";
    status_->setText(text);
}

} // namespace vormesa_sim
