#include "export/roundness/circle_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

// The least-squares reference circle (LSCI) of ISO 12181-2 / ISO 4291: the
// circle minimising the sum of squared radial deviations. It is found the
// usual way for geometric fits: an algebraic (Kåsa) circle as the start, then
// Gauss-Newton steps on the radial deviations, damped (Levenberg-Marquardt)
// wherever a full step would not lower the sum: on a short arc the algebraic
// circle can lie far from the minimum. The least-squares problems are solved
// by Householder QR, not by normal equations, which would square their
// condition. No test or tolerance depends on where the points lie or in
// which units: the points are worked about their mean, and each test compares
// like with like.

namespace kastrel::exporter {
namespace {

constexpr int max_iterations = 100;
// A step that moves the centre and the radius by less than this (of the
// radius) ends the iteration.
constexpr double converged = 1e-12;
// Points on one line: the smaller singular value of the centred points is at
// most this much of the larger one (their spread across the line against
// their spread along it), whatever their units or place. At 1e-6 the points
// of a 10 mm chord stray 10 nm from the line, below what a probe resolves;
// a circle through them would have a radius of some 10^5 chords, which no
// bore has and which the fit could not give to meaningful digits.
constexpr double collinear = 1e-6;
// A column whose remainder after QR is this small against its own length
// adds nothing to the others.
constexpr double rank_tolerance = 1e-13;
// Damping grown this far without lowering the sum: the sum is at its minimum
// as far as doubles can tell.
constexpr double largest_damping = 1e12;
constexpr double epsilon = std::numeric_limits<double>::epsilon();

using Row = std::array<double, 3>;

// Least squares of A x = b for an n x 3 matrix A (as rows), by Householder QR.
// Nothing when A has not full rank: a column whose remainder after QR is at
// most `rank_tolerance` of its own length, whatever the columns' units.
std::optional<Row> solve_least_squares(std::vector<Row> a, std::vector<double> b) {
    const std::size_t n = a.size();
    Row length{};
    for (std::size_t k = 0; k < 3; ++k) {
        double sum = 0;
        for (const Row& row : a)
            sum += row[k] * row[k];
        length[k] = std::sqrt(sum);
        if (length[k] == 0 || !std::isfinite(length[k]))
            return std::nullopt;
    }
    Row diagonal{};
    for (std::size_t k = 0; k < 3; ++k) {
        double norm = 0;
        for (std::size_t i = k; i < n; ++i)
            norm += a[i][k] * a[i][k];
        norm = std::sqrt(norm);
        if (norm <= rank_tolerance * length[k])
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

// The singular values of the centred points (as rows of an n x 2 matrix),
// larger first. The direction comes from their 2 x 2 Gram matrix; the spread
// across it is summed from the points themselves, so that it keeps its digits
// even where it is tiny against the spread along it.
std::pair<double, double> singular_values(std::span<const PlanePoint> centred) {
    double suu = 0, svv = 0, suv = 0;
    for (const PlanePoint& p : centred) {
        suu += p.first * p.first;
        svv += p.second * p.second;
        suv += p.first * p.second;
    }
    const double angle = 0.5 * std::atan2(2 * suv, suu - svv);
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    double along = 0, across = 0;
    for (const PlanePoint& p : centred) {
        const double a = c * p.first + s * p.second;
        const double b = -s * p.first + c * p.second;
        along += a * a;
        across += b * b;
    }
    return {std::sqrt(along), std::sqrt(across)};
}

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
    if (!(r2 > 0) || !std::isfinite(r2))
        return std::nullopt;
    c.r = std::sqrt(r2);
    return c;
}

// The radial deviations' Jacobian (as rows) and their negatives at `c`;
// nothing where a point lies on the centre and has no direction.
struct Linearised {
    std::vector<Row> jacobian;
    std::vector<double> residuals; // minus the deviations
    double sum = 0;                // of the squared deviations
};
bool linearise(std::span<const PlanePoint> points, const Circle& c, Linearised& out) {
    out.jacobian.resize(points.size());
    out.residuals.resize(points.size());
    out.sum = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double du = points[i].first - c.u;
        const double dv = points[i].second - c.v;
        const double distance = plane_distance(du, dv);
        if (distance == 0)
            return false;
        out.jacobian[i] = {-du / distance, -dv / distance, -1.0};
        out.residuals[i] = -(distance - c.r);
        out.sum += out.residuals[i] * out.residuals[i];
    }
    return true;
}

double sum_of_squares(std::span<const PlanePoint> points, const Circle& c) {
    double sum = 0;
    for (const PlanePoint& p : points) {
        const double d = plane_distance(p.first - c.u, p.second - c.v) - c.r;
        sum += d * d;
    }
    return sum;
}

Circle moved(Circle c, const Row& step) {
    c.u += step[0];
    c.v += step[1];
    c.r += step[2];
    return c;
}

bool usable(const Circle& c) {
    return std::isfinite(c.u) && std::isfinite(c.v) && std::isfinite(c.r) && c.r > 0;
}

// Gauss-Newton on the radial deviations d_i = |p_i - c| - r; where its step
// would not lower the sum, Levenberg-Marquardt's: the step of the Jacobian
// stacked on sqrt(lambda) times the identity, lambda grown until the sum falls.
std::optional<std::pair<Circle, int>> geometric_circle(std::span<const PlanePoint> points,
                                                       Circle c) {
    Linearised at;
    for (int iteration = 1; iteration <= max_iterations; ++iteration) {
        if (!linearise(points, c, at))
            return std::nullopt;
        const auto step = solve_least_squares(at.jacobian, at.residuals);
        if (!step)
            return std::nullopt;
        const double length =
            std::max({std::abs((*step)[0]), std::abs((*step)[1]), std::abs((*step)[2])});
        if (length <= converged * c.r) {
            const Circle last = moved(c, *step);
            return std::pair{usable(last) ? last : c, iteration};
        }
        // The full step, unless it raises the sum by more than rounding.
        Circle next = moved(c, *step);
        if (usable(next) && sum_of_squares(points, next) <= at.sum * (1 + 64 * epsilon)) {
            c = next;
            continue;
        }
        // Damped: the Jacobian's columns are of unit size (a point's
        // direction and 1), so lambda needs no scale of its own.
        bool lowered = false;
        for (double lambda = 1e-6; lambda <= largest_damping && !lowered; lambda *= 10) {
            std::vector<Row> a = at.jacobian;
            std::vector<double> b = at.residuals;
            const double root = std::sqrt(lambda * static_cast<double>(points.size()));
            a.push_back({root, 0, 0});
            a.push_back({0, root, 0});
            a.push_back({0, 0, root});
            b.insert(b.end(), 3, 0.0);
            const auto damped = solve_least_squares(std::move(a), std::move(b));
            if (!damped)
                break;
            next = moved(c, *damped);
            lowered = usable(next) && sum_of_squares(points, next) < at.sum;
        }
        if (!lowered)
            return std::pair{c, iteration}; // no step lowers the sum: its minimum
        c = next;
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
    const auto [along, across] = singular_values(local);
    if (!(along > 0) || !std::isfinite(along) || across <= collinear * along)
        return std::nullopt; // one spot, or one line
    const auto start = algebraic_circle(local);
    if (!start)
        return std::nullopt;
    const auto circle = geometric_circle(local, *start);
    if (!circle)
        return std::nullopt;

    const Circle& c = circle->first;
    CircleFit fit;
    fit.centre = {c.u + mean.first, c.v + mean.second};
    fit.radius = c.r;
    fit.iterations = circle->second;
    const auto deviation = [&](const PlanePoint& p) {
        return plane_distance(p.first - c.u, p.second - c.v) - c.r;
    };
    fit.smallest_deviation = fit.largest_deviation = deviation(local[0]);
    for (const PlanePoint& p : local) {
        const double d = deviation(p);
        fit.smallest_deviation = std::min(fit.smallest_deviation, d);
        fit.largest_deviation = std::max(fit.largest_deviation, d);
    }
    return fit;
}

} // namespace kastrel::exporter
