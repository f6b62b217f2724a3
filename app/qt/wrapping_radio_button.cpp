#include "app/qt/wrapping_radio_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace kastrel::app::qt {

void WrappingRadioButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();

    QStyleOptionButton indicator = option;
    indicator.rect = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this);
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, indicator);

    QRect text = rect();
    text.setLeft(indicator.rect.right() + 1 +
                 style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, this));
    painter.drawItemText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, option.palette,
                         isEnabled(), caption, QPalette::WindowText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect =
            painter.boundingRect(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, caption)
                .adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

// The whole box takes the click, wrapped lines included.
bool WrappingRadioButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

} // namespace kastrel::app::qt
