#pragma once
// The captions of a group's four information lines ("Подразделение", "Должность", ...): those the
// import saved with the folder (the header texts of the answer sheet's columns, in its column map),
// else those the consultant set for the questionnaire (kept in the user's settings). A line whose
// caption neither knows is "Информация N" (Questionnaire::infoCaption).

#include "Questionnaire.h"

#include <QString>

namespace InfoCaptions {

// The captions of the result files in folder (a group's folder, or the folder of one file); an
// empty caption where none is known.
Questionnaire::Captions forFolder(const QString &folder);

} // namespace InfoCaptions
