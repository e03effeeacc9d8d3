#include "TestSupport.h"

#include "Cp1251.h"
#include "ResultFile.h"
#include "UnitPC1.h"

#include <QDir>
#include <QFile>

#include <filesystem>

#ifdef Q_OS_WIN
#define NOMINMAX
#include <windows.h>
#endif

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

bool makeOlder(const QString &path, std::chrono::seconds age)
{
#ifdef Q_OS_WIN
    // A folder's handle needs the backup flag; the times are in 100 ns steps.
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
                                      FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    FILETIME written{};
    bool done = GetFileTime(handle, nullptr, nullptr, &written);
    if (done) {
        ULARGE_INTEGER time{};
        time.LowPart = written.dwLowDateTime;
        time.HighPart = written.dwHighDateTime;
        time.QuadPart -= quint64(age.count()) * 10'000'000;
        written.dwLowDateTime = time.LowPart;
        written.dwHighDateTime = time.HighPart;
        done = SetFileTime(handle, nullptr, nullptr, &written);
    }
    CloseHandle(handle);
    return done;
#else
    std::error_code error;
    const std::filesystem::path native(QFile::encodeName(path).toStdString());
    const auto time = std::filesystem::last_write_time(native, error);
    if (!error)
        std::filesystem::last_write_time(native, time - age, error);
    return !error;
#endif
}

} // namespace TestSupport
