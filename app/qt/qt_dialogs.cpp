#include "app/qt/qt_dialogs.h"

#include "app/qt/evaluation_dialog.h"
#include "app/texts/program_identity.h"

#include <QFileDialog>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace kastrel::app::qt {

namespace {

constexpr int flag_confirm_overwrite = 2;

// Asks no overwrite question for a file that is continued rather than
// replaced; for every other name, as configured.
class SaveDialog : public QFileDialog {
public:
    SaveDialog(QWidget* parent, const std::vector<std::string>& continued_extensions)
        : QFileDialog(parent) {
        for (const std::string& extension : continued_extensions)
            continued_ << u'.' + QString::fromStdString(extension);
    }

    void accept() override {
        const QStringList files = selectedFiles();
        const QString name = files.isEmpty() ? QString() : QFileInfo(files.first()).fileName();
        const bool continued =
            std::any_of(continued_.begin(), continued_.end(), [&](const QString& ending) {
                return name.size() > ending.size() && name.endsWith(ending, Qt::CaseInsensitive);
            });
        const bool asks = !testOption(DontConfirmOverwrite);
        if (continued && asks)
            setOption(DontConfirmOverwrite, true);
        QFileDialog::accept();
        if (continued && asks)
            setOption(DontConfirmOverwrite, false);
    }

private:
    QStringList continued_;
};

} // namespace

QStringList qt_name_filters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        // Qt separates patterns with blanks, the "|" format with semicolons.
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ').simplified();
        const QString bracketed = u'(' + patterns + u')';
        filters << (description.trimmed().endsWith(bracketed) ? description
                                                              : description + u' ' + bracketed);
    }
    return filters;
}

void configure_message_box(QMessageBox& box, const QString& text) {
    box.setWindowTitle(QString::fromUtf8(identity::application_title));
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    // A plain OK button: some styles put a glyph on standard buttons.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
}

void configure_save_dialog(QFileDialog& dialog, const SaveDialogRequest& request) {
    // No title of our own: the dialog keeps its standard "Save As" caption.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite,
                     (request.flags & flag_confirm_overwrite) == 0);
    const QStringList filters = qt_name_filters(request.filter);
    dialog.setNameFilters(filters);
    // A name typed without extension gets the chosen type's default one, if
    // it has one; the dialog adds it before it asks about overwriting.
    const auto suffix_for = [filters,
                             extensions = request.default_extensions](const QString& filter) {
        const auto index = static_cast<std::size_t>(filters.indexOf(filter));
        return index < extensions.size() ? QString::fromStdString(extensions[index]) : QString();
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffix_for](const QString& filter) {
                         dialog.setDefaultSuffix(suffix_for(filter));
                     });
    // The index counts from 1; one out of range falls back to the first filter.
    if (!filters.isEmpty()) {
        const bool in_range = request.filter_index >= 1 && request.filter_index <= filters.size();
        dialog.selectNameFilter(filters[in_range ? request.filter_index - 1 : 0]);
    }
    dialog.setDefaultSuffix(suffix_for(dialog.selectedNameFilter()));
    if (!request.proposed_name.empty()) {
        dialog.selectFile(QString::fromStdString(request.proposed_name));
    }
}

void QtDialogs::message(QWidget* parent, const QString& text) {
    QMessageBox box(parent);
    configure_message_box(box, text);
    box.exec();
}

std::optional<QString> QtDialogs::save_file(QWidget* parent, const SaveDialogRequest& request) {
    SaveDialog dialog(parent, request.continued_extensions);
    configure_save_dialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return QFileInfo(chosen.first()).absoluteFilePath();
}

void QtDialogs::evaluation(QWidget* parent, const std::vector<exporter::RoundnessRow>& rows,
                           const std::string& decimal_separator) {
    EvaluationDialog dialog(rows, decimal_separator, parent);
    dialog.exec();
}

} // namespace kastrel::app::qt
