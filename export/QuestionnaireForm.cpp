#include "QuestionnaireForm.h"

#include "CsvTable.h"
#include "FileOutput.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

namespace QuestionnaireForm {
namespace {

// Points: the writer works at 72 dots per inch, so one unit is one point of the A4 page.
constexpr int Resolution = 72;
constexpr qreal Margin = 40;
constexpr qreal FooterHeight = 24;
constexpr qreal NumberWidth = 24;   // the statement's number
constexpr qreal BoxColumn = 26;     // the width of each of the five answer columns
constexpr qreal BoxSize = 11;
constexpr qreal RowPadding = 5;
constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

QFont formFont(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The page is laid out once to count the pages, then drawn: every block says how high it is and
// draws itself at a place.
struct Block
{
    qreal height;
    std::function<void(QPainter &, qreal top)> draw;
    bool tableRow = false; // a statement: the table's column heads come first on a new page
};

class Layout
{
public:
    Layout(QPaintDevice *device, const QRectF &body) : m_device(device), m_body(body) {}

    qreal textHeight(const QString &text, const QFont &font, qreal width) const
    {
        return QFontMetricsF(font, m_device).boundingRect(QRectF(0, 0, width, 1e6), TextFlags, text).height();
    }

    const QRectF &body() const { return m_body; }

private:
    QPaintDevice *m_device;
    QRectF m_body;
};

void drawBox(QPainter &painter, qreal centreX, qreal top)
{
    painter.drawRect(QRectF(centreX - BoxSize / 2, top, BoxSize, BoxSize));
}

} // namespace

Outcome<QByteArray> render(const Questionnaire::Captions &captions, bool asksName)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(Resolution);
        writer.setTitle(Questionnaire::title());
        writer.setCreator(QStringLiteral("ZOLK Plot"));
        if (const Outcome<> painted = paint(writer, captions, asksName); !painted)
            return Outcome<QByteArray>::failed(painted.message());
    }
    return buffer.data();
}

Outcome<> paint(QPagedPaintDevice &device, const Questionnaire::Captions &captions, bool asksName, int copies)
{
    const QRectF page(0, 0, device.width(), device.height());
    const QRectF body = page.adjusted(Margin, Margin, -Margin, -Margin - FooterHeight);
    const Layout layout(&device, body);
    const qreal boxesLeft = body.right() - 5 * BoxColumn;
    const qreal textLeft = body.left() + NumberWidth;
    const qreal textWidth = boxesLeft - textLeft - 8;

    // The blocks from top to bottom.
    std::vector<Block> blocks;
    const QFont titleFont = formFont(15, true);
    const QString title = Questionnaire::title();
    blocks.push_back({layout.textHeight(title, titleFont, body.width()) + 8, [=](QPainter &p, qreal top) {
                          p.setFont(titleFont);
                          p.drawText(QRectF(body.left(), top, body.width(), 1e4), TextFlags, title);
                      }});
    const QFont textFont = formFont(10);
    for (const QString &paragraph : Questionnaire::instruction()) {
        const qreal height = layout.textHeight(paragraph, textFont, body.width());
        blocks.push_back({height + 5, [=](QPainter &p, qreal top) {
                              p.setFont(textFont);
                              p.drawText(QRectF(body.left(), top, body.width(), height + 1), TextFlags, paragraph);
                          }});
    }
    // The header fields: a caption and a line to write on.
    QStringList fields{Questionnaire::dateCaption(), Questionnaire::codeCaption()};
    if (asksName)
        fields << Questionnaire::nameCaption();
    for (const QString &caption : captions)
        if (!caption.trimmed().isEmpty())
            fields << caption.trimmed();
    const qreal captionWidth = body.width() * 0.32;
    const auto drawField = [=](QPainter &p, const QRectF &where, qreal labelWidth, const QString &caption) {
        p.setPen(Qt::black);
        p.setFont(textFont);
        p.drawText(QRectF(where.left(), where.top() + 4, labelWidth, where.height()), TextFlags, caption + u':');
        p.setPen(QPen(Qt::black, 0.5));
        p.drawLine(QPointF(where.left() + labelWidth + 6, where.bottom() - 4), QPointF(where.right(), where.bottom() - 4));
    };
    blocks.push_back({6, [](QPainter &, qreal) {}});
    for (const QString &field : std::as_const(fields)) {
        const qreal height = std::max<qreal>(20, layout.textHeight(field + u':', textFont, captionWidth) + 8);
        blocks.push_back({height, [=](QPainter &p, qreal top) {
                              drawField(p, QRectF(body.left(), top, body.width(), height), captionWidth, field);
                          }});
    }
    blocks.push_back({12, [](QPainter &, qreal) {}});
    // The statements, a row each; the rows of odd statements are shaded.
    const QFont numberFont = formFont(10, true);
    for (int s = 1; s <= Resource::StatementCount; ++s) {
        const QString text = Questionnaire::statementText(s);
        const qreal height = std::max(layout.textHeight(text, textFont, textWidth), BoxSize) + 2 * RowPadding;
        blocks.push_back({height,
                          [=](QPainter &p, qreal top) {
                              if (s % 2 == 1)
                                  p.fillRect(QRectF(body.left(), top, body.width(), height), QColor(238, 238, 238));
                              p.setPen(Qt::black);
                              p.setFont(numberFont);
                              p.drawText(QRectF(body.left(), top + RowPadding, NumberWidth - 4, height), Qt::AlignRight | Qt::AlignTop,
                                         QString::number(s) + u'.');
                              p.setFont(textFont);
                              p.drawText(QRectF(textLeft, top + RowPadding, textWidth, height), TextFlags, text);
                              p.setPen(QPen(Qt::black, 0.8));
                              p.setBrush(Qt::white);
                              for (int a = 0; a < Questionnaire::AnswerCount; ++a)
                                  drawBox(p, boxesLeft + (a + 0.5) * BoxColumn, top + RowPadding + 1);
                              p.setBrush(Qt::NoBrush);
                          },
                          true});
    }
    // The thanks below the last statement.
    const QFont thanksFont = formFont(11, true);
    const QString thanks = Questionnaire::thanks();
    const qreal thanksHeight = layout.textHeight(thanks, thanksFont, body.width());
    blocks.push_back({thanksHeight + 16, [=](QPainter &p, qreal top) {
                          p.setPen(Qt::black);
                          p.setFont(thanksFont);
                          p.drawText(QRectF(body.left(), top + 16, body.width(), thanksHeight + 1), TextFlags | Qt::AlignHCenter,
                                     thanks);
                      }});
    // The column heads of the statement table, above its first row on every page: the scale's words,
    // then the answers' numbers over their boxes.
    const QFont headFont = formFont(9, true);
    const QFont scaleFont = formFont(8);
    const QString scale = Questionnaire::scaleLine();
    const qreal scaleHeight = layout.textHeight(scale, scaleFont, body.width()) + 4;
    const qreal numbersHeight = 18;
    const qreal headHeight = scaleHeight + numbersHeight;
    const auto drawHead = [=](QPainter &p, qreal top) {
        p.setPen(Qt::black);
        p.setFont(scaleFont);
        p.drawText(QRectF(body.left(), top, body.width(), scaleHeight), TextFlags, scale);
        top += scaleHeight;
        p.setFont(headFont);
        p.drawText(QRectF(body.left(), top, NumberWidth - 4, numbersHeight), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("№"));
        p.drawText(QRectF(textLeft, top, textWidth, numbersHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Утверждение"));
        for (int a = 1; a <= Questionnaire::AnswerCount; ++a)
            p.drawText(QRectF(boxesLeft + (a - 1) * BoxColumn, top, BoxColumn, numbersHeight), Qt::AlignCenter,
                       QString::number(a));
        p.setPen(QPen(Qt::black, 0.5));
        p.drawLine(QPointF(body.left(), top + numbersHeight), QPointF(body.right(), top + numbersHeight));
    };
    // Every page after the first begins with the respondent's code, so that loose pages find their
    // respondent again.
    const qreal codeHeight = 28;
    const auto drawCode = [=](QPainter &p) {
        const qreal width = body.width() * 0.45;
        drawField(p, QRectF(body.right() - width, body.top(), width, 20), 36, Questionnaire::codeCaption());
    };

    // Pages: a block that does not fit the rest of the page starts the next one.
    struct Placed
    {
        const Block *block;
        int page;
        qreal top;
        bool head; // the column heads come before it
    };
    std::vector<Placed> placed;
    int pageCount = 1;
    qreal pageTop = body.top();
    qreal y = pageTop;
    bool headDone = false;
    for (const Block &block : blocks) {
        const bool head = block.tableRow && !headDone;
        const qreal needed = block.height + (head ? headHeight : 0);
        if (y + needed > body.bottom() && y > pageTop) {
            ++pageCount;
            pageTop = body.top() + codeHeight;
            y = pageTop;
        }
        const bool headHere = block.tableRow && (!headDone || y == pageTop);
        if (headHere)
            y += headHeight;
        placed.push_back({&block, pageCount, y, headHere});
        headDone = headDone || block.tableRow;
        y += block.height;
    }

    QPainter painter;
    if (!painter.begin(&device))
        return Outcome<>::failed(QCoreApplication::translate("Report", "The PDF writer could not start."));
    const auto footer = [&](int number) {
        painter.setPen(Qt::black);
        painter.setFont(formFont(9));
        painter.drawText(QRectF(page.left(), page.bottom() - Margin - FooterHeight / 2, page.width(), FooterHeight),
                         Qt::AlignCenter, QStringLiteral("Стр. %1 из %2").arg(number).arg(pageCount));
    };
    for (int copy = 0; copy < std::max(copies, 1); ++copy) {
        if (copy > 0)
            device.newPage();
        int current = 1;
        for (const Placed &item : placed) {
            if (item.page != current) {
                footer(current);
                device.newPage();
                current = item.page;
                drawCode(painter);
            }
            painter.setPen(Qt::black);
            if (item.head)
                drawHead(painter, item.top - headHeight);
            item.block->draw(painter, item.top);
        }
        footer(current);
    }
    if (!painter.end())
        return Outcome<>::failed(QCoreApplication::translate("Report", "The PDF writer could not finish."));
    return {};
}

Outcome<> write(const QString &path, const Questionnaire::Captions &captions, bool asksName)
{
    const Outcome<QByteArray> pdf = render(captions, asksName);
    if (!pdf)
        return Outcome<>::failed(FileOutput::cannotCreateMessage(path) + u'\n' + pdf.message());
    return FileOutput::write(path, *pdf);
}

QByteArray sheetTemplate(const Questionnaire::Captions &captions, const QLocale &locale, bool asksName)
{
    Table table;
    table.name = QStringLiteral("Ответы");
    table.columns = Questionnaire::sheetHeader(captions, asksName);
    return CsvTable::header(table, locale);
}

Outcome<> writeSheetTemplate(const QString &path, const Questionnaire::Captions &captions, const QLocale &locale,
                             bool asksName)
{
    return FileOutput::write(path, sheetTemplate(captions, locale, asksName));
}

} // namespace QuestionnaireForm
