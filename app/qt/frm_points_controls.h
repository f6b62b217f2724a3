#pragma once

#include "app/form/frm_points_form.h"

#include <array>

class QAbstractButton;
class QButtonGroup;
class QListWidget;
class QWidget;

namespace kastrel::app::qt {

// Qt lays out in logical pixels and scales them for the screen itself; a
// logical pixel is one at 96 DPI.
inline constexpr int logical_dpi = 96;

// The controls of frm_points, owned by the window through Qt's parent chain.
struct FrmPointsControls {
    std::array<QWidget*, control_count> widgets{};
    QButtonGroup* options = nullptr; // Option1..4, one exclusive group

    QWidget& operator[](Control control) const {
        return *widgets[static_cast<std::size_t>(control)];
    }
    // An option button, check box or command button.
    QAbstractButton& button(Control control) const;
    QListWidget& List1() const;
};

// Creates every control of frm_points_form() at its fixed place with its
// stored state and the tab order, and sizes the window's client area. No
// layouts: resizing moves nothing.
FrmPointsControls create_frm_points_controls(QWidget& window);

} // namespace kastrel::app::qt
