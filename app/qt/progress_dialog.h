#pragma once

#include "app/run/progress_view.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;

namespace kastrel::app::qt {

class ProgressDialog;

// The progress window under Qt, and the main window `main` while a run goes
// on: an application-wide event filter drops the main window's input (its
// controls keep their enabled states), a modal dialog shows the progress.
class QtProgressView : public QObject, public ProgressView {
    Q_OBJECT

public:
    explicit QtProgressView(QWidget& main);
    ~QtProgressView() override;

    void begin_run(ProgressEvents& events) override;
    void end_run() override;
    void show_progress() override;
    void set_progress(const std::string& line, std::optional<double> fraction) override;
    void pump() override;

    // The dialog while it is shown, for tests.
    QWidget* dialog() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool is_main_window_part(QObject* object) const;

    QWidget& main_;
    ProgressEvents* events_ = nullptr;
    std::unique_ptr<ProgressDialog> dialog_;
};

} // namespace kastrel::app::qt
