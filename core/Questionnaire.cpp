#include "Questionnaire.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace Questionnaire {
namespace {

const QString Mark = QStringLiteral(" (*)");

} // namespace

QString answerWord(int a)
{
    static const std::array<QString, AnswerCount> words = {
        QStringLiteral("полностью не согласен"), QStringLiteral("скорее не согласен"), QStringLiteral("нечто среднее"),
        QStringLiteral("скорее согласен"), QStringLiteral("полностью согласен")};
    Q_ASSERT(a >= 1 && a <= AnswerCount);
    return words[std::size_t(a - 1)];
}

QString statementText(int s)
{
    QString text = Resource::StatementText(s);
    // "15. Text (*)." -> "Text."
    const qsizetype dot = text.indexOf(QStringLiteral(". "));
    if (dot > 0 && dot <= 2)
        text.remove(0, dot + 2);
    if (text.endsWith(Mark + u'.'))
        text.remove(text.size() - Mark.size() - 1, Mark.size());
    return text;
}

bool isReversed(int s)
{
    static const std::array<bool, Resource::StatementCount> reversed = [] {
        std::array<bool, Resource::StatementCount> marks{};
        for (int k = 1; k <= Resource::StatementCount; ++k)
            marks[std::size_t(k - 1)] = Resource::StatementText(k).endsWith(Mark + u'.');
        return marks;
    }();
    Q_ASSERT(s >= 1 && s <= Resource::StatementCount);
    return reversed[std::size_t(s - 1)];
}

Captions defaultCaptions()
{
    return {QStringLiteral("Подразделение"), QStringLiteral("Должность"), QStringLiteral("Стаж работы в компании"),
            QStringLiteral("Возраст")};
}

QString settingsPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("zolk-plot/questionnaire.ini"));
}

Captions storedCaptions()
{
    const QSettings settings(settingsPath(), QSettings::IniFormat);
    Captions captions = defaultCaptions();
    for (std::size_t k = 0; k < captions.size(); ++k) {
        const QString key = QStringLiteral("captions/info%1").arg(k + 1);
        if (settings.contains(key))
            captions[k] = settings.value(key).toString().left(MaxHeaderText);
    }
    return captions;
}

QString infoCaption(const Captions &captions, int n)
{
    const QString &known = captions[std::size_t(n - 1)];
    return known.isEmpty() ? QStringLiteral("Информация %1").arg(n) : known;
}

bool storeCaptions(const Captions &captions)
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    for (std::size_t k = 0; k < captions.size(); ++k)
        settings.setValue(QStringLiteral("captions/info%1").arg(k + 1), captions[k]);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool storedAsksName()
{
    return QSettings(settingsPath(), QSettings::IniFormat).value(QStringLiteral("questionnaire/askName"), true).toBool();
}

bool storeAsksName(bool asks)
{
    QSettings settings(settingsPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("questionnaire/askName"), asks);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString dateCaption() { return QStringLiteral("Дата"); }
QString codeCaption() { return QStringLiteral("Код"); }
QString nameCaption() { return QStringLiteral("ФИО"); }

QStringList sheetHeader(const Captions &captions, bool asksName)
{
    QStringList header{dateCaption(), codeCaption()};
    if (asksName)
        header << nameCaption();
    for (const QString &caption : captions)
        header << caption;
    for (int s = 1; s <= Resource::StatementCount; ++s)
        header << QStringLiteral("%1. %2").arg(s).arg(statementText(s));
    return header;
}

QString title()
{
    return QStringLiteral("Анкета об организационной культуре");
}

QStringList instruction()
{
    return {QStringLiteral("Перед вами 60 утверждений о том, как устроена работа в вашей компании. Прочитайте "
                           "каждое и отметьте одну из пяти клеток справа: насколько вы согласны с утверждением."),
            scaleLine() + u'.',
            QStringLiteral("Отвечайте так, как обстоит дело сейчас, а не как оно должно быть. Правильных и неправильных "
                           "ответов здесь нет; долго не раздумывайте — первое впечатление обычно самое верное. "
                           "Отметьте ровно одну клетку в каждой строке и не пропускайте утверждений.")};
}

QString scaleLine()
{
    return QStringLiteral("1 — %1, 2 — %2, 3 — %3, 4 — %4, 5 — %5")
        .arg(answerWord(1), answerWord(2), answerWord(3), answerWord(4), answerWord(5));
}

QString thanks()
{
    return QStringLiteral("Спасибо за ваши ответы! Проверьте, что в каждой строке отмечена ровно одна клетка.");
}

} // namespace Questionnaire
