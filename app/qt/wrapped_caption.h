#pragma once

#include <QAbstractButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace kastrel::app::qt {

// Draws a button around its caption, which it wraps at word boundaries.
using CaptionPainter = void (*)(const QAbstractButton& button, QStylePainter& painter,
                                const QStyleOptionButton& option, const QString& caption);

// A Qt button whose caption wraps, as the window's long captions need; Qt's
// buttons keep text on one line. The style draws the rest of the button from
// an option without the caption.
template <typename Button, CaptionPainter paint> class WrappedCaption : public Button {
public:
    using Button::Button;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        this->initStyleOption(&option);
        const QString caption = option.text;
        option.text.clear();
        paint(*this, painter, option, caption);
    }
};

// A button that takes a click anywhere in its box, wrapped lines included;
// Qt's option buttons and check boxes react only on the indicator and the
// caption's text, and the window's boxes are drawn wider than their captions.
template <typename Button> class WholeBox : public Button {
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

} // namespace kastrel::app::qt
