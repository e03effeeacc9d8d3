#include "ScoresTable.h"

#include "Resource.h"

#include <algorithm>
#include <memory>

namespace ScoresTable {

QList<QString> columns(const Questionnaire::Captions &captions)
{
    QList<QString> names = {QStringLiteral("Файл"), QStringLiteral("Код"), QStringLiteral("ФИО"), QStringLiteral("Дата")};
    for (int k = 1; k <= 4; ++k)
        names << Questionnaire::infoCaption(captions, k);
    for (int i = 1; i <= Resource::IndexCount; ++i)
        names << Resource::indexHeading(i);
    for (int t = 1; t <= Resource::TraitCount; ++t)
        names << Resource::TraitName(t);
    names << QStringLiteral("Общее среднее");
    for (int s = 1; s <= Resource::StatementCount; ++s)
        names << QStringLiteral("Утверждение %1").arg(s);
    return names;
}

QString groupRowLabel(const QString &folder)
{
    return folder.isEmpty() ? QStringLiteral("Среднее по группе") : QStringLiteral("Среднее по группе %1").arg(folder);
}

namespace {

constexpr int FirstScoreColumn = 8;

void putScores(QList<TableCell> &cells, const ProfileScores &scores, double overallMean)
{
    int c = FirstScoreColumn;
    for (double value : scores.IndexScores)
        cells[c++] = TableCell::ofNumber(value);
    for (double value : scores.TraitScores)
        cells[c++] = TableCell::ofNumber(value);
    cells[c++] = TableCell::ofNumber(overallMean);
    for (double value : scores.ItemScores)
        cells[c++] = TableCell::ofNumber(value);
}

void putHeader(QList<TableCell> &cells, const QString &file, const RespondentHeader &header)
{
    cells[0] = TableCell::ofText(file);
    cells[1] = TableCell::ofText(header.code);
    cells[2] = TableCell::ofText(header.name);
    cells[3] = TableCell::ofText(header.date);
    for (int k = 0; k < 4; ++k)
        cells[4 + k] = TableCell::ofText(header.info[std::size_t(k)]);
}

QString withSlash(const QString &folder)
{
    return folder.isEmpty() || folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

Table table(QList<Section> sections, const Profile *reference, const QString &referenceName, const Questionnaire::Captions &captions)
{
    // Where each section's rows begin; a group's own row follows its members.
    auto shared = std::make_shared<QList<Section>>(std::move(sections));
    auto starts = std::make_shared<QList<qsizetype>>();
    Table table;
    table.name = QStringLiteral("Оценки");
    table.columns = columns(captions);
    for (const Section &section : std::as_const(*shared)) {
        starts->append(table.rowCount);
        table.rowCount += section.profile.respondentCount();
        if (section.profile.group) {
            table.markedRows.append(table.rowCount);
            ++table.rowCount;
        }
    }
    std::shared_ptr<const Profile> compared;
    if (reference) {
        compared = std::make_shared<const Profile>(*reference);
        table.markedRows.append(table.rowCount);
    }
    const qsizetype referenceRow = reference ? table.rowCount++ : -1;
    table.fillRow = [shared, starts, compared, referenceRow, referenceName](qsizetype row, QList<TableCell> &cells) {
        if (row == referenceRow) {
            putHeader(cells, QStringLiteral("Эталон: ") + referenceName, compared->header);
            putScores(cells, compared->scores, compared->overallMean);
            return;
        }
        const qsizetype s = std::upper_bound(starts->cbegin(), starts->cend(), row) - starts->cbegin() - 1;
        const Section &section = (*shared)[s];
        const Profile &profile = section.profile;
        const qsizetype member = row - (*starts)[s];
        if (member < profile.respondentCount()) {
            const MemberTable &members = *profile.members;
            // A respondent shown alone appears as the user edited the header.
            const RespondentHeader header = profile.group ? members.header(member) : profile.header;
            putHeader(cells, withSlash(section.folder) + members.file(member), header);
            ProfileScores scores;
            scores.IndexScores = members.indexScores(member);
            scores.ItemScores = members.itemScores(member);
            const double overall = Scoring::deriveScores(scores);
            putScores(cells, scores, overall);
        } else {
            putHeader(cells, groupRowLabel(section.folder), profile.header);
            putScores(cells, profile.scores, profile.overallMean);
        }
    };
    return table;
}

} // namespace ScoresTable
