#include "app/qt/kastrel_icon.h"

// The resources sit in a static library; without an explicit reference the
// linker would drop them. Q_INIT_RESOURCE must be used outside any namespace.
static void init_kastrel_resources() {
    Q_INIT_RESOURCE(kastrel);
}

namespace kastrel::app::qt {

QIcon kastrel_icon() {
    init_kastrel_resources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/kastrel-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/kastrel-16.png"), QSize(16, 16));
    return icon;
}

} // namespace kastrel::app::qt
