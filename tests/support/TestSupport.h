#pragma once
// Shared helpers of the tests: result files made on the fly, memory figures. What the window's tests
// need beside these is in WindowPrompts.h, the reading of PDFs in PdfText.h.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace TestSupport {

struct Respondent
{
    QString date = QStringLiteral("01.02.2003");
    QString code = QStringLiteral("0042");
    QString name = QStringLiteral("Тест");
    QStringList info = {QStringLiteral("Отдел"), QStringLiteral("Должность"), QStringLiteral("Стаж"), QStringLiteral("")};
    std::array<double, 12> indices{};
    std::array<double, 60> items{};
    QChar separator = u',';

    Respondent();
    // All twelve index scores and all sixty statement scores set to value.
    static Respondent uniform(double value);
};

// The plaintext lines of a result file (81 lines).
QStringList plainLines(const Respondent &r);
// The plaintext joined with CR LF and a final line break.
QString plainText(const Respondent &r);
// The stored letters of a plaintext.
QByteArray storedLetters(const QString &plain);
// Writes a result file and returns its path.
QString writeResultFile(const QString &folder, const QString &fileName, const Respondent &r);
QString writeStoredFile(const QString &folder, const QString &fileName, const QByteArray &letters);

// Bytes the C library's allocator has handed out and not taken back; 0 where it does not tell.
long long heapInUse();
// The peak resident memory of the process in kilobytes; 0 where the system does not tell.
long peakKilobytes();

// The worked example's index scores.
constexpr std::array<double, 12> WorkedExample = {3.2, 4.1, 3.8, 2.9, 3.5, 4.4, 2.2, 3.0, 3.7, 4.0, 3.6, 2.5};

} // namespace TestSupport
