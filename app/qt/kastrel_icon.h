#pragma once

#include <QIcon>

namespace kastrel::app::qt {

// The program's icon (32×32 and 16×16) from the embedded resources.
QIcon kastrel_icon();

} // namespace kastrel::app::qt
