#pragma once

#include "app/main_window/main_window_view.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace kastrel::app::qt {

// The window's modal dialogs, behind one seam so tests can answer them
// without running a nested event loop.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message with one OK button; returns when it is dismissed.
    virtual void message(QWidget* parent, const QString& text) = 0;
    // The chosen absolute path, or nothing when cancelled.
    virtual std::optional<QString> save_file(QWidget* parent, const SaveDialogRequest& request) = 0;
    // The window "Auswertung" over `rows`; returns when it is closed.
    virtual void evaluation(QWidget* parent, const std::vector<exporter::RoundnessRow>& rows,
                            const std::string& decimal_separator) = 0;
};

} // namespace kastrel::app::qt
