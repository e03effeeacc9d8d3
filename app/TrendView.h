#pragma once
// The analysis window's tab "Динамика": the archived waves of one client side by side. A line per
// index, trait and the overall mean across the waves (Qt Charts), and the table of the changes from
// each wave to the next with the 95 % interval, Welch's p and a mark where p < 0.05. The archive is
// read when the tab is first shown and on "Обновить", never before.

#include "ArchiveTables.h"

#include "ArchivePage.h"

#include <functional>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QStandardItemModel;
class QTableView;
class SurveyArchive;

class TrendView : public ArchivePage
{
    Q_OBJECT
public:
    struct Sources
    {
        std::function<SurveyArchive *()> archive; // opens it at first use; null where it cannot be opened
        QString client;                           // proposed: the client of the report's title block
    };

    TrendView(Sources sources, QWidget *parent);

    const QList<TrendWave> &waves() const { return m_waves; }
    // The client whose waves are shown.
    const QString &client() const { return m_shownClient; }

protected:
    void read() override;

private:
    void showWaves();

    Sources m_sources;
    QComboBox *m_client = nullptr;
    QLabel *m_status = nullptr;
    QChartView *m_chartView = nullptr;
    QStandardItemModel *m_model = nullptr;
    QTableView *m_view = nullptr;
    QList<TrendWave> m_waves;
    QString m_shownClient;
};
