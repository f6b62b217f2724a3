#include "app/qt/progress_dialog.h"

#include "app/texts/program_identity.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kastrel::app::qt {

// "Abbrechen", Escape and the close box all report a cancel; the dialog
// stays until the run has ended.
class ProgressDialog : public QDialog {
public:
    ProgressDialog(QWidget& owner, ProgressEvents& events) : QDialog(&owner), events_(events) {
        setObjectName(QStringLiteral("progress"));
        setWindowTitle(QString::fromUtf8(identity::application_title));
        setWindowModality(Qt::WindowModal);
        setCursor(Qt::ArrowCursor);
        auto* layout = new QVBoxLayout(this);
        line_ = new QLabel(this);
        line_->setObjectName(QStringLiteral("line"));
        // Room for the two lines of the export, so the window keeps its size.
        line_->setMinimumHeight(2 * fontMetrics().height());
        line_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        bar_ = new QProgressBar(this);
        bar_->setTextVisible(false);
        bar_->setRange(0, 0);
        auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
        cancel->setObjectName(QStringLiteral("cancel"));
        cancel->setDefault(true);
        connect(cancel, &QPushButton::clicked, this, [this] { events_.cancel_clicked(); });
        layout->addWidget(line_);
        layout->addWidget(bar_);
        layout->addWidget(cancel, 0, Qt::AlignHCenter);
        setFixedSize(fixed_size);
    }

    void show_line(const QString& text, std::optional<double> fraction) {
        line_->setText(text);
        if (!fraction) {
            bar_->setRange(0, 0);
            return;
        }
        bar_->setRange(0, bar_steps);
        bar_->setValue(static_cast<int>(*fraction * bar_steps));
    }

    void reject() override { events_.cancel_clicked(); }

    static constexpr QSize fixed_size{360, 140};

private:
    static constexpr int bar_steps = 1000;

    ProgressEvents& events_;
    QLabel* line_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

QtProgressView::QtProgressView(QWidget& main) : main_(main) {}

QtProgressView::~QtProgressView() {
    if (events_)
        end_run();
}

QWidget* QtProgressView::dialog() const {
    return dialog_.get();
}

void QtProgressView::begin_run(ProgressEvents& events) {
    events_ = &events;
    qApp->installEventFilter(this);
}

void QtProgressView::end_run() {
    dialog_.reset();
    // Input that arrived for the main window during the last steps is dropped
    // here, while the filter still holds it.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    qApp->removeEventFilter(this);
    events_ = nullptr;
}

void QtProgressView::show_progress() {
    if (dialog_ || !events_)
        return;
    dialog_ = std::make_unique<ProgressDialog>(main_, *events_);
    // Centred over the main window, as a dialog is.
    dialog_->move(main_.geometry().center() - dialog_->rect().center());
    dialog_->show();
}

void QtProgressView::set_progress(const std::string& line, std::optional<double> fraction) {
    if (dialog_)
        dialog_->show_line(QString::fromStdString(line), fraction);
}

void QtProgressView::pump() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool QtProgressView::is_main_window_part(QObject* object) const {
    for (auto* widget = qobject_cast<QWidget*>(object); widget; widget = widget->parentWidget()) {
        if (widget == &main_)
            return true;
        if (widget->isWindow())
            return false;
    }
    return false;
}

bool QtProgressView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return is_main_window_part(watched);
    case QEvent::Close:
        // Closing the main window asks to give the run up, not to end mid-run.
        if (watched == &main_) {
            event->ignore();
            if (events_)
                events_->cancel_clicked();
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace kastrel::app::qt
