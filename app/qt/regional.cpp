#include "app/qt/regional.h"

#include <QLocale>

namespace kastrel::app::qt {

std::string user_decimal_separator() {
    return QLocale::system().decimalPoint().toLocal8Bit().toStdString();
}

} // namespace kastrel::app::qt
