#include "Session.h"

#include "ResultFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString folderName(const QString &folder)
{
    const QString name = QFileInfo(QDir::cleanPath(folder)).fileName();
    return name.isEmpty() ? QDir::toNativeSeparators(folder) : name;
}

} // namespace

Session::Session(QObject *parent)
    : QObject(parent)
    , m_band(Scoring::BandStart)
    , m_key(ResultFile::keyBytes())
{
}

void Session::load(Profile profile, Origin origin)
{
    // Every load comes through here, and this is what it does to what was loaded before.
    //
    // A file or a folder (Data, Group, the command line, a drop, an import) is new data, as a rule
    // another client's: it replaces the group (a file leaves none, and the analysis window, which
    // follows the group, closes) and turns the comparison off, since no reference was chosen for
    // data that was not loaded yet. The reference stays named on the "Сравнение" page, from where
    // the user turns it on again when it does belong to the new data (a benchmark kept for every
    // client); until then nothing of it reaches an export or the report.
    //
    // A segment or a member of the group loaded is no new data: the consultant looks at a part of
    // the same company. The group stays the analysis window's group, so its tables, threshold and
    // split stay as they were, and the comparison stays as chosen for that company (a segment
    // against the whole group, or against a benchmark). A member is compared with its whole group,
    // which is what the member list offers it for.
    const bool newData = origin == Origin::File || origin == Origin::Group;
    const bool hadGroup = m_group.has_value();
    if (origin == Origin::Group)
        m_group = profile;
    else if (origin == Origin::File)
        m_group.reset();
    const bool groupChangedNow = newData && (hadGroup || m_group);

    bool referenceChangedNow = false;
    if (newData && m_comparing) {
        m_comparing = false;
        referenceChangedNow = true;
    }
    if (origin == Origin::Member && m_group) {
        m_reference = Reference{*m_group, ReferenceName::group(*m_group)};
        m_comparing = true;
        referenceChangedNow = true;
    }

    m_profile = std::move(profile);
    m_header = m_profile.header;
    m_loaded = true;
    if (groupChangedNow)
        emit groupChanged();
    if (referenceChangedNow)
        emit referenceChanged();
    emit profileChanged();
}

Profile Session::shownProfile() const
{
    Profile shown = m_profile;
    shown.header = m_header;
    return shown;
}

void Session::setReference(std::optional<Reference> reference)
{
    m_comparing = reference.has_value();
    m_reference = std::move(reference);
    emit referenceChanged();
}

void Session::setComparing(bool on)
{
    on = on && m_reference;
    if (on == m_comparing)
        return;
    m_comparing = on;
    emit referenceChanged();
}

void Session::setBand(double band)
{
    if (band == m_band)
        return;
    m_band = band;
    emit bandChanged(band);
}

void Session::setHeader(const RespondentHeader &header)
{
    m_header = header;
    emit headerChanged();
}

void Session::setChartInFront(Chart chart)
{
    if (chart == m_chart)
        return;
    m_chart = chart;
    emit chartInFrontChanged(chart);
}

namespace ReferenceName {

QString file(const Profile &profile, const QString &path)
{
    const QString fileName = QFileInfo(path).fileName();
    const QString name = profile.header.name.simplified();
    return name.isEmpty() ? QStringLiteral("Файл %1").arg(fileName) : QStringLiteral("%1 (файл %2)").arg(name, fileName);
}

QString folder(const QString &folder, qsizetype count)
{
    return QStringLiteral("Папка %1 (%2)").arg(folderName(folder), ProfileText::questionnaires(count));
}

QString group(const Profile &group)
{
    return QStringLiteral("%1 %2 (%3)")
        .arg(ProfileText::groupName(), folderName(group.source), ProfileText::questionnaires(group.respondentCount()));
}

QString segment(const QString &segment, const QString &split, const Profile &group, qsizetype count)
{
    return QStringLiteral("%1, %2, группа %3 (%4)")
        .arg(segment, split, folderName(group.source), ProfileText::questionnaires(count));
}

} // namespace ReferenceName
