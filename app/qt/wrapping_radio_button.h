#pragma once

#include <QRadioButton>

namespace kastrel::app::qt {

// An option button whose caption wraps at word boundaries beside its
// indicator, as the long option captions need in their two-line boxes;
// QRadioButton keeps text on one line.
class WrappingRadioButton : public QRadioButton {
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

} // namespace kastrel::app::qt
