#pragma once
// The small pictures of the window, drawn by the program itself.

#include <QPixmap>

namespace Icons {

QPixmap imageAll();   // four vertical bars in the four trait colours, 17 x 16
QPixmap image5M();    // five green horizontal bars, 18 x 16
QPixmap image5T();    // five lime-green outlined bars of different lengths, 26 x 16, grey drawn transparent
QPixmap notepad();    // the information icon of the header, 16 x 16
QPixmap program();    // the program's icon, 32 x 32 (ProgramIcon)
QPixmap data();       // "Data": one sheet
QPixmap group();      // "Group": a stack of sheets
QPixmap save();       // "Save": a floppy disc
QPixmap analysis();   // "Analysis": lines of text
QPixmap picture();    // "Image": the profile circle
QPixmap groupAnalysis(); // "Анализ": bars to either side of a centre line

} // namespace Icons
