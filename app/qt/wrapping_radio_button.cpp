#include "app/qt/wrapping_radio_button.h"

namespace kastrel::app::qt {

void paint_radio_button(const QAbstractButton& button, QStylePainter& painter,
                        const QStyleOptionButton& option, const QString& caption) {
    QStyleOptionButton indicator = option;
    indicator.rect =
        button.style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, &button);
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, indicator);

    QRect text = button.rect();
    text.setLeft(indicator.rect.right() + 1 +
                 button.style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, &button));
    painter.drawItemText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, option.palette,
                         button.isEnabled(), caption, QPalette::WindowText);

    if (button.hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect =
            painter.boundingRect(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, caption)
                .adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace kastrel::app::qt
