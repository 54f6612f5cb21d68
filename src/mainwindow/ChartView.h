#pragma once

#include <optional>

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include "core/scan/ChartModel.h"

namespace parvane::mainwindow {

// Draws the chart of one trend line with QPainter: the closes, the line over them with its
// anchors, the last close and its gap to the line, a crossing mark, and the volumes when the
// crossing asked for a rise of volume. Without a model it draws an empty frame and `emptyText`.
class ChartView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChartView)

public:
    explicit ChartView(QWidget* parent = nullptr);

    void setModel(std::optional<scan::ChartModel> model, QString title);

    void setEmptyText(QString text);

    const std::optional<scan::ChartModel>& model() const { return m_model; }

    const QString& emptyText() const { return m_emptyText; }

    // The pixel where a position of the line's unit and a price fall in the price pane, for the
    // widget's current size.
    QPointF toPixel(double position, double price) const;

    // The price pane and the volume pane (empty when the volumes are not shown).
    QRectF pricePane() const;
    QRectF volumePane() const;

    QSize sizeHint() const override { return {640, 360}; }

    // The colours of the drawing, so that a rendering can be checked.
    static constexpr QRgb kBackground = 0xffffffff;
    static constexpr QRgb kCloseColour = 0xff1f4e9c;
    static constexpr QRgb kLineColour = 0xffd02020;
    static constexpr QRgb kAnchorColour = 0xff1a8a2a;
    static constexpr QRgb kGapColour = 0xffe08000;
    static constexpr QRgb kCrossingColour = 0xffa000a0;
    static constexpr QRgb kVolumeColour = 0xff9a9a9a;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double firstPosition() const;
    double lastPosition() const;

    std::optional<scan::ChartModel> m_model;
    QString m_title;
    QString m_emptyText;
    double m_low = 0;
    double m_high = 1;
};

} // namespace parvane::mainwindow
