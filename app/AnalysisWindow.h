#pragma once
// analysisWindow, "Анализ группы": the analysis of the group the session has loaded, in three tabs.
// It follows the session: another group loaded is analysed afresh, a file loaded closes the window;
// segments and members of the group shown in the main window leave it as it is.
//   "Разброс"   the spread of the answers (SpreadTable) and, per index, the answers to its five
//               statements as diverging bars;
//   "Сегменты"  the heat map of the group split by an information line or by sub-folder
//               (SegmentsTable), with the anonymity threshold; a double click shows a segment as the
//               group in the main window (segmentChosen);
//   "Сравнение" comparisonPage, an empty page with a vertical layout that the main window fills;
//   "Надёжность" the reliability of the indices and traits (ReliabilityPage).
// Each table copies as tab-separated text (Ctrl+C or its button: the selection, or the whole table
// when nothing is selected) and saves as an Excel workbook or CSV, whole or not at all.

#include "GroupArithmetic.h"
#include "Profile.h"
#include "UserPrompts.h"

#include <QDialog>

#include <functional>

class QAbstractItemView;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QSpinBox;
class QTableView;
class QTabWidget;
class AgreementView;
class AnswerBars;
class ReliabilityPage;
class Session;
class SegmentsModel;
class SpreadModel;
struct Table;

class AnalysisWindow : public QDialog
{
    Q_OBJECT
public:
    struct Options
    {
        UserPrompts *prompts = nullptr; // the save dialog and the error messages; none: no saving
        QString resultsFolder;          // where the save dialog starts
        QString caption;                // the caption of error messages
    };

    // Analyses the session's group, which it must have.
    AnalysisWindow(const Session &session, Options options, QWidget *parent);
    ~AnalysisWindow() override;

    // The group analysed.
    const Profile &group() const { return m_group; }
    // The third tab, "Сравнение": an empty page with a QVBoxLayout, for the main window to fill.
    QWidget *comparisonPage() const { return m_comparison; }

    // Adds a tab after the others (the archive's "Нормы" and "Динамика").
    void addPage(QWidget *page, const QString &title);

    // The band (± around the group's score) of the heat map's neutral zone, as "Range" reads.
    void setBand(double band);
    // The anonymity threshold set in the window: segments with fewer members show no scores.
    int minimumSize() const;

signals:
    void minimumSizeChanged(int minimum);

public:
    // Splits the heat map by an information line or by sub-folder.
    void showSegments(GroupArithmetic::SplitBy by);
    GroupArithmetic::SplitBy splitBy() const;
    // The index whose statements the diverging bars show, 1 to 12.
    void showIndex(int index);

    // The text Ctrl+C copies from a table: the selected cells (a rectangle around them, cells not
    // selected left empty), else the whole table with its header row; cells separated by tabs, rows
    // by line breaks, as the view shows and orders them.
    static QString copiedText(const QAbstractItemView *view);

signals:
    // A segment (or the whole group) chosen with a double click, as the main window shows a group:
    // its members' means, its name in place of "Группа".
    void segmentChosen(const Profile &profile);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Fills every page for the group: the summary, the spread, the bars of index 1, the heat map.
    void showGroup(const Profile &group);
    void followGroup();
    QWidget *buildSpreadPage();
    QWidget *buildSegmentsPage();
    QWidget *buildReliabilityPage();
    void chooseSegment(const QModelIndex &index);
    // The row of "Копировать" and "Сохранить…" under a table; name completes their object names.
    QHBoxLayout *tableButtons(QWidget *page, const char *name, QTableView *view, const std::function<void()> &save);
    void copyTable(QTableView *view);
    void saveTable(const Table &table, const QString &title, const QString &prefix);

    const Session &m_session;
    Profile m_group;
    bool m_stale = false; // the session's group changed while the window was closed
    Options m_options;
    QLabel *m_summary = nullptr;
    FileDialogSettings m_dialog;
    QTabWidget *m_tabs = nullptr;
    SpreadModel *m_spread = nullptr;
    QTableView *m_spreadView = nullptr;
    QComboBox *m_index = nullptr;
    AnswerBars *m_bars = nullptr;
    SegmentsModel *m_segments = nullptr;
    QTableView *m_segmentsView = nullptr;
    QComboBox *m_splitBy = nullptr;
    QSpinBox *m_minimum = nullptr;
    QLabel *m_legend = nullptr;
    QWidget *m_comparison = nullptr;
    AgreementView *m_agreement = nullptr;
    ReliabilityPage *m_reliability = nullptr;
};
