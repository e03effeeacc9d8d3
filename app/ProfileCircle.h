#pragma once
// paPlot: the profile circle. The picture of the culture model, the transparent overlay with the
// profile polygon, the captions over the circle and the sixteen clickable value labels, all fed from
// the profile; CirclePicture says where everything goes and how it is drawn.

#include "BevelPanel.h"
#include "Profile.h"

#include <QFuture>
#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QWidget>

#include <array>
#include <optional>

class Session;

// imPlot: the drawing overlay. Its bitmap is cleared to white, and white shows the picture below.
class ProfileOverlay : public QWidget
{
    Q_OBJECT
public:
    explicit ProfileOverlay(QWidget *parent);

    // The drawing surface, created on first use with the overlay's size; it persists.
    QImage &bitmap();
    const QImage &bitmapImage() const { return m_bitmap; }
    // Call after drawing so that the screen shows the new bitmap.
    void commit();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_bitmap;
    QImage m_shown; // the bitmap with white made transparent
};

// A value label of the circle: transparent, sized to its text, reports clicks.
class PlotLabel : public QLabel
{
    Q_OBJECT
public:
    PlotLabel(int tag, QWidget *parent);
    int tag() const { return m_tag; }
    // Sets the text and resizes the label to it, keeping its left edge.
    void setTextKeepingLeft(const QString &text);
    void setBand(ScoreBand band);

signals:
    void clicked(PlotLabel *label);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_tag;
};

class ProfileCircleView : public BevelPanel
{
    Q_OBJECT
public:
    // The picture comes from decodePicture() started earlier, or is decoded here when none is given.
    explicit ProfileCircleView(QWidget *parent, QFuture<QImage> picture = {});

    // Starts decoding the picture of the culture model on a worker thread, so that the window can
    // build its other views meanwhile. Nothing is started (the future is then not valid) at a screen
    // ratio above 100 %, where the picture is drawn instead, or when no worker thread is free.
    static QFuture<QImage> decodePicture();

    // Shows every profile the session loads, with its band, captions and reference, and follows
    // their changes.
    void follow(const Session &session);
    // Draws the polygon of the profile and places, fills and colours the sixteen value labels.
    void showProfile(const Profile &profile, double band);
    // Draws a reference profile under the profile's polygon as a second, dashed polygon with a legend
    // naming both; null takes it away.
    void setReference(const Profile *reference, const QString &profileName, const QString &referenceName);
    // Recolours the labels from the texts they show; the polygon and the texts stay.
    void setBand(double overallMean, double band);
    // The captions over the circle: "code. name" and the date, cut to their room; whole in tooltips.
    void setCaptions(const QString &code, const QString &name, const QString &date);

    PlotLabel *label(int tag) const { return m_labels[std::size_t(tag)]; }
    // The grid cell that label tag selects: (column, row).
    static QPoint labelCell(int tag);

signals:
    void labelClicked(int tag);

private:
    void drawOverlay();

    IndexScores m_scores{};
    std::optional<IndexScores> m_reference;
    QString m_profileName;
    QString m_referenceName;
    QLabel *m_picture = nullptr;
    ProfileOverlay *m_overlay = nullptr;
    QLabel *m_info = nullptr;
    QLabel *m_date = nullptr;
    std::array<PlotLabel *, 16> m_labels{};
};
