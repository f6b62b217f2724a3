#include "export/roundness/polar_plot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kastrel::exporter {
namespace {

constexpr double largest_drawn_deviation = 0.25; // of the radius
// As far as roundness instruments go: beyond it a near-perfect form would
// show only the noise of the arithmetic.
constexpr double largest_magnification = 100000;
constexpr int circle_points = 180;

// The largest of 1, 2, 5 times a power of ten that is at most `limit`;
// 1 when there is no deviation to magnify.
double round_magnification(double limit) {
    if (!(limit > 0) || !std::isfinite(limit))
        return 1;
    const double decade = std::pow(10.0, std::floor(std::log10(limit)));
    for (const double step : {5.0, 2.0, 1.0})
        if (step * decade <= limit * (1 + 1e-12))
            return step * decade;
    return decade;
}

std::vector<PlanePoint> circle_of(double radius) {
    std::vector<PlanePoint> points;
    points.reserve(circle_points + 1);
    for (int k = 0; k <= circle_points; ++k) {
        const double angle = 2 * std::numbers::pi * k / circle_points;
        points.push_back({radius * std::cos(angle), radius * std::sin(angle)});
    }
    return points;
}

} // namespace

PolarPlot polar_plot(const CircleFit& fit, std::span<const PlanePoint> points) {
    PolarPlot plot;
    const double reference_radius = fit.radius;
    const double largest =
        std::max(std::abs(fit.smallest_deviation), std::abs(fit.largest_deviation));
    // Deviations at the arithmetic's noise are no form: a perfect circle is drawn 1:1.
    const bool form = largest > 1e-9 * reference_radius;
    plot.magnification =
        form ? round_magnification(std::min(largest_magnification,
                                            largest_drawn_deviation * reference_radius / largest))
             : 1.0;

    struct Polar {
        double angle;
        double deviation;
    };
    std::vector<Polar> polar;
    polar.reserve(points.size());
    for (const PlanePoint& p : points)
        polar.push_back({std::atan2(p.second - fit.centre.second, p.first - fit.centre.first),
                         fit.deviation(p)});
    std::stable_sort(polar.begin(), polar.end(),
                     [](const Polar& a, const Polar& b) { return a.angle < b.angle; });
    plot.form.reserve(polar.size() + 1);
    for (const Polar& p : polar) {
        const double r = reference_radius + p.deviation * plot.magnification;
        plot.form.push_back({r * std::cos(p.angle), r * std::sin(p.angle)});
    }
    if (!plot.form.empty())
        plot.form.push_back(plot.form.front());

    plot.circle = circle_of(reference_radius);
    plot.inner = circle_of(reference_radius + fit.smallest_deviation * plot.magnification);
    plot.outer = circle_of(reference_radius + fit.largest_deviation * plot.magnification);
    plot.extent =
        1.1 * (reference_radius + std::max(0.0, fit.largest_deviation) * plot.magnification);
    return plot;
}

} // namespace kastrel::exporter
