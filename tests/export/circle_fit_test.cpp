#include "export/roundness/circle_fit.h"
#include "export/roundness/polar_plot.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

using kastrel::exporter::CircleFit;
using kastrel::exporter::fit_circle;
using kastrel::exporter::PlanePoint;
using kastrel::exporter::polar_plot;

namespace {

constexpr double pi = std::numbers::pi;

// `n` points at even angles from `from` to `to` (radians, both included),
// each at the radius `radius(angle)` about (cu, cv).
template <class Radius>
std::vector<PlanePoint> around(double cu, double cv, int n, double from, double to, Radius radius) {
    std::vector<PlanePoint> points;
    for (int k = 0; k < n; ++k) {
        const double angle = from + (to - from) * k / (n - 1);
        points.push_back(
            {cu + radius(angle) * std::cos(angle), cv + radius(angle) * std::sin(angle)});
    }
    return points;
}

void expect_circle(const std::optional<CircleFit>& fit, double cu, double cv, double r,
                   double tolerance) {
    ASSERT_TRUE(fit.has_value());
    EXPECT_NEAR(fit->centre.first, cu, tolerance);
    EXPECT_NEAR(fit->centre.second, cv, tolerance);
    EXPECT_NEAR(fit->radius, r, tolerance);
}

// Points exactly on a circle give that circle back, and no form deviation:
// far from the origin, on a quarter of the circle only, and from three points.
TEST(CircleFit, ExactCirclesAreFoundFarFromTheOriginOnAnArcAndFromThreePoints) {
    const auto twelve = [](double) { return 12.5; };
    const auto far = fit_circle(around(10000.5, -2500.25, 16, 0, 2 * pi * 15 / 16, twelve));
    expect_circle(far, 10000.5, -2500.25, 12.5, 1e-9);
    EXPECT_LT(far->roundness(), 1e-9);

    const auto arc = fit_circle(around(3, 4, 10, 0, pi / 2, twelve));
    expect_circle(arc, 3, 4, 12.5, 1e-9);

    const std::vector<PlanePoint> three = {{0, 0}, {2, 0}, {0, 2}}; // centre (1, 1), radius sqrt 2
    const auto by_three = fit_circle(three);
    expect_circle(by_three, 1, 1, std::sqrt(2.0), 1e-12);
    EXPECT_LT(by_three->roundness(), 1e-12);
}

// A three-lobed bore (r = 10 + 0.006 cos 3t): every opposite-hit distance is
// 20, yet RONt is 0.012; an ellipse's RONt is the difference of its half axes.
TEST(CircleFit, ThreeLobesAndAnEllipseHaveTheirKnownRoundness) {
    const auto lobes = [](double t) { return 10 + 0.006 * std::cos(3 * t); };
    const auto lobed = around(120.5, 80.25, 37, 0, 2 * pi, lobes);
    const std::vector<PlanePoint> points(lobed.begin(), lobed.end() - 1); // 36 distinct
    for (std::size_t k = 0; k < 18; ++k)
        EXPECT_NEAR(lobes(2 * pi * k / 36) + lobes(2 * pi * (k + 18) / 36), 20, 1e-12);
    const auto lobe_fit = fit_circle(points);
    expect_circle(lobe_fit, 120.5, 80.25, 10, 1e-9);
    EXPECT_NEAR(lobe_fit->roundness(), 0.012, 1e-9);

    const double a = 10.008;
    const double b = 9.992;
    const auto ellipse = [&](double t) {
        return a * b / std::hypot(b * std::cos(t), a * std::sin(t));
    };
    const auto elliptic = around(-5, 7, 73, 0, 2 * pi, ellipse);
    const auto ellipse_fit =
        fit_circle(std::vector<PlanePoint>(elliptic.begin(), elliptic.end() - 1));
    ASSERT_TRUE(ellipse_fit.has_value());
    EXPECT_NEAR(ellipse_fit->centre.first, -5, 1e-9);
    EXPECT_NEAR(ellipse_fit->centre.second, 7, 1e-9);
    EXPECT_NEAR(ellipse_fit->roundness(), a - b, 1e-9);

    // Its plot: the largest deviation (0.006) at a quarter of the radius at
    // most gives 200:1, and the form is a closed line.
    const auto plot = polar_plot(*lobe_fit, points);
    EXPECT_EQ(plot.magnification, 200);
    ASSERT_EQ(plot.form.size(), points.size() + 1);
    EXPECT_EQ(plot.form.front().first, plot.form.back().first);
    double nearest = 1e9;
    double farthest = 0;
    for (const PlanePoint& p : plot.form) {
        nearest = std::min(nearest, std::hypot(p.first, p.second));
        farthest = std::max(farthest, std::hypot(p.first, p.second));
    }
    EXPECT_NEAR(nearest, 10 - 0.006 * 200, 1e-6);
    EXPECT_NEAR(farthest, 10 + 0.006 * 200, 1e-6);
}

// On one line is a matter of shape, not of size: the same points at any
// scale, and points straying across their line by less than the test's
// tolerance (1e-6 of their spread along it), define no circle.
TEST(CircleFit, PointsThatDefineNoCircleGiveNone) {
    EXPECT_FALSE(fit_circle(std::vector<PlanePoint>{{0, 0}, {1, 1}}));
    EXPECT_FALSE(fit_circle(std::vector<PlanePoint>{{100.1, 5}, {100.2, 5}, {100.3, 5}}));
    EXPECT_FALSE(fit_circle(std::vector<PlanePoint>{{4, 4}, {4, 4}, {4, 4}}));
    for (const double scale : {1e-9, 1.0, 1e15}) {
        const auto at = [&](double first, double second) {
            return PlanePoint{first * scale, second * scale};
        };
        EXPECT_FALSE(fit_circle(std::vector{at(0, 0), at(1, 1), at(2, 2), at(-3.5, -3.5)}))
            << scale;
        EXPECT_FALSE(fit_circle(std::vector{at(0, 0), at(5, 2e-6), at(10, 0)})) << scale;
        EXPECT_TRUE(fit_circle(std::vector{at(0, 0), at(5, 2e-5), at(10, 0)})) << scale;
    }
}

// A noisy 150-degree arc against an independent implementation, where the
// algebraic fit is 3e-5 off in the radius. Reference values from SciPy 1.10:
//   scipy.optimize.least_squares(lambda p: np.hypot(x - p[0], y - p[1]) - p[2],
//       [x.mean(), y.mean(), 7.0], xtol=1e-15, ftol=1e-15, gtol=1e-15, method='lm')
// RONt as max(residuals) - min(residuals) at the solution.
TEST(CircleFit, ANoisyArcMatchesAnIndependentLeastSquaresSolver) {
    const std::vector<PlanePoint> points = {
        {-32.755, 315.574},   {-32.7703, 315.6323}, {-32.7658, 315.653},  {-32.8954, 316.5904},
        {-33.0045, 317.0669}, {-33.6615, 318.7237}, {-33.9974, 319.2809}, {-34.2411, 319.611},
        {-34.4379, 319.8606}, {-35.6954, 321.0789}, {-35.6907, 321.0868}, {-35.8508, 321.1952},
        {-38.4542, 322.4033}, {-41.981, 322.4228},  {-42.5784, 322.2536}, {-43.1051, 322.0681},
        {-43.5112, 321.8803}, {-44.5932, 321.2361}, {-44.7949, 321.0894}, {-45.2649, 320.7113}};
    const auto fit = fit_circle(points);
    expect_circle(fit, -40.25166648454631, 315.11987583081526, 7.505023458345137, 1e-9);
    EXPECT_NEAR(fit->roundness(), 0.013093725872871609, 1e-9);
}

// Circles that the fit once missed or could lose digits on, against the same
// SciPy 1.10 call as above but with the analytic Jacobian
// (jac=lambda p: np.c_[-(x - p[0]) / d, -(y - p[1]) / d, -np.ones_like(x)],
// d = np.hypot(x - p[0], y - p[1])), which a short arc needs:
// - four hits exactly on a circle of radius 6e14 about the origin (fitted on
//   the points divided by 1e14, the answer multiplied back);
// - the Y/Z coordinates of four hits of a bore measured in XY: within 0.001
//   of a straight line over 10 units, yet a circle of diameter 29,422
//   (method='trf' from [20, -30000, 30000]; its gradient test ended it). So
//   flat a minimum is fixed by doubles to some 1e-7 of the radius only:
//   SciPy's other starts and methods scatter by as much;
// - a bore of radius 5 whose centre is 10^6 from the origin.
TEST(CircleFit, HugeCirclesShortArcsAndFarCentresMatchAnIndependentSolver) {
    const auto huge =
        fit_circle(std::vector<PlanePoint>{{6e14, 0}, {0, 6e14}, {-6e14, 0}, {3.6e14, -4.8e14}});
    ASSERT_TRUE(huge.has_value());
    EXPECT_NEAR(huge->centre.first, 0, 1);
    EXPECT_NEAR(huge->centre.second, 0, 1);
    EXPECT_NEAR(huge->radius, 6e14, 1);
    EXPECT_LT(huge->roundness(), 1);

    const std::vector<PlanePoint> yz = {
        {24.924, -8.0003}, {21.7101, -7.9995}, {16.7861, -8.0015}, {15.019, -8.0013}};
    const auto arc = fit_circle(yz);
    expect_circle(arc, 22.237615343461115, -14719.021446791181, 14711.021555766058, 1e-6 * 14711);
    EXPECT_NEAR(arc->roundness(), 0.0009993642106564948, 1e-9);

    const std::vector<PlanePoint> far = {
        {600004.78, 800001.4786},   {600002.7082, 800004.2005}, {599999.3746, 800004.9586},
        {599996.3323, 800003.3977}, {599995.0028, 800000.2454}, {599996.016, 799996.9772},
        {599998.892, 799995.1275},  {600002.2841, 799995.5534}, {600004.61, 799998.0611}};
    const auto bore = fit_circle(far);
    expect_circle(bore, 599999.9999896231, 799999.9999975312, 4.999999013384118, 1e-9);
    EXPECT_NEAR(bore->roundness(), 0.006588888529353909, 1e-9);
}

} // namespace
