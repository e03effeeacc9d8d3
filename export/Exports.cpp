#include "Exports.h"

#include "Cp1251.h"
#include "FileNames.h"
#include "FileOutput.h"
#include "JpegCodec.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Exports {

QString resultsFolder(const QString &appDir)
{
    const QString results = appDir + QStringLiteral("Results");
    const QFileInfo info(results);
    if (info.isDir() && info.isWritable())
        return results;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString proposedName(const QString &folder, const QString &prefix, const QString &code, const QString &extension)
{
    return folder + u'/' + prefix + FileNames::cleanedCode(code) + extension;
}

QString profileStem(const Profile &profile)
{
    const RespondentHeader &header = profile.header;
    QString text;
    if (profile.group) {
        text = header.name.trimmed();
        if (text.isEmpty() || text == ProfileText::groupName()) {
            const QString folder = QDir::cleanPath(profile.source);
            text = QFileInfo(folder).fileName();
        }
    } else {
        text = (header.code.trimmed() + u' ' + header.name.trimmed()).trimmed();
    }
    return text.isEmpty() ? QString() : FileNames::stemOf(text);
}

QString jpegFileName(const QString &chosen)
{
    return chosen.endsWith(QStringLiteral(".jpg"), Qt::CaseSensitive) ? chosen : chosen + QStringLiteral(".jpg");
}

QString withExtension(const QString &chosen, const QString &extension)
{
    return chosen.endsWith(extension, Qt::CaseInsensitive) ? chosen : chosen + extension;
}

QByteArray analysisBytes(const QString &memoText)
{
    QString text = memoText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return Cp1251::encode(text);
}

QString unencodableCharacters(const QString &text)
{
    QString found;
    for (qsizetype k = 0; k < text.size(); ++k) {
        // A surrogate pair is one character.
        const qsizetype length = text[k].isHighSurrogate() && k + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(k, length);
        if (!Cp1251::canEncode(character) && !found.contains(character))
            found += character;
        k += length - 1;
    }
    return found;
}

Outcome<> writePicture(const QString &path, const QImage &picture)
{
    const Outcome<QByteArray> jpeg = JpegCodec::encode(picture);
    if (!jpeg)
        return Outcome<>::failed(FileOutput::cannotCreateMessage(path) + u'\n' + jpeg.message());
    return FileOutput::write(path, *jpeg);
}

Outcome<> writeAnalysis(const QString &path, const QString &memoText)
{
    return FileOutput::write(path, analysisBytes(memoText));
}

} // namespace Exports
