#include "InfoCaptions.h"

#include "AnswerSheet.h"
#include "CsvReader.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace InfoCaptions {

Questionnaire::Captions forFolder(const QString &folder)
{
    Questionnaire::Captions captions;
    // The import's map: "info1 = <header text>", or "#N" where the column had no usable header.
    QFile map(QDir(folder.isEmpty() ? QStringLiteral(".") : folder).filePath(AnswerSheet::mapFileName()));
    if (map.open(QIODevice::ReadOnly)) {
        const QString text = CsvReader::decode(map.read(1024 * 1024)).text;
        for (QString line : text.split(u'\n')) {
            if (line.startsWith(QChar(0xFEFF)))
                line.remove(0, 1);
            const qsizetype equals = line.indexOf(u'=');
            if (line.trimmed().startsWith(u'#') || equals < 0)
                continue;
            const QString key = line.left(equals).trimmed().toLower();
            const QString value = line.mid(equals + 1).trimmed();
            for (int n = 1; n <= 4; ++n)
                if (key == QStringLiteral("info%1").arg(n) && !value.startsWith(u'#'))
                    captions[std::size_t(n - 1)] = value.left(Questionnaire::MaxHeaderText);
        }
    }
    // The questionnaire's, where the consultant set them.
    const QSettings settings(Questionnaire::settingsPath(), QSettings::IniFormat);
    const Questionnaire::Captions stored = Questionnaire::storedCaptions();
    for (int n = 1; n <= 4; ++n)
        if (captions[std::size_t(n - 1)].isEmpty() && settings.contains(QStringLiteral("captions/info%1").arg(n)))
            captions[std::size_t(n - 1)] = stored[std::size_t(n - 1)].trimmed();
    return captions;
}

} // namespace InfoCaptions
