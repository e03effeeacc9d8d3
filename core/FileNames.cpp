#include "FileNames.h"

#include <QStringList>

namespace FileNames {

QString cleanedCode(const QString &code)
{
    QString cleaned;
    cleaned.reserve(code.size());
    for (QChar c : code) {
        // Format characters (a right-to-left override, zero-width spaces and joiners) are invisible
        // and would make a name read otherwise than it is ("txt.exe" shown as "exe.txt"): they go.
        if (c.category() == QChar::Other_Format)
            continue;
        const bool forbidden = c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c);
        cleaned += forbidden ? QChar(u'_') : c;
    }
    // ".." or a name of dots alone would lead out of the folder or name it.
    cleaned.replace(QStringLiteral(".."), QStringLiteral("__"));
    return cleaned;
}

QString stemOf(const QString &code)
{
    QString stem = cleanedCode(code.trimmed());
    if (stem.size() > MaxStemLength) {
        // Not between the two halves of a surrogate pair.
        qsizetype length = MaxStemLength;
        if (stem[length - 1].isHighSurrogate())
            --length;
        stem.truncate(length);
    }
    while (!stem.isEmpty() && (stem.back() == u'.' || stem.back() == u' '))
        stem.chop(1);
    if (stem.isEmpty() || stem == QLatin1String("."))
        return QStringLiteral("_");
    static const QStringList devices = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                        QStringLiteral("NUL")};
    const QString base = stem.section(u'.', 0, 0).trimmed().toUpper();
    const bool numbered = base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT")))
                          && base[3] >= u'0' && base[3] <= u'9';
    if (devices.contains(base) || numbered)
        stem.prepend(u'_');
    return stem;
}

} // namespace FileNames
