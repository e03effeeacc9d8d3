#include "TestSupport.h"

#include "Cp1251.h"
#include "ResultFile.h"
#include "UnitPC1.h"

#include <QDir>
#include <QFile>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace TestSupport {

Respondent::Respondent()
{
    indices = WorkedExample;
    for (int s = 0; s < 60; ++s)
        items[std::size_t(s)] = 1.0 + (s % 9) * 0.5;
}

Respondent Respondent::uniform(double value)
{
    Respondent r;
    r.indices.fill(value);
    r.items.fill(value);
    return r;
}

QStringList plainLines(const Respondent &r)
{
    auto number = [&](double v) {
        QString text = QString::number(v, 'f', 3);
        text.replace(u'.', r.separator);
        return text;
    };
    QStringList lines{r.date, r.code, r.name};
    lines << r.info;
    lines << QStringLiteral("Индексы");
    for (double v : r.indices)
        lines << number(v);
    lines << QStringLiteral("Утверждения");
    for (double v : r.items)
        lines << number(v);
    return lines;
}

QString plainText(const Respondent &r)
{
    return plainLines(r).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QByteArray storedLetters(const QString &plain)
{
    return UnitPC1::EncipherText(ResultFile::keyBytes(), Cp1251::encode(plain));
}

QString writeStoredFile(const QString &folder, const QString &fileName, const QByteArray &letters)
{
    const QString path = QDir(folder).filePath(fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(letters) != letters.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString writeResultFile(const QString &folder, const QString &fileName, const Respondent &r)
{
    return writeStoredFile(folder, fileName, storedLetters(plainText(r)));
}

long long heapInUse()
{
#ifdef __GLIBC__
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
#else
    return 0;
#endif
}

long peakKilobytes()
{
#ifdef Q_OS_UNIX
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return 0;
#endif
}

} // namespace TestSupport
