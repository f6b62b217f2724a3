#pragma once

#include "app/qt/wrapped_caption.h"

#include <QRadioButton>

namespace kastrel::app::qt {

void paint_radio_button(const QAbstractButton& button, QStylePainter& painter,
                        const QStyleOptionButton& option, const QString& caption);

// An option button whose caption wraps beside its indicator, as the long
// option captions need in their two-line boxes.
using WrappingRadioButton = WholeBox<WrappedCaption<QRadioButton, paint_radio_button>>;

} // namespace kastrel::app::qt
