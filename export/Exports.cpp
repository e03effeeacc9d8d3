#include "Exports.h"

#include "Cp1251.h"
#include "JpegCodec.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
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

QString jpegFileName(const QString &chosen)
{
    return chosen.endsWith(QStringLiteral(".jpg"), Qt::CaseSensitive) ? chosen : chosen + QStringLiteral(".jpg");
}

QByteArray analysisBytes(const QString &memoText)
{
    QString text = memoText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return Cp1251::encode(text);
}

QString replaceFile(const QString &path, const QByteArray &data)
{
    const QString message = QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path));
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile()) {
        // A device or a pipe is written to, never replaced by a regular file.
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly) || device.write(data) != data.size() || !device.flush())
            return message + u'\n' + device.errorString();
        return QString();
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return message + u'\n' + file.errorString();
    if (file.write(data) != data.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return message + u'\n' + reason;
    }
    if (!file.commit())
        return message + u'\n' + file.errorString();
    return QString();
}

QString writePicture(const QString &path, const QImage &picture)
{
    const JpegCodec::Encoded jpeg = JpegCodec::encode(picture);
    if (!jpeg.ok())
        return QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path)) + u'\n' + jpeg.error;
    return replaceFile(path, jpeg.data);
}

QString writeAnalysis(const QString &path, const QString &memoText)
{
    return replaceFile(path, analysisBytes(memoText));
}

} // namespace Exports
