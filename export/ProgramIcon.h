#pragma once
// ProgramIcon is the program's icon, drawn by the program itself: the four trait quadrants of the
// profile circle with a profile polygon over them, 32 x 32 with a transparent background. The window
// shows it and make-background writes it as the installed icon.

#include <QImage>

namespace ProgramIcon {

QImage draw();

} // namespace ProgramIcon
