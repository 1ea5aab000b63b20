#include "ui/platform/Icons.h"

#include <QApplication>

namespace finplan {

QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback) {
    const QString themeName = QString::fromLatin1(name);
    // A theme may list an icon in a format this Qt cannot draw (SVG without its plugin).
    if (QIcon::hasThemeIcon(themeName)) {
        QIcon icon = QIcon::fromTheme(themeName);
        if (!icon.pixmap(16, 16).isNull())
            return icon;
    }
    return QApplication::style()->standardIcon(fallback);
}

} // namespace finplan
