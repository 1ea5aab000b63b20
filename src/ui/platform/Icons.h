#pragma once

#include <QIcon>
#include <QStyle>

namespace finplan {

// An icon of the freedesktop theme, or the style's own where the theme has none.
QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback);

// The toolbar icon of a command: the theme's where a standard name fits and the theme can
// draw it, else our own; null for a command that has no icon.
QIcon commandIcon(int command);

} // namespace finplan
