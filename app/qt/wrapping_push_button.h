#pragma once

#include "app/qt/wrapped_caption.h"

#include <QPushButton>

namespace kastrel::app::qt {

void paint_push_button(const QAbstractButton& button, QStylePainter& painter,
                       const QStyleOptionButton& option, const QString& caption);

// A push button whose caption wraps inside the button.
using WrappingPushButton = WrappedCaption<QPushButton, paint_push_button>;

} // namespace kastrel::app::qt
