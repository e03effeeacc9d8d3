#include "ComparisonPage.h"

#include "AnalysisWindow.h"
#include "ComparisonFigures.h"
#include "GroupArithmetic.h"
#include "GroupProgress.h"
#include "InfoCaptions.h"
#include "SegmentsTable.h"
#include "ProfileLoader.h"
#include "ResultFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QString withCount(const QString &name, qsizetype count)
{
    return QStringLiteral("%1 (%2)").arg(name, ProfileText::questionnaires(count));
}

} // namespace

ComparisonPage::ComparisonPage(Session &session, Options options, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_options(std::move(options))
{
    setObjectName(QStringLiteral("comparisonPage"));
    auto *layout = new QVBoxLayout(this);
    m_on = new QCheckBox(QStringLiteral("Сравнивать с эталоном"), this);
    m_on->setObjectName(QStringLiteral("compareOn"));
    layout->addWidget(m_on);
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("referenceName"));
    m_name->setTextFormat(Qt::PlainText);
    layout->addWidget(m_name);

    auto *choose = new QGroupBox(QStringLiteral("Эталон"), this);
    auto *form = new QFormLayout(choose);
    QPushButton *file = button(QStringLiteral("Файл результатов…"), "referenceFile", choose);
    QPushButton *folder = button(QStringLiteral("Папка группы…"), "referenceFolder", choose);
    auto *files = new QHBoxLayout;
    files->addWidget(file);
    files->addWidget(folder);
    files->addStretch();
    form->addRow(QStringLiteral("Другая анкета или группа:"), files);

    m_splitBy = new QComboBox(choose);
    m_splitBy->setObjectName(QStringLiteral("referenceSplitBy"));
    for (int k = 1; k <= 4; ++k)
        m_splitBy->addItem(QStringLiteral("по строке %1").arg(k), int(GroupArithmetic::SplitBy::Info1) + k - 1);
    m_splitBy->addItem(QStringLiteral("по подпапкам"), int(GroupArithmetic::SplitBy::Folder));
    m_segment = new QComboBox(choose);
    m_segment->setObjectName(QStringLiteral("referenceSegment"));
    m_segment->setMinimumContentsLength(20);
    QPushButton *segment = button(QStringLiteral("Сравнить"), "referenceUseSegment", choose);
    auto *segments = new QHBoxLayout;
    segments->addWidget(m_splitBy);
    segments->addWidget(m_segment, 1);
    segments->addWidget(segment);
    form->addRow(QStringLiteral("Сегмент группы:"), segments);
    QPushButton *group = button(QStringLiteral("Вся группа"), "referenceGroup", choose);
    group->setToolTip(QStringLiteral("Анкету из состава группы (щелчок по значку сведений) — на фоне всей группы"));
    form->addRow(QStringLiteral("Для одной анкеты группы:"), group);
    layout->addWidget(choose);
    m_figures = new ComparisonFigures(this);
    layout->addWidget(m_figures, 1);

    connect(file, &QPushButton::clicked, this, &ComparisonPage::chooseFile);
    connect(folder, &QPushButton::clicked, this, &ComparisonPage::chooseFolder);
    connect(segment, &QPushButton::clicked, this, &ComparisonPage::useSegment);
    connect(group, &QPushButton::clicked, this, &ComparisonPage::useGroup);
    connect(m_splitBy, &QComboBox::currentIndexChanged, this, &ComparisonPage::fillSegments);
    connect(m_on, &QCheckBox::toggled, &m_session, &Session::setComparing);
    connect(&m_session, &Session::referenceChanged, this, &ComparisonPage::refresh);
    connect(&m_session, &Session::groupChanged, this, &ComparisonPage::fillSegments);
    connect(&m_session, &Session::profileChanged, this,
            [this] { m_figures->setProfiles(m_session.profile(), m_session.reference()); });
    fillSegments();
    refresh();
}

void ComparisonPage::showEvent(QShowEvent *event)
{
    // The threshold may have changed on the "Сегменты" page since.
    fillSegments();
    QWidget::showEvent(event);
}

void ComparisonPage::refresh()
{
    const std::optional<Session::Reference> &chosen = m_session.chosenReference();
    const QSignalBlocker blocker(m_on);
    m_figures->setProfiles(m_session.profile(), m_session.reference());
    m_on->setChecked(m_session.comparing());
    m_on->setEnabled(chosen.has_value());
    m_name->setText(m_session.comparing() ? QStringLiteral("Эталон: ") + chosen->name
                    : chosen              ? QStringLiteral("Сравнение выключено (эталон: %1)").arg(chosen->name)
                                          : QStringLiteral("Эталон не выбран"));
}

void ComparisonPage::compareWith(Profile reference, const QString &name)
{
    m_session.setReference(Session::Reference{std::move(reference), name});
}

QString ComparisonPage::askForFile(const QString &title)
{
    FileDialogSettings dialog;
    dialog.title = title;
    dialog.filter = QStringLiteral("CRY Files (*.cry)|*.cry");
    dialog.initialDir = m_options.dataFolder;
    return m_options.prompts->openFile(this, dialog);
}

void ComparisonPage::chooseFile()
{
    const QString chosen = askForFile(QStringLiteral("Эталон: файл результатов"));
    if (chosen.isEmpty())
        return;
    Outcome<Profile> loaded = ProfileLoader::loadFile(chosen, m_session.key());
    if (!loaded) {
        m_options.prompts->showError(this, m_options.caption, loaded.message());
        return;
    }
    const QString name = ReferenceName::file(*loaded, chosen);
    compareWith(std::move(loaded).value(), name);
}

void ComparisonPage::chooseFolder()
{
    const QString chosen = askForFile(QStringLiteral("Эталон: любой файл в папке группы"));
    if (chosen.isEmpty())
        return;
    const QString folder = ResultFolder::folderOf(chosen);
    std::optional<Profile> loaded = GroupProgress::readGroup(window(), *m_options.prompts, m_options.caption, folder,
                                                             m_session.key(), m_options.groupProgressDelay);
    if (!loaded)
        return;
    const QString name = ReferenceName::folder(folder, loaded->respondentCount());
    compareWith(std::move(*loaded), name);
}

// The segments offered are those the analysis shows at its anonymity threshold: a segment whose
// scores the heat map hides is no reference either.
QList<SegmentsTable::Segment> ComparisonPage::shownSegments() const
{
    const Profile *group = m_session.group();
    if (!group)
        return {};
    const auto *analysis = qobject_cast<const AnalysisWindow *>(window());
    const int minimum = analysis ? analysis->minimumSize() : SegmentsTable::DefaultMinimum;
    const SegmentsTable::Segments segments =
        SegmentsTable::split(*group, GroupArithmetic::SplitBy(m_splitBy->currentData().toInt()));
    const QList<SegmentsTable::Visibility> visibility = SegmentsTable::visibility(segments, minimum);
    QList<SegmentsTable::Segment> shown;
    for (qsizetype k = 0; k < segments.segments.size(); ++k)
        if (visibility[k] == SegmentsTable::Visibility::Shown)
            shown << segments.segments[k];
    return shown;
}

void ComparisonPage::fillSegments()
{
    // The information lines by their captions where the group's are known.
    if (const Profile *group = m_session.group()) {
        const Questionnaire::Captions captions = InfoCaptions::forFolder(group->source);
        for (int k = 1; k <= 4; ++k)
            m_splitBy->setItemText(k - 1, captions[std::size_t(k - 1)].isEmpty()
                                              ? QStringLiteral("по строке %1").arg(k)
                                              : QStringLiteral("по строке «%1»").arg(captions[std::size_t(k - 1)]));
    }
    m_segment->clear();
    // Each entry knows its segment by its place: two segments may read alike.
    const QList<SegmentsTable::Segment> segments = shownSegments();
    for (qsizetype k = 0; k < segments.size(); ++k)
        m_segment->addItem(withCount(segments[k].name, segments[k].size()), int(k));
}

void ComparisonPage::useSegment()
{
    const Profile *group = m_session.group();
    if (!group || m_segment->currentIndex() < 0)
        return;
    const QList<SegmentsTable::Segment> segments = shownSegments();
    const int chosen = m_segment->currentData().toInt();
    if (chosen < 0 || chosen >= segments.size())
        return;
    const SegmentsTable::Segment &segment = segments[chosen];
    compareWith(ProfileLoader::groupProfile(group->members, group->source, segment.members, segment.name),
                ReferenceName::segment(segment.name, m_splitBy->currentText(), *group, segment.size()));
}

void ComparisonPage::useGroup()
{
    const Profile *group = m_session.group();
    if (!group)
        return;
    compareWith(*group, ReferenceName::group(*group));
}
