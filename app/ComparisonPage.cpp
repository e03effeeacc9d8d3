#include "ComparisonPage.h"

#include "UnitPlot.h"

#include "AnalysisWindow.h"
#include "ComparisonFigures.h"
#include "GroupArithmetic.h"
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
    return QStringLiteral("%1 (%2 анкет)").arg(name).arg(count);
}

} // namespace

ComparisonPage::ComparisonPage(TForm1 &window, UserPrompts &prompts, QWidget *parent)
    : QWidget(parent)
    , m_window(window)
    , m_prompts(prompts)
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
    connect(m_on, &QCheckBox::toggled, this, [this](bool on) {
        if (on && m_last)
            m_window.setReference(m_last, m_lastName);
        else if (!on)
            m_window.setReference(std::nullopt, QString());
        refresh();
    });
    refresh();
}

void ComparisonPage::showEvent(QShowEvent *event)
{
    // The threshold may have changed on the "Сегменты" page since, the profile shown too.
    fillSegments();
    m_figures->setProfiles(m_window.profile(), m_window.reference());
    QWidget::showEvent(event);
}

void ComparisonPage::refresh()
{
    fillSegments();
    const std::optional<Profile> &reference = m_window.reference();
    if (reference) {
        m_last = reference;
        m_lastName = m_window.referenceName();
    }
    const QSignalBlocker blocker(m_on);
    m_on->setChecked(reference.has_value());
    m_on->setEnabled(m_last.has_value());
    m_name->setText(reference ? QStringLiteral("Эталон: ") + m_lastName
                              : m_last ? QStringLiteral("Сравнение выключено (эталон: %1)").arg(m_lastName)
                                       : QStringLiteral("Эталон не выбран"));
    m_figures->setProfiles(m_window.profile(), reference);
}

void ComparisonPage::compareWith(Profile reference, const QString &name)
{
    m_last = reference;
    m_lastName = name;
    m_window.setReference(std::move(reference), name);
    refresh();
}

QString ComparisonPage::askForFile(const QString &title)
{
    FileDialogSettings dialog;
    dialog.title = title;
    dialog.filter = QStringLiteral("CRY Files (*.cry)|*.cry");
    dialog.initialDir = m_window.dataFolder();
    return m_prompts.openFile(this, dialog);
}

void ComparisonPage::chooseFile()
{
    const QString chosen = askForFile(QStringLiteral("Эталон: файл результатов"));
    if (chosen.isEmpty())
        return;
    Outcome<Profile> loaded = ProfileLoader::loadFile(chosen, m_window.resultKey());
    if (!loaded) {
        m_prompts.showError(this, TForm1::applicationTitle(), loaded.message());
        return;
    }
    const QString name = loaded->header.name.isEmpty() ? QFileInfo(chosen).fileName() : loaded->header.name;
    compareWith(std::move(loaded).value(), name);
}

void ComparisonPage::chooseFolder()
{
    const QString chosen = askForFile(QStringLiteral("Эталон: любой файл в папке группы"));
    if (chosen.isEmpty())
        return;
    const QString folder = ResultFolder::folderOf(chosen);
    ProfileLoader::FolderOptions options;
    options.key = m_window.resultKey();
    Outcome<ProfileLoader::GroupLoad> loaded = ProfileLoader::loadFolder(folder, options);
    if (!loaded) {
        m_prompts.showError(this, TForm1::applicationTitle(), loaded.message());
        return;
    }
    const QString name = withCount(QFileInfo(QDir::cleanPath(folder)).fileName(), loaded->profile.respondentCount());
    compareWith(std::move(loaded).value().profile, name);
}

// The segments offered are those the analysis shows at its anonymity threshold: a segment whose
// scores the heat map hides is no reference either.
QList<SegmentsTable::Segment> ComparisonPage::shownSegments() const
{
    const Profile *group = m_window.group();
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
    m_segment->clear();
    for (const SegmentsTable::Segment &segment : shownSegments())
        m_segment->addItem(withCount(segment.name, segment.size()), segment.name);
}

void ComparisonPage::useSegment()
{
    const Profile *group = m_window.group();
    if (!group || m_segment->currentIndex() < 0)
        return;
    const QString chosen = m_segment->currentData().toString();
    for (const SegmentsTable::Segment &segment : shownSegments()) {
        if (segment.name != chosen)
            continue;
        compareWith(ProfileLoader::groupProfile(group->members, group->source, segment.members, segment.name),
                    m_segment->currentText());
        return;
    }
}

void ComparisonPage::useGroup()
{
    const Profile *group = m_window.group();
    if (!group)
        return;
    compareWith(*group, withCount(ProfileText::groupName(), group->respondentCount()));
}
