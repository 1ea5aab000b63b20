#pragma once

#include <QIcon>
#include <QStyle>

namespace finplan {

// An icon of the freedesktop theme, or the style's own where the theme has none.
QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback);

} // namespace finplan
