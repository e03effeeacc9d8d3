#pragma once
// The fonts of the window's layout, named once: the window, its edits and grid in "MS Sans Serif", the
// chart values in "Arial", the memo in "Times New Roman". Where a system lacks them, metric-compatible
// substitutes stand in, so that texts fit their fixed places.

#include <QFont>
#include <QString>

namespace Fonts {

inline QString windowFamily() { return QStringLiteral("MS Sans Serif"); }
inline QString chartFamily() { return QStringLiteral("Arial"); }
inline QString memoFamily() { return QStringLiteral("Times New Roman"); }

QFont pixelFont(const QString &family, int pixels);
inline QFont window(int pixels) { return pixelFont(windowFamily(), pixels); }
// The value labels of the profile circle: 10 points.
QFont valueLabel();

// Registers the substitutes; once is enough, later calls do nothing.
void installSubstitutes();

} // namespace Fonts
