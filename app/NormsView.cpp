#include "NormsView.h"

#include "AnalysisViews.h"
#include "ArchiveTables.h"
#include "CirclePicture.h"
#include "NormCirclePicture.h"
#include "SurveyArchive.h"
#include "TableItems.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

// The circle, scaled to the space it has.
class NormsView::Circle : public QWidget
{
public:
    explicit Circle(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("normsCircle"));
        setMinimumSize(CirclePicture::PanelWidth / 2, CirclePicture::PanelHeight / 2);
    }
    void show(const IndexScores &profile, const std::optional<NormCirclePicture::Norm> &norm)
    {
        m_profile = profile;
        m_norm = norm;
        update();
    }
    const std::optional<NormCirclePicture::Norm> &norm() const { return m_norm; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const double scale = std::min(double(width()) / CirclePicture::PanelWidth, double(height()) / CirclePicture::PanelHeight);
        painter.translate((width() - CirclePicture::PanelWidth * scale) / 2, (height() - CirclePicture::PanelHeight * scale) / 2);
        painter.scale(scale, scale);
        NormCirclePicture::draw(painter, m_profile, m_norm);
    }

private:
    IndexScores m_profile{};
    std::optional<NormCirclePicture::Norm> m_norm;
};

NormsView::NormsView(Sources sources, QWidget *parent)
    : ArchivePage(parent), m_sources(std::move(sources)), m_rows(std::make_shared<QList<NormRow>>())
{
    setObjectName(QStringLiteral("normsPage"));
    auto *layout = new QVBoxLayout(this);
    auto *controls = new QHBoxLayout;
    auto *sectorLabel = new QLabel(QStringLiteral("&Отрасль:"), this);
    m_sector = new QComboBox(this);
    m_sector->setObjectName(QStringLiteral("normsSector"));
    m_sector->addItem(QStringLiteral("Все отрасли"), QString());
    m_sector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    sectorLabel->setBuddy(m_sector);
    auto *clientLabel = new QLabel(QStringLiteral("&Не учитывать опросы клиента:"), this);
    m_client = new QLineEdit(m_sources.excludedClient, this);
    m_client->setObjectName(QStringLiteral("normsExcludedClient"));
    m_client->setMaxLength(200);
    clientLabel->setBuddy(m_client);
    auto *refresh = new QPushButton(QStringLiteral("О&бновить"), this);
    refresh->setObjectName(QStringLiteral("normsRefresh"));
    controls->addWidget(sectorLabel);
    controls->addWidget(m_sector);
    controls->addWidget(clientLabel);
    controls->addWidget(m_client, 1);
    controls->addWidget(refresh);
    layout->addLayout(controls);
    m_status = AnalysisViews::note(QString(), "normsStatus", this);
    layout->addWidget(m_status);

    auto *splitter = new QSplitter(this);
    m_circle = new Circle(splitter);
    m_model = new QStandardItemModel(this);
    m_view = AnalysisViews::table(m_model, "normsView", splitter);
    splitter->addWidget(m_circle);
    splitter->addWidget(m_view);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
    layout->addWidget(AnalysisViews::note(
        QStringLiteral("Процентиль = (опросов ниже + половина равных) / N × 100; стен = round(5,5 + 2z), "
                       "z = (балл − среднее нормы) / ст. откл. нормы, от 1 до 10. Круг: сплошная линия — "
                       "профиль, пунктир — среднее нормы, зелёная полоса — среднее ± ст. откл."),
        nullptr, this));

    connect(refresh, &QPushButton::clicked, this, &NormsView::refresh);
    connect(m_sector, &QComboBox::activated, this, &NormsView::refresh);
    connect(m_client, &QLineEdit::returnPressed, this, &NormsView::refresh);
}

const QList<NormRow> &NormsView::rows() const
{
    return *m_rows;
}

void NormsView::read()
{
    m_rows->clear();
    m_model->clear();
    const Profile profile = m_sources.profile();
    m_circle->show(profile.scores.IndexScores, std::nullopt);
    SurveyArchive *archive = m_sources.archive();
    if (!archive) {
        m_status->setText(QStringLiteral("Архив опросов не открыт."));
        return;
    }
    // The sectors as the archive has them now, the choice kept.
    const QString chosen = m_sector->currentData().toString();
    m_sector->clear();
    m_sector->addItem(QStringLiteral("Все отрасли"), QString());
    if (const Outcome<QStringList> sectors = archive->sectors())
        for (const QString &sector : *sectors)
            m_sector->addItem(sector, sector);
    m_sector->setCurrentIndex(std::max(0, m_sector->findData(chosen)));

    const NormQuery query{m_sector->currentData().toString(), m_client->text().simplified()};
    const Outcome<QList<NormRow>> rows = archive->norms(SurveySummary::normScores(profile), query);
    if (!rows) {
        m_status->setText(rows.message());
        return;
    }
    *m_rows = *rows;
    TableItems::fill(m_model, ArchiveTables::normsTable(*rows));
    m_view->resizeColumnsToContents();
    const qsizetype surveys = rows->isEmpty() ? 0 : rows->first().surveys;
    if (rows->isEmpty() || !rows->first().enough()) {
        m_status->setText(ArchiveTables::normsTitle(query) + QStringLiteral(": ") + ArchiveTables::tooFewText(surveys) + u'.');
        return;
    }
    m_title = ArchiveTables::normsTitle(query);
    m_status->setText(m_title + QStringLiteral(", опросов: %1.").arg(surveys));
    m_circle->show(profile.scores.IndexScores, bandOf(*rows));
}

NormCirclePicture::Norm NormsView::bandOf(const QList<NormRow> &rows)
{
    NormCirclePicture::Norm norm;
    for (int i = 0; i < Resource::IndexCount; ++i) {
        const NormRow &row = rows.at(SurveySummary::FirstIndex + i);
        const double sd = row.deviation.value_or(0.0);
        norm.mean[std::size_t(i)] = row.mean;
        norm.low[std::size_t(i)] = row.mean - sd;
        norm.high[std::size_t(i)] = row.mean + sd;
    }
    return norm;
}
