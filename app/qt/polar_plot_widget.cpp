#include "app/qt/polar_plot_widget.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace kastrel::app::qt {
namespace {

// The workbook chart's colours and widths (points as pixels at 96 dpi).
struct Pen {
    QColor colour;
    qreal width;
    Qt::PenStyle style;
};
const Pen zone_pen{QColor(0xC0, 0x00, 0x00), 0.7, Qt::DashLine};
const Pen reference_pen{QColor(0x80, 0x80, 0x80), 1.0, Qt::SolidLine};
const Pen form_pen{QColor(0x1F, 0x4E, 0x79), 2.3, Qt::SolidLine};

void draw_line(QPainter& painter, const std::vector<exporter::PlanePoint>& points,
               const QPointF& centre, qreal scale, const Pen& pen) {
    if (points.empty())
        return;
    QPainterPath path;
    // y up, as on the chart.
    const auto at = [&](const exporter::PlanePoint& p) {
        return QPointF(centre.x() + p.first * scale, centre.y() - p.second * scale);
    };
    path.moveTo(at(points.front()));
    for (std::size_t k = 1; k < points.size(); ++k)
        path.lineTo(at(points[k]));
    QPen drawn(pen.colour, pen.width, pen.style);
    painter.setPen(drawn);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

} // namespace

PolarPlotWidget::PolarPlotWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("plot");
    setMinimumSize(280, 300);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void PolarPlotWidget::show_picture(const PlotPicture& picture) {
    picture_ = picture;
    setAccessibleName(QString::fromStdString(picture_.title));
    update();
}

void PolarPlotWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = rect().adjusted(8, 8, -8, -8);
    const QFontMetrics metrics(font());
    const QRect title_area(area.left(), area.top(), area.width(), metrics.height() * 2 + 4);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(title_area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     QString::fromStdString(picture_.title));
    const QRect plot_area = area.adjusted(0, title_area.height() + 4, 0, 0);
    if (!picture_.plot) {
        painter.drawText(plot_area, Qt::AlignCenter, QString::fromStdString(picture_.no_plot_text));
        return;
    }
    const exporter::PolarPlot& plot = *picture_.plot;
    const int side = std::min(plot_area.width(), plot_area.height());
    if (side <= 0 || plot.extent <= 0)
        return;
    // One scale for both axes, so that a round form looks round.
    const qreal scale = side / (2 * plot.extent);
    const QPointF centre(plot_area.left() + plot_area.width() / 2.0,
                         plot_area.top() + plot_area.height() / 2.0);
    draw_line(painter, plot.inner, centre, scale, zone_pen);
    draw_line(painter, plot.outer, centre, scale, zone_pen);
    draw_line(painter, plot.circle, centre, scale, reference_pen);
    draw_line(painter, plot.form, centre, scale, form_pen);
}

} // namespace kastrel::app::qt
