#pragma once
// meInfo: the memo under the circle. It shows the statements of an index, the description of a
// trait, all statements or the analysis text, always as plain text; the user may edit it, and the
// analysis export saves whatever it holds.

#include <QPlainTextEdit>

class Session;

class InfoMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit InfoMemo(QWidget *parent);

    // Shows the statements of index 1 for every profile the session loads.
    void follow(const Session &session);

    // Replaces the text by lines, each ending with a line break; a line that holds CR LF breaks (the
    // summary) is several lines.
    void setLines(const QStringList &lines);
    // The text with CR LF line breaks, exactly as the memo holds it.
    QString text() const;
};
