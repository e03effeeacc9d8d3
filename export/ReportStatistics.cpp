#include "ReportStatistics.h"

#include "GroupMoments.h"
#include "Scoring.h"

namespace ReportStatistics {

Figures of(const Profile &profile, const std::optional<Profile> &reference)
{
    Figures figures;
    if (!profile.members)
        return figures;
    const GroupMoments::Moments moments = GroupMoments::collect(*profile.members);
    if (profile.group && profile.respondentCount() >= Reliability::MinimumMembers)
        figures.reliability = Reliability::compute(moments.covariances);
    if (profile.group)
        for (int i = 0; i < Resource::IndexCount; ++i)
            figures.intervals[std::size_t(i)] = Significance::meanInterval(moments.group.indices[std::size_t(i)]);
    if (reference && reference->members) {
        const GroupMoments::SetMoments other = GroupMoments::collect(*reference->members).group;
        std::array<Significance::Difference, Resource::IndexCount> differences;
        QList<Significance::Difference *> cells;
        for (int i = 0; i < Resource::IndexCount; ++i) {
            differences[std::size_t(i)] = Significance::welch(moments.group.indices[std::size_t(i)], other.indices[std::size_t(i)]);
            cells.append(&differences[std::size_t(i)]);
        }
        Significance::holm(cells);
        figures.differences = differences;
    }
    return figures;
}

QString intervalText(const Significance::Interval &interval)
{
    return QStringLiteral("%1 … %2").arg(Scoring::scoreText(interval.lower), Scoring::scoreText(interval.upper));
}

QString comparisonNote()
{
    return QStringLiteral("* — различие значимо: тест Уэлча, p < 0,05 с поправкой Холма по двенадцати индексам.");
}

namespace {

QString figure(const std::optional<double> &value)
{
    return value ? Scoring::scoreText(*value) : QStringLiteral("—");
}

} // namespace

QString reliabilityHtml(const Reliability::Result &result)
{
    QString html = QStringLiteral(
        "<p>Альфа Кронбаха показывает, насколько согласованно утверждения шкалы измеряют одно и то же в этой группе: "
        "от 0,70 шкала надёжна, от 0,60 до 0,70 — сомнительна, ниже — ненадёжна, и её оценку стоит читать осторожно. "
        "Интервал — 95-процентный доверительный (по Фельдту); средняя корреляция — между утверждениями шкалы.</p>"
        "<table width='100%' cellspacing='0' cellpadding='3' border='0.5' style='border-collapse:collapse'>"
        "<tr style='background:#e8e8e8'><th align='left'>Шкала</th><th align='right'>n</th><th align='right'>Альфа</th>"
        "<th align='right'>95 % интервал</th><th align='right'>Средняя корреляция</th><th align='left'>Вывод</th></tr>");
    const auto row = [&](const QString &name, const Reliability::Scale &scale, bool bold) {
        const QString b = bold ? QStringLiteral("<b>") : QString(), e = bold ? QStringLiteral("</b>") : QString();
        html += QStringLiteral("<tr><td>%1%2%3</td><td align='right'>%4</td><td align='right'>%5</td><td align='right'>%6</td>"
                               "<td align='right'>%7</td><td>%8</td></tr>")
                    .arg(b, name.toHtmlEscaped(), e, QString::number(scale.n), figure(scale.alpha),
                         scale.lower && scale.upper ? QStringLiteral("%1 … %2").arg(Scoring::scoreText(*scale.lower), Scoring::scoreText(*scale.upper))
                                                    : QStringLiteral("—"),
                         figure(scale.meanCorrelation), Reliability::verdict(scale).toHtmlEscaped());
    };
    for (int i = 1; i <= Resource::IndexCount; ++i)
        row(Resource::indexHeading(i), result.indices[std::size_t(i - 1)], false);
    for (int t = 1; t <= Resource::TraitCount; ++t)
        row(Resource::TraitName(t), result.traits[std::size_t(t - 1)], true);
    html += QStringLiteral("</table>");
    // The statements that run against their index, by number, so that all of them fit the page.
    QStringList against;
    for (int s = 1; s <= Resource::StatementCount; ++s) {
        const Reliability::Statement &st = result.statements[std::size_t(s - 1)];
        if (st.correctedCorrelation && *st.correctedCorrelation < 0.0)
            against << QStringLiteral("%1\u00a0(%2)").arg(s).arg(Scoring::scoreText(*st.correctedCorrelation));
    }
    if (!against.isEmpty())
        html += QStringLiteral("<p>Утверждения, идущие вразрез со своим индексом (в скобках — корреляция с суммой остальных "
                               "утверждений индекса; возможно, обратная формулировка понята неверно): %1.</p>")
                    .arg(against.join(QStringLiteral(", ")));
    return html;
}

} // namespace ReportStatistics
