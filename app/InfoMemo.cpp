#include "InfoMemo.h"

#include "Resource.h"
#include "Session.h"

#include "Fonts.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

InfoMemo::InfoMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("meInfo"));
    setFont(Fonts::pixelFont(Fonts::memoFamily(), 16));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
}

void InfoMemo::setLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + u'\n';
    text.replace(CrLf, QStringLiteral("\n"));
    setUpdatesEnabled(false);
    setPlainText(text);
    setUpdatesEnabled(true);
}

QString InfoMemo::text() const
{
    QString text = toPlainText();
    text.replace(u'\n', CrLf);
    return text;
}

void InfoMemo::follow(const Session &session)
{
    connect(&session, &Session::profileChanged, this, [this] { setLines(Resource::indexStatements(1)); });
}
