#pragma once

#include "shell/settings/app_settings.h"

#include <QFont>

namespace shell {

// The table windows' font between its settings record and the widgets.
//
// A record's height h < 0 is a character height of -h pixels; h > 0 a cell height (the
// character height plus the space above it) of h pixels; 0 the default height. Weights are
// on the 100..900 scale (700 bold, 0 meaning normal); italic is any non-zero byte. The
// width and the character set have no counterpart in the widgets and are only kept.

// The screen's logical dots per inch, which point sizes are converted with.
int ScreenDpi();

// The font a record describes, taken exactly.
QFont FontFromRecord(const FontRecord& record);

// The record of `points` points of `base`'s face and style, as the settings keep it: a
// character height in pixels at `dpi`.
FontRecord RecordForPoints(const FontRecord& base, double points, int dpi);

// The record of a font chosen in the font dialog.
FontRecord RecordFromFont(const QFont& font, int dpi);

// The font a record gives the windows, as the font dialog is to show it: the family the
// display draws it in (a face it lacks shows as its substitute), the style of that family
// it is drawn in, and its point size at `dpi`.
QFont FontInUse(const FontRecord& record, int dpi);

// Whether the font dialog gave back the same choice of family, style and point size.
bool SameFontChoice(const QFont& a, const QFont& b);

// The point size a record's height shows as: |h| x 72 / dpi, rounded half up.
int PointSizeOfHeight(int height, int dpi);

// The font when no record is given: 10-point Courier New.
FontRecord DefaultFontRecord(int dpi);

} // namespace shell
