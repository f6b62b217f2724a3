#pragma once

#include "app/qt/dialogs.h"

#include <QStringList>

class QFileDialog;
class QMessageBox;

namespace kastrel::app::qt {

// The real dialogs. Qt's own file dialog is used everywhere so it behaves the
// same on every desktop and under Xvfb.
class QtDialogs : public Dialogs {
public:
    void message(QWidget* parent, const QString& text) override;
    std::optional<QString> save_file(QWidget* parent, const SaveDialogRequest& request) override;
    void evaluation(QWidget* parent, const std::vector<exporter::RoundnessRow>& rows,
                    const std::string& decimal_separator) override;
};

// "description|pattern|description|pattern..." to Qt name filters. A
// description that already ends in its pattern in brackets is kept as it is.
QStringList qt_name_filters(const std::string& filter);

// The settings of the two dialogs, apart so they can be checked without exec().
void configure_message_box(QMessageBox& box, const QString& text);
void configure_save_dialog(QFileDialog& dialog, const SaveDialogRequest& request);

} // namespace kastrel::app::qt
