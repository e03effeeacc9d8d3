#include "TrendView.h"

#include "AnalysisViews.h"
#include "SurveyArchive.h"
#include "TableItems.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QValueAxis>
#include <QVBoxLayout>

TrendView::TrendView(Sources sources, QWidget *parent) : ArchivePage(parent), m_sources(std::move(sources))
{
    setObjectName(QStringLiteral("trendPage"));
    auto *layout = new QVBoxLayout(this);
    auto *controls = new QHBoxLayout;
    auto *clientLabel = new QLabel(QStringLiteral("&Клиент:"), this);
    m_client = new QComboBox(this);
    m_client->setObjectName(QStringLiteral("trendClient"));
    m_client->setEditable(true);
    m_client->setInsertPolicy(QComboBox::NoInsert);
    m_client->setCurrentText(m_sources.client);
    m_client->setMinimumContentsLength(24);
    clientLabel->setBuddy(m_client);
    auto *refresh = new QPushButton(QStringLiteral("О&бновить"), this);
    refresh->setObjectName(QStringLiteral("trendRefresh"));
    controls->addWidget(clientLabel);
    controls->addWidget(m_client, 1);
    controls->addWidget(refresh);
    layout->addLayout(controls);
    m_status = AnalysisViews::note(QString(), "trendStatus", this);
    layout->addWidget(m_status);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    m_chartView = new QChartView(new QChart, splitter);
    m_chartView->setObjectName(QStringLiteral("trendChart"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setMinimumHeight(260);
    m_model = new QStandardItemModel(this);
    m_view = AnalysisViews::table(m_model, "trendChanges", splitter);
    splitter->addWidget(m_chartView);
    splitter->addWidget(m_view);
    layout->addWidget(splitter, 1);
    layout->addWidget(AnalysisViews::note(
        QStringLiteral("Изменение — от волны к следующей; 95% ДИ и p — t-критерий Уэлча по средним, "
                       "стандартным отклонениям и числу анкет волн; * — p < 0,05."),
        nullptr, this));

    connect(refresh, &QPushButton::clicked, this, &TrendView::refresh);
    connect(m_client, &QComboBox::activated, this, &TrendView::refresh);
}

void TrendView::read()
{
    m_waves.clear();
    SurveyArchive *archive = m_sources.archive();
    if (!archive) {
        m_status->setText(QStringLiteral("Архив опросов не открыт."));
        showWaves();
        return;
    }
    const QString client = m_client->currentText().simplified();
    m_client->clear();
    if (const Outcome<QStringList> clients = archive->clients())
        m_client->addItems(*clients);
    m_client->setCurrentText(client);
    if (client.isEmpty()) {
        m_status->setText(QStringLiteral("Выберите клиента."));
        showWaves();
        return;
    }
    const Outcome<QList<TrendWave>> waves = archive->trend(client);
    if (!waves) {
        m_status->setText(waves.message());
        showWaves();
        return;
    }
    m_waves = *waves;
    m_shownClient = client;
    if (m_waves.isEmpty())
        m_status->setText(QStringLiteral("В архиве нет опросов клиента «%1».").arg(client));
    else if (m_waves.size() == 1)
        m_status->setText(QStringLiteral("Клиент «%1»: одна волна, сравнивать не с чем.").arg(client));
    else
        m_status->setText(QStringLiteral("Клиент «%1»: волн %2.").arg(client).arg(m_waves.size()));
    showWaves();
}

void TrendView::showWaves()
{
    QChart *chart = m_chartView->chart();
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes())
        chart->removeAxis(axis);
    TableItems::fill(m_model, ArchiveTables::changesTable(ArchiveTables::changes(m_waves)));
    m_view->resizeColumnsToContents();
    if (m_waves.isEmpty())
        return;
    auto *waveAxis = new QCategoryAxis;
    waveAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (qsizetype k = 0; k < m_waves.size(); ++k)
        waveAxis->append(m_waves[k].wave.toString(QStringLiteral("dd.MM.yyyy")), double(k));
    waveAxis->setRange(-0.2, double(m_waves.size() - 1) + 0.2);
    auto *scoreAxis = new QValueAxis;
    scoreAxis->setRange(1.0, 5.0);
    scoreAxis->setTickCount(5);
    scoreAxis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(waveAxis, Qt::AlignBottom);
    chart->addAxis(scoreAxis, Qt::AlignLeft);
    for (int m = 0; m < SurveySummary::NormMeasures; ++m) {
        auto *series = new QLineSeries;
        series->setName(SurveySummary::measureName(m));
        series->setPointsVisible(true);
        for (qsizetype k = 0; k < m_waves.size(); ++k)
            series->append(double(k), m_waves[k].figures.means[std::size_t(m)]);
        if (m >= SurveySummary::FirstTrait) {
            QPen pen = series->pen();
            pen.setWidth(3);
            series->setPen(pen);
        }
        chart->addSeries(series);
        series->attachAxis(waveAxis);
        series->attachAxis(scoreAxis);
    }
    chart->legend()->setAlignment(Qt::AlignRight);
}
