#pragma once
// The small pictures of the window, drawn by the program itself in logical pixels at any device pixel
// ratio (the size given is the logical one), so that they stay sharp on a screen at 150 % or 200 %.

#include <QIcon>
#include <QPixmap>

namespace Icons {

QPixmap imageAll(qreal ratio = 1);   // four vertical bars in the four trait colours, 17 x 16
QPixmap image5M(qreal ratio = 1);    // five green horizontal bars, 18 x 16
QPixmap image5T(qreal ratio = 1);    // five lime-green outlined bars of different lengths, 26 x 16, grey drawn transparent
QPixmap notepad(qreal ratio = 1);    // the information icon of the header, 16 x 16
QPixmap program(qreal ratio = 1);    // the program's icon, 32 x 32 (ProgramIcon)
QPixmap data(qreal ratio = 1);       // "Data": one sheet
QPixmap group(qreal ratio = 1);      // "Group": a stack of sheets
QPixmap save(qreal ratio = 1);       // "Save": a floppy disc
QPixmap analysis(qreal ratio = 1);   // "Analysis": lines of text
QPixmap picture(qreal ratio = 1);    // "Image": the profile circle
QPixmap groupAnalysis(qreal ratio = 1); // "Анализ": bars to either side of a centre line

// An icon of one of the pictures above at ratios 1 and 2: the menus take the one that fits the screen.
QIcon icon(QPixmap (*draw)(qreal));

} // namespace Icons
