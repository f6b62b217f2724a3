#pragma once

#include <QPushButton>

namespace kastrel::app::qt {

// A push button whose caption wraps at word boundaries inside the button, as
// the window's long button captions need; QPushButton keeps text on one line.
class WrappingPushButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kastrel::app::qt
