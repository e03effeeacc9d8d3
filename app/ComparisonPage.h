#pragma once
// The "Сравнение" page of the group analysis: chooses the profile the shown one is compared with
// (another result file, another folder, a segment of the group, or the whole group while one of its
// members is shown) and turns the comparison on and off.

#include "Profile.h"
#include "UserPrompts.h"

#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;

class ComparisonPage : public QWidget
{
    Q_OBJECT
public:
    struct Window
    {
        UserPrompts *prompts = nullptr;
        QByteArray key;                                  // the result files' key
        std::function<QString()> dataFolder;             // where the open dialogs start
        std::function<const Profile *()> group;          // the loaded group, if any
        std::function<const std::optional<Profile> &()> reference;
        std::function<QString()> referenceName;
        std::function<void(std::optional<Profile>, const QString &)> setReference;
        std::function<void(const QString &)> reportError;
    };

    ComparisonPage(Window window, QWidget *parent);

    // Shows the reference in force; call when the window changed it.
    void refresh();

private:
    QString askForFile(const QString &title);
    void chooseFile();
    void chooseFolder();
    void useSegment();
    void useGroup();
    void fillSegments();
    void compareWith(Profile reference, const QString &name);

    Window m_window;
    QCheckBox *m_on = nullptr;
    QLabel *m_name = nullptr;
    QComboBox *m_splitBy = nullptr;
    QComboBox *m_segment = nullptr;
    std::optional<Profile> m_last; // the reference chosen last, for turning the comparison on again
    QString m_lastName;
};
