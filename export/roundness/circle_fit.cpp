#include "export/roundness/circle_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

// The least-squares reference circle (LSCI) of ISO 12181-2 / ISO 4291: the
// circle minimising the sum of squared radial deviations. It is found the
// usual way for geometric fits: an algebraic (Kåsa) circle as the start, which
// is biased on short arcs but close, then Gauss-Newton steps on the radial
// deviations until a step moves the centre and the radius by less than 1e-12
// of the radius. Both least-squares problems (n x 3) are solved by
// Householder QR, not by normal equations, which would square their condition.

namespace kastrel::exporter {
namespace {

constexpr int max_iterations = 100;
constexpr double converged = 1e-12;
// A column whose remainder after QR is this small against the largest column
// adds nothing: the points lie on a line (or on one spot).
constexpr double rank_tolerance = 1e-10;

using Row = std::array<double, 3>;

// Least squares of A x = b for an n x 3 matrix A (as rows), by Householder QR.
// Nothing when A has not full rank.
std::optional<Row> solve_least_squares(std::vector<Row> a, std::vector<double> b) {
    const std::size_t n = a.size();
    double largest_column = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        double sum = 0;
        for (const Row& row : a)
            sum += row[k] * row[k];
        largest_column = std::max(largest_column, std::sqrt(sum));
    }
    if (largest_column == 0 || !std::isfinite(largest_column))
        return std::nullopt;
    Row diagonal{};
    for (std::size_t k = 0; k < 3; ++k) {
        double norm = 0;
        for (std::size_t i = k; i < n; ++i)
            norm += a[i][k] * a[i][k];
        norm = std::sqrt(norm);
        if (norm <= rank_tolerance * largest_column)
            return std::nullopt;
        const double alpha = a[k][k] > 0 ? -norm : norm;
        // v = column k below the diagonal minus alpha e_k, kept in place.
        a[k][k] -= alpha;
        double v_norm2 = 0;
        for (std::size_t i = k; i < n; ++i)
            v_norm2 += a[i][k] * a[i][k];
        for (std::size_t j = k + 1; j < 3; ++j) {
            double dot = 0;
            for (std::size_t i = k; i < n; ++i)
                dot += a[i][k] * a[i][j];
            const double f = 2 * dot / v_norm2;
            for (std::size_t i = k; i < n; ++i)
                a[i][j] -= f * a[i][k];
        }
        double dot = 0;
        for (std::size_t i = k; i < n; ++i)
            dot += a[i][k] * b[i];
        const double f = 2 * dot / v_norm2;
        for (std::size_t i = k; i < n; ++i)
            b[i] -= f * a[i][k];
        diagonal[k] = alpha;
    }
    Row x{};
    for (std::size_t k = 3; k-- > 0;) {
        double sum = b[k];
        for (std::size_t j = k + 1; j < 3; ++j)
            sum -= a[k][j] * x[j];
        x[k] = sum / diagonal[k];
    }
    return x;
}

struct Circle {
    double u = 0, v = 0, r = 0;
};

// The algebraic circle: u^2 + v^2 + a u + b v + c = 0 in least squares.
std::optional<Circle> algebraic_circle(std::span<const PlanePoint> points) {
    std::vector<Row> a;
    std::vector<double> b;
    a.reserve(points.size());
    b.reserve(points.size());
    for (const PlanePoint& p : points) {
        a.push_back({p.first, p.second, 1.0});
        b.push_back(-(p.first * p.first + p.second * p.second));
    }
    const auto x = solve_least_squares(std::move(a), std::move(b));
    if (!x)
        return std::nullopt;
    Circle c{-(*x)[0] / 2, -(*x)[1] / 2, 0};
    const double r2 = c.u * c.u + c.v * c.v - (*x)[2];
    if (!(r2 > 0))
        return std::nullopt;
    c.r = std::sqrt(r2);
    return c;
}

// Gauss-Newton on the radial deviations d_i = |p_i - c| - r.
std::optional<std::pair<Circle, int>> geometric_circle(std::span<const PlanePoint> points,
                                                       Circle c) {
    std::vector<Row> jacobian(points.size());
    std::vector<double> residuals(points.size());
    for (int iteration = 1; iteration <= max_iterations; ++iteration) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            const double du = points[i].first - c.u;
            const double dv = points[i].second - c.v;
            const double distance = plane_distance(du, dv);
            if (distance == 0)
                return std::nullopt; // a point on the centre has no direction
            jacobian[i] = {-du / distance, -dv / distance, -1.0};
            residuals[i] = -(distance - c.r);
        }
        const auto step = solve_least_squares(jacobian, residuals);
        if (!step)
            return std::nullopt;
        c.u += (*step)[0];
        c.v += (*step)[1];
        c.r += (*step)[2];
        if (!std::isfinite(c.u) || !std::isfinite(c.v) || !(c.r > 0))
            return std::nullopt;
        const double moved =
            std::max({std::abs((*step)[0]), std::abs((*step)[1]), std::abs((*step)[2])});
        if (moved <= converged * c.r)
            return std::pair{c, iteration};
    }
    return std::nullopt;
}

} // namespace

double CircleFit::deviation(PlanePoint point) const {
    return plane_distance(point.first - centre.first, point.second - centre.second) - radius;
}

std::optional<CircleFit> fit_circle(std::span<const PlanePoint> points) {
    if (points.size() < 3)
        return std::nullopt;
    // Worked about the points' mean: a centre far from the origin would
    // otherwise cost the digits that the deviations live in.
    PlanePoint mean;
    for (const PlanePoint& p : points) {
        mean.first += p.first;
        mean.second += p.second;
    }
    mean.first /= static_cast<double>(points.size());
    mean.second /= static_cast<double>(points.size());
    std::vector<PlanePoint> local(points.size());
    std::transform(points.begin(), points.end(), local.begin(), [&](const PlanePoint& p) {
        return PlanePoint{p.first - mean.first, p.second - mean.second};
    });

    const auto start = algebraic_circle(local);
    if (!start)
        return std::nullopt;
    const auto circle = geometric_circle(local, *start);
    if (!circle)
        return std::nullopt;

    CircleFit fit;
    fit.centre = {circle->first.u + mean.first, circle->first.v + mean.second};
    fit.radius = circle->first.r;
    fit.iterations = circle->second;
    const Circle& local_circle = circle->first;
    fit.smallest_deviation = fit.largest_deviation =
        plane_distance(local[0].first - local_circle.u, local[0].second - local_circle.v) -
        local_circle.r;
    for (const PlanePoint& p : local) {
        const double d =
            plane_distance(p.first - local_circle.u, p.second - local_circle.v) - local_circle.r;
        fit.smallest_deviation = std::min(fit.smallest_deviation, d);
        fit.largest_deviation = std::max(fit.largest_deviation, d);
    }
    return fit;
}

} // namespace kastrel::exporter
