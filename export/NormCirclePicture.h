#pragma once
// The profile circle against the norms of the survey archive, the same in the window's tab "Нормы"
// and on the report's norms page: the culture model, the norm band (from the norm's mean minus to
// its mean plus one standard deviation, per index) shaded green, the norm's mean as the dashed
// polygon of a reference, and the profile as the solid one.

#include "MemberTable.h"

#include <optional>

class QPainter;

namespace NormCirclePicture {

struct Norm
{
    IndexScores mean{};
    IndexScores low{};  // mean - sd
    IndexScores high{}; // mean + sd
};

// Draws in the circle's overlay pixels (CirclePicture::OverlayWidth x OverlayHeight); without a norm
// only the culture model and the profile.
void draw(QPainter &painter, const IndexScores &profile, const std::optional<Norm> &norm);

} // namespace NormCirclePicture
