#pragma once
// Session: what the main window has loaded and how the user looks at it, in one place. It holds the
// profile shown, the group it came from, the reference it is compared with (named with its source),
// the band "Range" (± around the mean), the header as the user edited it, which chart is in front and the key
// of the result files. Every change is one signal; the views, the analysis window, the exports and
// the report read the session and follow its signals, so that nobody hands state around by hand.
// Every load comes in through load(), which decides what the load does to the group, the comparison
// and with it the analysis window.

#include "Profile.h"

#include <QObject>

#include <optional>

class Session : public QObject
{
    Q_OBJECT
public:
    // Where a profile comes from. A file or a folder is new data (Data, Group, the command line, a drop,
    // an import); a segment or a member is a part of the group loaded, shown on its own.
    enum class Origin { File, Group, Segment, Member };
    // The chart in front of the chart panel: the five statements of an index, or all sixty.
    enum class Chart { Detail = 0, Overview = 1 };

    // The profile another one is compared with and its name, which says where it comes from.
    struct Reference
    {
        Profile profile;
        QString name;
    };

    explicit Session(QObject *parent = nullptr);

    // Shows profile as loaded from origin; see the rules in Session.cpp.
    void load(Profile profile, Origin origin);
    // Whether anything has been loaded yet.
    bool isLoaded() const { return m_loaded; }

    // The profile as loaded, and the same with the header as the user may have edited it.
    const Profile &profile() const { return m_profile; }
    Profile shownProfile() const;
    // The group loaded last, also while one of its segments or members is shown; null after a file.
    const Profile *group() const { return m_group ? &*m_group : nullptr; }

    // The reference while the comparison is on; none while it is off.
    const Profile *reference() const { return m_comparing && m_reference ? &m_reference->profile : nullptr; }
    QString referenceName() const { return m_comparing && m_reference ? m_reference->name : QString(); }
    // The reference chosen last, also while the comparison is off: the one it can be turned on with.
    const std::optional<Reference> &chosenReference() const { return m_reference; }
    bool comparing() const { return m_comparing && m_reference; }
    // Compares the shown profile with reference from now on; nullopt turns the comparison off and
    // forgets the reference.
    void setReference(std::optional<Reference> reference);
    // Turns the comparison with the reference chosen last on or off.
    void setComparing(bool on);

    // The band "Range": its lines lie this far either side of the mean.
    double band() const { return m_band; }
    void setBand(double band);

    // The header as the user edited it: code, name and date; the information lines as loaded.
    const RespondentHeader &header() const { return m_header; }
    void setHeader(const RespondentHeader &header);
    // The text of "N анкет" and the summary behind the information image.
    QString respondents() const { return QString::number(m_profile.respondentCount()); }
    QString hint() const { return m_profile.hint(); }

    Chart chartInFront() const { return m_chart; }
    void setChartInFront(Chart chart);

    // The key the result files are read with.
    const QByteArray &key() const { return m_key; }

signals:
    // A profile was loaded: every view shows it afresh (with the band, header and reference in force).
    void profileChanged();
    // The group changed: another one, or none after a file.
    void groupChanged();
    // The comparison was turned on or off, or another reference chosen.
    void referenceChanged();
    void bandChanged(double band);
    void headerChanged();
    void chartInFrontChanged(Session::Chart chart);

private:
    Profile m_profile;
    std::optional<Profile> m_group;
    std::optional<Reference> m_reference;
    bool m_comparing = false;
    bool m_loaded = false;
    double m_band;
    RespondentHeader m_header;
    Chart m_chart = Chart::Detail;
    QByteArray m_key;
};

// The names of references: each says where the reference comes from, so that a page or a report
// never shows a profile named by nothing but "Группа".
namespace ReferenceName {

// A result file: the respondent's name and the file ("Иванов (файл 0101.cry)").
QString file(const Profile &profile, const QString &path);
// A folder read as a group: "Папка Отдел (12 анкет)".
QString folder(const QString &folder, qsizetype count);
// The whole group loaded: "Группа firm (60 анкет)".
QString group(const Profile &group);
// A segment of the group loaded and the split it comes from: "Склад, по строке 1, группа firm (5 анкет)".
QString segment(const QString &segment, const QString &split, const Profile &group, qsizetype count);

} // namespace ReferenceName
