#include "AnalysisModels.h"

#include "PlainText.h"
#include "Scoring.h"
#include "SpreadTable.h"

#include <QFont>

#include <algorithm>
#include <cmath>

namespace {

QVariant rightAligned()
{
    return QVariant(Qt::AlignRight | Qt::AlignVCenter);
}

// The font of a row that sums others up (an index, the whole group).
QVariant boldFont()
{
    QFont bold;
    bold.setBold(true);
    return bold;
}

QString figureText(double value)
{
    return std::isfinite(value) ? Scoring::scoreText(value) : QString();
}

QVariant sortValue(double value)
{
    return std::isfinite(value) ? QVariant(value) : QVariant();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The spread

SpreadModel::SpreadModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void SpreadModel::setSpread(const GroupArithmetic::Spread &spread)
{
    beginResetModel();
    m_spread = spread;
    endResetModel();
}

int SpreadModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : SpreadTable::RowCount;
}

int SpreadModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : SpreadTable::ColumnCount;
}

QVariant SpreadModel::data(const QModelIndex &index, int role) const
{
    using namespace SpreadTable;
    const int row = index.row();
    const int column = index.column();
    const GroupArithmetic::Summary &summary = summaryOf(m_spread, row);
    const std::array<qsizetype, 5> *answers = answersOf(m_spread, row);
    const auto figure = [&](int c) {
        switch (c) {
        case Mean:
            return summary.mean;
        case Deviation:
            return summary.deviation;
        case Minimum:
            return summary.minimum;
        default:
            return summary.maximum;
        }
    };
    switch (role) {
    case Qt::DisplayRole:
        if (column == Name)
            return rowName(row);
        if (column == Count)
            return QString::number(summary.n);
        if (column < FirstAnswer)
            return figureText(figure(column));
        return answers ? QString::number((*answers)[std::size_t(column - FirstAnswer)]) : QString();
    case Qt::UserRole:
        if (column == Name)
            return row; // the questionnaire's order
        if (column == Count)
            return double(summary.n);
        if (column < FirstAnswer)
            return sortValue(figure(column));
        return answers ? QVariant(double((*answers)[std::size_t(column - FirstAnswer)])) : QVariant();
    case Qt::ToolTipRole:
        return column == Name ? plainToolTip(rowTitle(row)) : QVariant();
    case Qt::TextAlignmentRole:
        return column == Name ? QVariant() : rightAligned();
    case Qt::FontRole:
        return rowKey(row).kind != Kind::Statement ? boldFont() : QVariant();
    default:
        return QVariant();
    }
}

QVariant SpreadModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return SpreadTable::columns().value(section);
}

// ---------------------------------------------------------------------------------------------
// The heat map

SegmentsModel::SegmentsModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void SegmentsModel::setSegments(const SegmentsTable::Segments &segments)
{
    beginResetModel();
    m_segments = segments;
    m_visibility = SegmentsTable::visibility(m_segments, m_minimum);
    m_moments = {};
    m_tests = {};
    endResetModel();
}

void SegmentsModel::setMoments(const GroupMoments::Moments &moments)
{
    m_moments = moments;
    m_tests = SegmentStatistics::tests(m_segments, m_moments, m_minimum);
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const Significance::Difference *SegmentsModel::differenceAt(int row, int column) const
{
    const int i = column - SegmentsTable::FirstScoreColumn;
    if (row < 1 || i < 0 || i >= Resource::IndexCount)
        return nullptr;
    const qsizetype shown = m_tests.shownAt(row - 1);
    return shown < 0 ? nullptr : &m_tests.differences[shown][std::size_t(i)];
}

void SegmentsModel::setMinimum(int minimum)
{
    minimum = std::max(minimum, SegmentsTable::LowestMinimum);
    if (minimum == m_minimum)
        return;
    // Rows change what they show, not their number: the views and the sorting follow.
    m_minimum = minimum;
    m_visibility = SegmentsTable::visibility(m_segments, m_minimum);
    if (!m_moments.sets.isEmpty())
        m_tests = SegmentStatistics::tests(m_segments, m_moments, m_minimum);
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void SegmentsModel::setBand(double band)
{
    if (band == m_band)
        return;
    m_band = band;
    emit dataChanged(index(0, SegmentsTable::FirstScoreColumn), index(rowCount() - 1, columnCount() - 1),
                     {Qt::BackgroundRole, Qt::ForegroundRole});
}

const SegmentsTable::Segment &SegmentsModel::segmentAt(int row) const
{
    return row == 0 ? m_segments.group : m_segments.segments[row - 1];
}

bool SegmentsModel::suppressed(int row) const
{
    return row > 0 && m_visibility.value(row - 1) != SegmentsTable::Visibility::Shown;
}

QColor SegmentsModel::shade(double value, double groupValue, double band)
{
    if (!std::isfinite(value) || !std::isfinite(groupValue))
        return QColor();
    const ScoreBand side = Scoring::classify(value, groupValue, band);
    if (side == ScoreBand::Neither)
        return QColor();
    const double beyond = std::abs(value - groupValue) - band;
    const double strength = std::clamp(beyond, 0.0, 1.0);
    const double alpha = 0.2 + 0.65 * strength;
    const QColor base = side == ScoreBand::High ? QColor(0, 128, 0) : QColor(204, 0, 0);
    const auto mix = [alpha](int channel) { return int(std::lround(255.0 + (channel - 255.0) * alpha)); };
    return QColor(mix(base.red()), mix(base.green()), mix(base.blue()));
}

int SegmentsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(1 + m_segments.segments.size());
}

int SegmentsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : AgreementColumn + 1;
}

QVariant SegmentsModel::data(const QModelIndex &index, int role) const
{
    using namespace SegmentsTable;
    const int row = index.row();
    const int column = index.column();
    const Segment &segment = segmentAt(row);
    const bool hidden = suppressed(row);
    if (column == AgreementColumn) {
        const qsizetype shown = row > 0 ? m_tests.shownAt(row - 1) : -1;
        if (shown < 0)
            return QVariant();
        const std::optional<double> agreement = m_tests.meanRwg[shown];
        switch (role) {
        case Qt::DisplayRole:
            return SegmentStatistics::figureText(agreement);
        case Qt::UserRole:
            return agreement ? QVariant(*agreement) : QVariant();
        case Qt::TextAlignmentRole:
            return rightAligned();
        case Qt::ToolTipRole:
            return QStringLiteral("Согласие внутри сегмента: среднее rwg(j) по 12 индексам (1 — все ответили одинаково, "
                                  "0 — не больше согласия, чем при случайных ответах)");
        default:
            return QVariant();
        }
    }
    const bool score = column >= FirstScoreColumn;
    const Significance::Difference *tested = differenceAt(row, column);
    const bool significant = tested && !hidden && tested->significant();
    switch (role) {
    case Qt::DisplayRole:
        if (column == 0)
            return segment.name;
        if (column == SizeColumn) {
            if (!hidden)
                return QString::number(segment.size());
            return m_visibility.value(row - 1) == Visibility::TooSmall
                       ? suppressedText(m_minimum)
                       : QStringLiteral("%1 (%2)").arg(segment.size()).arg(protectingText());
        }
        if (hidden)
            return QString();
        return Scoring::scoreText(scoreOf(segment, column)) + (significant ? QStringLiteral(" ") + SegmentStatistics::mark() : QString());
    case Qt::UserRole:
        if (column == 0)
            return segment.name;
        if (hidden)
            return QVariant();
        return column == SizeColumn ? double(segment.size()) : scoreOf(segment, column);
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        if (!score || row == 0 || hidden)
            return QVariant();
        const QColor fill = shade(scoreOf(segment, column), scoreOf(m_segments.group, column), m_band);
        if (!fill.isValid())
            return QVariant();
        if (role == Qt::BackgroundRole)
            return fill;
        return fill.lightnessF() < 0.55 ? QColor(Qt::white) : QColor(Qt::black);
    }
    case Qt::ToolTipRole:
        if (column == 0)
            return plainToolTip(segment.name);
        if (score && row > 0 && !hidden) {
            const double difference = scoreOf(segment, column) - scoreOf(m_segments.group, column);
            QString tip = QStringLiteral("Отличие от всей группы: %1").arg(Scoring::differenceText(difference, 2));
            if (tested)
                tip += QStringLiteral("\nОт остальной группы: ") + SegmentStatistics::differenceText(*tested)
                       + (significant ? QStringLiteral("\nРазличие значимо (p < 0,05 с поправкой Холма)") : QString());
            return tip;
        }
        return QVariant();
    case Qt::TextAlignmentRole:
        return column == 0 || hidden ? QVariant() : rightAligned();
    case Qt::FontRole:
        return row == 0 || significant ? boldFont() : QVariant();
    default:
        return QVariant();
    }
}

QVariant SegmentsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QVariant();
    if (section == AgreementColumn)
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("Согласие"))
               : role == Qt::ToolTipRole ? QVariant(QStringLiteral("Согласие (среднее rwg(j))")) : QVariant();
    const QList<QString> columns = SegmentsTable::columns(m_segments.heading);
    if (role == Qt::ToolTipRole)
        return columns.value(section);
    if (role != Qt::DisplayRole)
        return QVariant();
    // Short headings keep the heat map narrow; the tooltip has the full title.
    if (section >= SegmentsTable::FirstScoreColumn && section < SegmentsTable::FirstScoreColumn + Resource::IndexCount)
        return QString::number(section - SegmentsTable::FirstScoreColumn + 1);
    if (section == SegmentsTable::ColumnCount - 1)
        return QStringLiteral("Среднее");
    return columns.value(section);
}

// ---------------------------------------------------------------------------------------------
// Sorting

AnalysisSortModel::AnalysisSortModel(int pinnedRows, QObject *parent)
    : QSortFilterProxyModel(parent), m_pinnedRows(pinnedRows)
{
    setSortRole(Qt::UserRole);
}

bool AnalysisSortModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    // The proxy sorts descending by asking lessThan(right, left): each answer is turned so that
    // pinned rows, rows without a value and ties come out the same in both orders.
    const bool ascending = sortOrder() == Qt::AscendingOrder;
    const auto natural = [&] { return left.row() != right.row() && (left.row() < right.row()) == ascending; };
    const bool leftPinned = left.row() < m_pinnedRows;
    const bool rightPinned = right.row() < m_pinnedRows;
    if (leftPinned || rightPinned)
        return leftPinned && rightPinned ? natural() : leftPinned == ascending;
    const QVariant l = left.data(sortRole());
    const QVariant r = right.data(sortRole());
    if (!l.isValid() || !r.isValid())
        return l.isValid() == r.isValid() ? natural() : l.isValid() == ascending;
    int order = 0;
    if (l.typeId() == QMetaType::QString || r.typeId() == QMetaType::QString)
        order = QString::localeAwareCompare(l.toString(), r.toString());
    else
        order = l.toDouble() < r.toDouble() ? -1 : r.toDouble() < l.toDouble() ? 1 : 0;
    return order == 0 ? natural() : order < 0;
}
