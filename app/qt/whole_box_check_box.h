#pragma once

#include <QCheckBox>

namespace kastrel::app::qt {

// A check box that takes a click anywhere in its box, as the plane switches
// are drawn wider than their captions; QCheckBox reacts only on the indicator
// and the caption's text.
class WholeBoxCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

} // namespace kastrel::app::qt
