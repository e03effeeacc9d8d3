#include "Fonts.h"

#include <QStringList>

namespace Fonts {

QFont pixelFont(const QString &family, int pixels)
{
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

QFont valueLabel()
{
    QFont font(windowFamily());
    font.setPointSize(10);
    return font;
}

void installSubstitutes()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QFont::insertSubstitutions(windowFamily(), {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    QFont::insertSubstitutions(chartFamily(), {QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(memoFamily(), {QStringLiteral("Liberation Serif")});
}

} // namespace Fonts
