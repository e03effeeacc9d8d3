#pragma once
// The "Сравнение" page of the group analysis: chooses the profile the shown one is compared with
// (another result file, another folder, a segment of the group, or the whole group while one of its
// members is shown) and turns the comparison on and off; under it, the figures of the comparison
// (ComparisonFigures).

#include "Profile.h"
#include "SegmentsTable.h"
#include "UserPrompts.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class ComparisonFigures;
class TForm1;

class ComparisonPage : public QWidget
{
    Q_OBJECT
public:
    // window: the main window, whose group and reference the page shows and sets.
    ComparisonPage(TForm1 &window, UserPrompts &prompts, QWidget *parent);

    // Shows the reference in force; call when the window changed it.
    void refresh();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QList<SegmentsTable::Segment> shownSegments() const;
    QString askForFile(const QString &title);
    void chooseFile();
    void chooseFolder();
    void useSegment();
    void useGroup();
    void fillSegments();
    void compareWith(Profile reference, const QString &name);

    TForm1 &m_window;
    UserPrompts &m_prompts;
    QCheckBox *m_on = nullptr;
    QLabel *m_name = nullptr;
    QComboBox *m_splitBy = nullptr;
    QComboBox *m_segment = nullptr;
    ComparisonFigures *m_figures = nullptr; // the figures of the comparison in force
    std::optional<Profile> m_last; // the reference chosen last, for turning the comparison on again
    QString m_lastName;
};
