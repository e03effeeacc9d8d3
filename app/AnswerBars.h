#pragma once
// answerBars: the answers to the five statements of one index as diverging stacked bars, one bar
// per statement. Disagreement (answers 1 and 2) runs to the left of the centre line, agreement (4
// and 5) to the right, and the neutral answer 3 is split in half across the centre line. Each part
// is labelled with its share of the statement's answers where it has room; the axis reads shares in
// per cent on both sides. The counts are of the answers given (not the scores); a negatively worded
// statement is labelled "Утв. 15 (*)".

#include <QList>
#include <QRectF>
#include <QWidget>

#include <array>

class AnswerBars : public QWidget
{
    Q_OBJECT
public:
    struct Bar
    {
        int statement = 0;               // 1 to 60
        std::array<qsizetype, 5> counts{}; // members who answered 1 to 5
    };

    explicit AnswerBars(QWidget *parent = nullptr);

    // The bars, top to bottom, and the caption above them.
    void setBars(const QString &title, const QList<Bar> &bars);
    const QList<Bar> &bars() const { return m_bars; }
    QString title() const { return m_title; }

    // The shares of answers 1 to 5 among a bar's answers (all 0 when there are none).
    static std::array<double, 5> shares(const std::array<qsizetype, 5> &counts);
    // The label of a share: whole per cent ("23%").
    static QString shareText(double share);

    // Where bar b's parts are drawn at the widget's present size, in the order left half of 3, 2, 1,
    // right half of 3, 4, 5 (empty rectangles for parts with no answers); and the centre line's x.
    std::array<QRectF, 6> partRects(int b) const;
    qreal centreX() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct Layout
    {
        QRectF plot;     // the area of the bars
        qreal centre = 0;
        qreal unit = 0;  // pixels per whole share (100 %)
        qreal axisMax = 1; // the largest share each side of the axis
        qreal rowHeight = 0;
    };
    Layout layout() const;
    QRectF barBand(const Layout &l, int b) const;
    int barAt(const QPoint &point) const;

    QString m_title;
    QList<Bar> m_bars;
};
