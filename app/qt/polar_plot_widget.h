#pragma once

#include "app/evaluation/evaluation_view.h"

#include <QWidget>

namespace kastrel::app::qt {

// The polar plot of one row, painted: the form line, the reference circle
// and the RONt zone's two circles at equal scale on both axes, the title
// above; for a row without a circle its text in the plot's place.
class PolarPlotWidget : public QWidget {
    Q_OBJECT

public:
    explicit PolarPlotWidget(QWidget* parent = nullptr);

    void show_picture(const PlotPicture& picture);
    const PlotPicture& picture() const noexcept { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PlotPicture picture_;
};

} // namespace kastrel::app::qt
