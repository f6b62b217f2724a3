#pragma once

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kastrel::app::qt {

// The controls of frm_points, owned by the window through Qt's parent chain.
struct FrmPointsControls {
    QPushButton* cmd_lesen = nullptr;
    QPushButton* cmd_schreiben = nullptr;
    QListWidget* List1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmd_allemarkieren = nullptr;
    QPushButton* cmd_alledemarkieren = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QLabel* Label2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QButtonGroup* options = nullptr;
};

// Client area of the window in twips.
inline constexpr int client_width_twips = 8004;
inline constexpr int client_height_twips = 6420;

// Creates every control at its fixed place with its stored state and the tab
// order, and sizes the window's client area. No layouts: resizing moves nothing.
FrmPointsControls create_frm_points_controls(QWidget& window);

} // namespace kastrel::app::qt
