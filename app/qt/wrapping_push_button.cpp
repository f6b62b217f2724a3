#include "app/qt/wrapping_push_button.h"

namespace kastrel::app::qt {

void paint_push_button(const QAbstractButton& button, QStylePainter& painter,
                       const QStyleOptionButton& option, const QString& caption) {
    // Frame and background from the style, then the caption wrapped by us.
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect contents =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    painter.drawItemText(contents, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                         option.palette, button.isEnabled(), caption, QPalette::ButtonText);

    if (button.hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect =
            button.style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, &button);
        focus.backgroundColor = option.palette.button().color();
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace kastrel::app::qt
