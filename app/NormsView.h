#pragma once
// The analysis window's tab "Нормы": the profile shown in the main window (a group, a segment or
// one person) against the norms of the survey archive, of all sectors or of one, with the surveys of
// a client left out: the circle with the norm band (NormCirclePicture) and the table of each index,
// trait and the overall mean with the norm's N, mean, sd, the percentile rank and the sten. The
// archive is read when the tab is first shown and on "Обновить", never before.

#include "NormCirclePicture.h"
#include "Profile.h"

#include "ArchivePage.h"

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTableView;
class SurveyArchive;
struct NormRow;

class NormsView : public ArchivePage
{
    Q_OBJECT
public:
    struct Sources
    {
        std::function<SurveyArchive *()> archive; // opens it at first use; null where it cannot be opened
        std::function<Profile()> profile;         // the profile to compare
        QString excludedClient;                   // proposed: the client of the report's title block
    };

    NormsView(Sources sources, QWidget *parent);

    const QList<NormRow> &rows() const;
    // The band of the circle: each index's norm mean, minus and plus its standard deviation.
    static NormCirclePicture::Norm bandOf(const QList<NormRow> &rows);
    // What the rows are: "Нормы: …".
    const QString &title() const { return m_title; }

protected:
    void read() override;

private:
    class Circle;
    Sources m_sources;
    QComboBox *m_sector = nullptr;
    QLineEdit *m_client = nullptr;
    QLabel *m_status = nullptr;
    Circle *m_circle = nullptr;
    QStandardItemModel *m_model = nullptr;
    QTableView *m_view = nullptr;
    std::shared_ptr<QList<NormRow>> m_rows;
    QString m_title;
};
