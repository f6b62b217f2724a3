#include "app/qt/wrapping_push_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace kastrel::app::qt {

void WrappingPushButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    // Frame and background from the style, then the caption wrapped by us.
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(contents, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                         option.palette, isEnabled(), caption, QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        focus.backgroundColor = option.palette.button().color();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace kastrel::app::qt
