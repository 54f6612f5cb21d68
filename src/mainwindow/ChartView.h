#pragma once

#include <array>
#include <optional>
#include <string>

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "core/scan/ChartModel.h"

class QPainter;

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

    // Shows `model` under `title`; its numbers take the decimal separator of the default locale
    // (the system's unless a program sets another), as the results list shows them.
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

    // The texts drawn with a model, in drawing order: the title, the price labels from the lowest
    // up, the last close and its gap, the first and the last dates.
    QStringList texts() const;

    // A price of the chart: two decimals, `separator` as the decimal point, no digit grouping.
    static QString priceText(double value, char separator);
    // "dd/mm/yyyy" from a bar's "yyyy/mm/dd"; any other text as it is.
    static QString dateText(const std::string& yyyymmdd);
    // "dernier 9033,08, ecart 0,43 %", then ", croisement" when the line was crossed. The gap is
    // unsigned, as the list shows it.
    static QString summaryText(const scan::ChartModel& model, char separator);

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
    // The values of the price labels: the lowest, the middle and the highest of the pane.
    std::array<double, 3> labelValues() const;

    void drawFrame(QPainter& painter) const;
    void drawPriceLabels(QPainter& painter) const;
    void drawCloses(QPainter& painter) const;
    void drawTrendLine(QPainter& painter) const;
    void drawLastBar(QPainter& painter) const;
    void drawSummary(QPainter& painter) const;
    void drawVolumes(QPainter& painter) const;
    void drawDates(QPainter& painter) const;

    std::optional<scan::ChartModel> m_model;
    QString m_title;
    QString m_emptyText;
    double m_low = 0;
    double m_high = 1;
    char m_separator = '.';
};

} // namespace parvane::mainwindow
