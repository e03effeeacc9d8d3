#include "QuestionnaireForm.h"

#include "CsvTable.h"
#include "FileOutput.h"
#include "PdfDocument.h"

#include <QFontMetricsF>
#include <QPainter>

#include <functional>
#include <vector>

namespace QuestionnaireForm {
namespace {

// In points of the page.
constexpr qreal NumberWidth = 24;   // the statement's number
constexpr qreal BoxColumn = 26;     // the width of each of the five answer columns
constexpr qreal BoxSize = 11;
constexpr qreal RowPadding = 5;
constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

QFont formFont(qreal points, bool bold = false) { return PdfDocument::font(points, bold); }

// A piece of the form from top to bottom.
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

// The questionnaire as the document's content: laid out once to count the pages, then drawn; every
// block says how high it is and draws itself at a place.
class FormContent final : public PdfDocument::Content
{
public:
    FormContent(const Questionnaire::Captions &captions, bool asksName) : m_captions(captions), m_asksName(asksName) {}

    int layOut(QPaintDevice *device, const QRectF &, const QRectF &body) override;
    void drawPage(QPainter &painter, int k) override
    {
        if (k > 0)
            m_drawCode(painter);
        for (const Placed &item : m_placed) {
            if (item.page != k + 1)
                continue;
            painter.setPen(Qt::black);
            if (item.head)
                m_drawHead(painter, item.top - m_headHeight);
            item.block->draw(painter, item.top);
        }
    }

private:
    // The space the code field takes at the top of every page after the first.
    static constexpr qreal CodeHeight = 28;
    struct Placed
    {
        const Block *block;
        int page;
        qreal top;
        bool head; // the column heads come before it
    };

    const Questionnaire::Captions &m_captions;
    bool m_asksName;
    std::vector<Block> m_blocks;
    std::vector<Placed> m_placed;
    qreal m_headHeight = 0; // the column heads of the statement table
    std::function<void(QPainter &, qreal top)> m_drawHead;
    std::function<void(QPainter &)> m_drawCode;
};

int FormContent::layOut(QPaintDevice *device, const QRectF &, const QRectF &body)
{
    const Questionnaire::Captions &captions = m_captions;
    const Layout layout(device, body);
    const qreal boxesLeft = body.right() - 5 * BoxColumn;
    const qreal textLeft = body.left() + NumberWidth;
    const qreal textWidth = boxesLeft - textLeft - 8;

    // The blocks from top to bottom.
    m_blocks.clear();
    const QFont titleFont = formFont(15, true);
    const QString title = Questionnaire::title();
    m_blocks.push_back({layout.textHeight(title, titleFont, body.width()) + 8, [=](QPainter &p, qreal top) {
                          p.setFont(titleFont);
                          p.drawText(QRectF(body.left(), top, body.width(), 1e4), TextFlags, title);
                      }});
    const QFont textFont = formFont(10);
    for (const QString &paragraph : Questionnaire::instruction()) {
        const qreal height = layout.textHeight(paragraph, textFont, body.width());
        m_blocks.push_back({height + 5, [=](QPainter &p, qreal top) {
                              p.setFont(textFont);
                              p.drawText(QRectF(body.left(), top, body.width(), height + 1), TextFlags, paragraph);
                          }});
    }
    // The header fields: a caption and a line to write on. An anonymous survey asks no name.
    QStringList fields{Questionnaire::dateCaption(), Questionnaire::codeCaption()};
    if (m_asksName)
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
    m_blocks.push_back({6, [](QPainter &, qreal) {}});
    for (const QString &field : std::as_const(fields)) {
        const qreal height = std::max<qreal>(20, layout.textHeight(field + u':', textFont, captionWidth) + 8);
        m_blocks.push_back({height, [=](QPainter &p, qreal top) {
                              drawField(p, QRectF(body.left(), top, body.width(), height), captionWidth, field);
                          }});
    }
    m_blocks.push_back({12, [](QPainter &, qreal) {}});
    // The statements, a row each; the rows of odd statements are shaded.
    const QFont numberFont = formFont(10, true);
    for (int s = 1; s <= Resource::StatementCount; ++s) {
        const QString text = Questionnaire::statementText(s);
        const qreal height = std::max(layout.textHeight(text, textFont, textWidth), BoxSize) + 2 * RowPadding;
        m_blocks.push_back({height,
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
    m_blocks.push_back({thanksHeight + 16, [=](QPainter &p, qreal top) {
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
    constexpr qreal NumbersHeight = 18;
    m_headHeight = scaleHeight + NumbersHeight;
    m_drawHead = [=](QPainter &p, qreal top) {
        p.setPen(Qt::black);
        p.setFont(scaleFont);
        p.drawText(QRectF(body.left(), top, body.width(), scaleHeight), TextFlags, scale);
        top += scaleHeight;
        p.setFont(headFont);
        p.drawText(QRectF(body.left(), top, NumberWidth - 4, NumbersHeight), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("№"));
        p.drawText(QRectF(textLeft, top, textWidth, NumbersHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Утверждение"));
        for (int a = 1; a <= Questionnaire::AnswerCount; ++a)
            p.drawText(QRectF(boxesLeft + (a - 1) * BoxColumn, top, BoxColumn, NumbersHeight), Qt::AlignCenter,
                       QString::number(a));
        p.setPen(QPen(Qt::black, 0.5));
        p.drawLine(QPointF(body.left(), top + NumbersHeight), QPointF(body.right(), top + NumbersHeight));
    };
    // Every page after the first begins with the respondent's code, so that loose pages find their
    // respondent again.
    m_drawCode = [=](QPainter &p) {
        const qreal width = body.width() * 0.45;
        drawField(p, QRectF(body.right() - width, body.top(), width, 20), 36, Questionnaire::codeCaption());
    };

    // Pages: a block that does not fit the rest of the page starts the next one.
    m_placed.clear();
    int pageCount = 1;
    qreal pageTop = body.top();
    qreal y = pageTop;
    bool headDone = false;
    for (const Block &block : m_blocks) {
        const bool head = block.tableRow && !headDone;
        const qreal needed = block.height + (head ? m_headHeight : 0);
        if (y + needed > body.bottom() && y > pageTop) {
            ++pageCount;
            pageTop = body.top() + CodeHeight;
            y = pageTop;
        }
        const bool headHere = block.tableRow && (!headDone || y == pageTop);
        if (headHere)
            y += m_headHeight;
        m_placed.push_back({&block, pageCount, y, headHere});
        headDone = headDone || block.tableRow;
        y += block.height;
    }
    return pageCount;
}

} // namespace

Outcome<QByteArray> render(const Questionnaire::Captions &captions, bool asksName)
{
    FormContent content(captions, asksName);
    return PdfDocument::render(content, Questionnaire::title());
}

Outcome<> write(const QString &path, const Questionnaire::Captions &captions, bool asksName)
{
    FormContent content(captions, asksName);
    return PdfDocument::write(path, content, Questionnaire::title());
}

Outcome<> paint(QPagedPaintDevice &device, const Questionnaire::Captions &captions, bool asksName, int copies)
{
    FormContent content(captions, asksName);
    return PdfDocument::paint(device, content, copies);
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
