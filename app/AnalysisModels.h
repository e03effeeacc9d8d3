#pragma once
// The tables of the analysis window as item models: the spread of a group's answers, and the heat
// map of its segments. Both give their sort value in Qt::UserRole (a number for numbers), so that a
// QSortFilterProxyModel sorts them as numbers and not as texts.

#include "GroupArithmetic.h"
#include "SegmentStatistics.h"
#include "SegmentsTable.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QSortFilterProxyModel>

// One row per index, trait and statement: the columns of SpreadTable, figures as the window shows
// scores (two decimals), answer counts for statements only.
class SpreadModel : public QAbstractTableModel
{
public:
    explicit SpreadModel(QObject *parent = nullptr);

    void setSpread(const GroupArithmetic::Spread &spread);
    const GroupArithmetic::Spread &spread() const { return m_spread; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    GroupArithmetic::Spread m_spread;
};

// The heat map: the whole group first, then one row per segment with its name and size and one
// column per index, trait and the overall mean. A segment's cell is shaded by its difference from
// the whole group: green above, red below, the stronger the further; no shade within the band
// (Scoring::classify with the window's "Range"). A segment below the anonymity threshold shows
// "менее N анкет" and nothing else. An index cell whose difference from the rest of the group is
// significant (Welch, Holm-adjusted p < 0.05) is marked " *" and its tooltip gives the difference,
// its interval, p and g; the last column, "Согласие", is the segment's mean rwg(j) over the indices.
class SegmentsModel : public QAbstractTableModel
{
public:
    explicit SegmentsModel(QObject *parent = nullptr);

    void setSegments(const SegmentsTable::Segments &segments);
    // The moments of the segments' members (SegmentStatistics::collect), for the tests.
    void setMoments(const GroupMoments::Moments &moments);
    void setMinimum(int minimum);
    // The tests at the threshold in force.
    const SegmentStatistics::Tests &tests() const { return m_tests; }
    static constexpr int AgreementColumn = SegmentsTable::ColumnCount;
    void setBand(double band);
    const SegmentsTable::Segments &segments() const { return m_segments; }
    int minimum() const { return m_minimum; }
    double band() const { return m_band; }

    // The segment of a row (row 0 is the whole group).
    const SegmentsTable::Segment &segmentAt(int row) const;
    bool suppressed(int row) const;

    // The shade of a cell whose score is value where the group's is groupValue: no colour (invalid)
    // within the band (± band around the group's), else green above and red below, darker as the
    // difference grows beyond the band (the darkest a whole point beyond it).
    static QColor shade(double value, double groupValue, double band);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    SegmentsTable::Segments m_segments;
    QList<SegmentsTable::Visibility> m_visibility; // of every segment at the threshold in force
    GroupMoments::Moments m_moments;
    SegmentStatistics::Tests m_tests;
    // The tests of a cell (nullptr for none): row 1.. and an index column.
    const Significance::Difference *differenceAt(int row, int column) const;
    int m_minimum = SegmentsTable::DefaultMinimum;
    double m_band = Scoring::BandStart;
};

// Sorts a table of the analysis by any column, by its Qt::UserRole values, with its first rows kept on
// top (the whole group of the heat map) and rows without a value (a suppressed segment's scores, a
// deviation of one answer) kept at the bottom, in either order.
class AnalysisSortModel : public QSortFilterProxyModel
{
public:
    AnalysisSortModel(int pinnedRows, QObject *parent);

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    int m_pinnedRows;
};
