#pragma once

#include <QColor>
#include <QFont>

#include "model/Records.h"
#include "model/WindowRules.h"

class QAbstractItemView;
class QPalette;

namespace finplan {

// The light band of lists: the desktop's scroll-bar trough colour (Qt's "mid" role stands
// for it), lightened as the start-up options say.
QColor listBandColour(const QPalette& palette, const StartupOptions& options);

// Rows alternate between the base colour and `band` when banding is on.
void applyBanding(QAbstractItemView* view, bool on, const QColor& band);

// A stored logical font as a Qt font; a record without a face name gives `fallback`. Heights
// are pixels at 96 dots per inch, negative for the character height, as the file keeps them.
QFont fontFromRecord(const FontRecord& record, const QFont& fallback);
FontRecord recordFromFont(const QFont& font);

} // namespace finplan
