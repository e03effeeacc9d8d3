#include "PdfText.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace PdfText {
namespace {

QByteArray complaints;

QString tool(const char *name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }

} // namespace

bool available()
{
    return !tool("pdftotext").isEmpty() && !tool("pdfinfo").isEmpty() && !tool("pdftoppm").isEmpty();
}

QByteArray run(const char *name, const QStringList &arguments)
{
    QProcess process;
    process.start(tool(name), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        complaints += QByteArray(name) + " failed\n";
    complaints += process.readAllStandardError();
    return process.readAllStandardOutput();
}

QString words(const QString &pdf, Order order)
{
    QStringList arguments{QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")};
    if (order == Order::Layout)
        arguments.prepend(QStringLiteral("-layout"));
    return QString::fromUtf8(run("pdftotext", arguments)).simplified();
}

QStringList pages(const QString &pdf)
{
    return QString::fromUtf8(run("pdftotext", {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")}))
        .split(u'\f', Qt::SkipEmptyParts);
}

QStringList pageLines(const QString &pdf, int p)
{
    const QString page = QString::fromUtf8(run("pdftotext", {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                                             QStringLiteral("-f"), QString::number(p), QStringLiteral("-l"),
                                                             QString::number(p), pdf, QStringLiteral("-")}));
    QStringList lines;
    for (const QString &line : page.split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}

int pageCount(const QString &pdf)
{
    const QRegularExpression count(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption);
    return count.match(QString::fromUtf8(run("pdfinfo", {pdf}))).captured(1).toInt();
}

QImage pagePicture(const QString &pdf, int p, int dpi)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    run("pdftoppm", {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(p), QStringLiteral("-l"),
                     QString::number(p), QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

QByteArray takeComplaints()
{
    return std::exchange(complaints, QByteArray());
}

} // namespace PdfText
