#pragma once
// The "Сравнение" page of the group analysis: chooses the profile the shown one is compared with
// (another result file, another folder, a segment of the group, or the whole group while one of its
// members is shown) and turns the comparison on and off. It shows and sets the session's reference;
// under it, the figures of the comparison in force (ComparisonFigures).

#include "Profile.h"
#include "SegmentsTable.h"
#include "Session.h"
#include "UserPrompts.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class ComparisonFigures;

class ComparisonPage : public QWidget
{
    Q_OBJECT
public:
    struct Options
    {
        UserPrompts *prompts = nullptr;
        QString dataFolder;       // where the file dialogs start
        QString caption;          // of the messages
        int groupProgressDelay = 500; // milliseconds a folder is read before its progress shows
    };

    ComparisonPage(Session &session, Options options, QWidget *parent);

    // Shows the reference in force, or the one chosen last while the comparison is off.
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

    Session &m_session;
    Options m_options;
    QCheckBox *m_on = nullptr;
    QLabel *m_name = nullptr;
    QComboBox *m_splitBy = nullptr;
    QComboBox *m_segment = nullptr;
    ComparisonFigures *m_figures = nullptr;
};
