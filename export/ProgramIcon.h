#pragma once
// ProgramIcon is the program's icon, drawn by the program itself: the four trait quadrants of the
// profile circle with a profile polygon over them, 32 x 32 with a transparent background. The window
// shows it and make-background writes it as the installed icon.

#include <QImage>

namespace ProgramIcon {

// 32 x 32 logical pixels at the given device pixel ratio.
QImage draw(qreal ratio = 1);

} // namespace ProgramIcon
