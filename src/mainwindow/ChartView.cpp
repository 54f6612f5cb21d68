#include "mainwindow/ChartView.h"

#include <algorithm>
#include <cmath>
#include <string>

#include <QLocale>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>

#include "core/evaluation/NumberRules.h"
#include "mainwindow/LocaleEnvironment.h"

namespace parvane::mainwindow {

namespace {

constexpr double kLeft = 8;
constexpr double kRight = 64; // room for the price labels
constexpr double kTop = 24;   // room for the title
constexpr double kBottom = 20;
constexpr double kVolumeShare = 0.22;

const QColor kFrameColour(0xc8, 0xc8, 0xc8);

} // namespace

ChartView::ChartView(QWidget* parent)
    : QWidget(parent)
{
    setMinimumSize(320, 200);
    setAutoFillBackground(false);
}

void ChartView::setModel(std::optional<scan::ChartModel> model, QString title)
{
    m_model = std::move(model);
    m_title = std::move(title);
    m_separator = LocaleEnvironment(QLocale()).decimalSeparator();
    if (m_model && !m_model->bars.empty()) {
        m_low = m_model->lowest();
        m_high = m_model->highest();
        if (m_model->hasLastBar) {
            m_low = std::min(m_low, m_model->lastClose);
            m_high = std::max(m_high, m_model->lineAt(m_model->lastBar));
            m_low = std::min(m_low, m_model->lineAt(m_model->lastBar));
        }
        const double pad = std::max((m_high - m_low) * 0.08, std::fabs(m_high) * 0.005 + 1e-9);
        m_low -= pad;
        m_high += pad;
    }
    update();
}

void ChartView::setEmptyText(QString text)
{
    m_emptyText = std::move(text);
    update();
}

double ChartView::firstPosition() const
{
    return m_model && !m_model->bars.empty() ? m_model->bars.front().position - 1 : 0;
}

double ChartView::lastPosition() const
{
    if (!m_model || m_model->bars.empty())
        return 1;
    return std::max(m_model->bars.back().position, m_model->lastBar) + 2;
}

QRectF ChartView::pricePane() const
{
    const double full = height() - kTop - kBottom;
    const double share = m_model && m_model->showVolumes ? 1 - kVolumeShare : 1;
    return {kLeft, kTop, width() - kLeft - kRight, full * share};
}

QRectF ChartView::volumePane() const
{
    if (!m_model || !m_model->showVolumes)
        return {};
    const QRectF prices = pricePane();
    const double top = prices.bottom() + 6;
    return {kLeft, top, prices.width(), height() - kBottom - top};
}

QPointF ChartView::toPixel(double position, double value) const
{
    const QRectF pane = pricePane();
    const double x =
        pane.left() + (position - firstPosition()) / (lastPosition() - firstPosition()) * pane.width();
    const double y = pane.bottom() - (value - m_low) / (m_high - m_low) * pane.height();
    return {x, y};
}

QString ChartView::priceText(double value, char separator)
{
    return QString::fromStdString(evaluation::formatFixed2(value, separator));
}

QString ChartView::dateText(const std::string& yyyymmdd)
{
    const QString date = QString::fromLatin1(yyyymmdd.data(), static_cast<qsizetype>(yyyymmdd.size()));
    if (date.size() != 10 || date[4] != QLatin1Char('/') || date[7] != QLatin1Char('/'))
        return date;
    return date.mid(8, 2) + QLatin1Char('/') + date.mid(5, 2) + QLatin1Char('/') + date.left(4);
}

QString ChartView::summaryText(const scan::ChartModel& model, char separator)
{
    QString text =
        QStringLiteral("dernier %1, ecart %2 %")
            .arg(priceText(model.lastClose, separator),
                 QString::fromStdString(evaluation::formatFixed2(std::fabs(model.gapPercent), separator)));
    if (model.crossing)
        text += QStringLiteral(", croisement");
    return text;
}

std::array<double, 3> ChartView::labelValues() const
{
    return {m_low, (m_low + m_high) / 2, m_high};
}

QStringList ChartView::texts() const
{
    QStringList shown{m_title};
    if (!m_model || m_model->bars.empty())
        return shown;
    for (const double value : labelValues())
        shown << priceText(value, m_separator);
    if (m_model->hasLastBar)
        shown << summaryText(*m_model, m_separator);
    shown << dateText(m_model->bars.front().date) << dateText(m_model->bars.back().date);
    return shown;
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(painter);
    if (!m_model || m_model->bars.empty()) {
        painter.drawText(pricePane(), Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
        return;
    }
    drawPriceLabels(painter);
    painter.save();
    painter.setClipRect(pricePane());
    drawCloses(painter);
    drawTrendLine(painter);
    drawLastBar(painter);
    painter.restore();
    drawSummary(painter);
    drawVolumes(painter);
    drawDates(painter);
}

void ChartView::drawFrame(QPainter& painter) const
{
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kFrameColour, 1));
    painter.drawRect(pricePane());
    painter.setPen(Qt::black);
    painter.drawText(QRectF(kLeft, 2, width() - kLeft - kRight, kTop - 4), Qt::AlignLeft | Qt::AlignVCenter,
                     m_title);
}

void ChartView::drawPriceLabels(QPainter& painter) const
{
    // On the right of the pane, where the last bars end.
    const QRectF pane = pricePane();
    painter.setPen(Qt::darkGray);
    for (const double value : labelValues()) {
        const QPointF at = toPixel(lastPosition(), value);
        painter.drawText(QRectF(pane.right() + 4, at.y() - 8, kRight - 6, 16),
                         Qt::AlignLeft | Qt::AlignVCenter, priceText(value, m_separator));
    }
}

void ChartView::drawCloses(QPainter& painter) const
{
    // A one-pixel pen: a wider smoothed stroke of a few hundred points costs some forty times more
    // to draw, and the chart must follow the selection without a visible delay.
    QPolygonF closes;
    closes.reserve(static_cast<qsizetype>(m_model->bars.size()));
    for (const scan::ChartBar& bar : m_model->bars)
        closes.append(toPixel(bar.position, bar.close));
    painter.setPen(QPen(QColor::fromRgb(kCloseColour), 1));
    painter.drawPolyline(closes);
}

void ChartView::drawTrendLine(QPainter& painter) const
{
    const scan::ChartModel& model = *m_model;
    painter.setPen(QPen(QColor::fromRgb(kLineColour), 2));
    painter.drawLine(toPixel(firstPosition(), model.lineAt(firstPosition())),
                     toPixel(lastPosition(), model.lineAt(lastPosition())));
    painter.setPen(QPen(QColor::fromRgb(kAnchorColour), 2));
    painter.setBrush(QColor::fromRgb(kAnchorColour));
    for (const double anchor : {model.firstAnchor, model.secondAnchor}) {
        if (anchor >= firstPosition() && anchor <= lastPosition())
            painter.drawEllipse(toPixel(anchor, model.lineAt(anchor)), 5, 5);
    }
}

void ChartView::drawLastBar(QPainter& painter) const
{
    // The last close, its gap to the line, and a cross where the price went through the line.
    const scan::ChartModel& model = *m_model;
    if (!model.hasLastBar)
        return;
    const QPointF close = toPixel(model.lastBar, model.lastClose);
    const QPointF onLine = toPixel(model.lastBar, model.lineAt(model.lastBar));
    painter.setPen(QPen(QColor::fromRgb(kGapColour), 2, Qt::DashLine));
    painter.drawLine(close, onLine);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(close, 4, 4);
    if (model.crossing) {
        painter.setPen(QPen(QColor::fromRgb(kCrossingColour), 3));
        painter.drawLine(onLine + QPointF(-8, -8), onLine + QPointF(8, 8));
        painter.drawLine(onLine + QPointF(-8, 8), onLine + QPointF(8, -8));
    }
}

void ChartView::drawSummary(QPainter& painter) const
{
    // In the pane's top left corner, where it never hides the last bars.
    if (!m_model->hasLastBar)
        return;
    const QString summary = summaryText(*m_model, m_separator);
    const QRectF box =
        painter.boundingRect(pricePane().adjusted(4, 4, -4, -4), Qt::AlignLeft | Qt::AlignTop, summary)
            .adjusted(-3, -1, 3, 1);
    painter.setPen(QPen(kFrameColour, 1));
    painter.setBrush(QColor::fromRgb(kBackground));
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, summary);
}

void ChartView::drawVolumes(QPainter& painter) const
{
    const scan::ChartModel& model = *m_model;
    if (!model.showVolumes)
        return;
    const QRectF volumes = volumePane();
    painter.setPen(QPen(kFrameColour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(volumes);
    double most = 0;
    for (const scan::ChartBar& bar : model.bars)
        most = std::max(most, bar.volume);
    if (most <= 0)
        return;
    const double step = pricePane().width() / (lastPosition() - firstPosition());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(kVolumeColour));
    for (const scan::ChartBar& bar : model.bars) {
        const double h = bar.volume / most * (volumes.height() - 2);
        const double x = toPixel(bar.position, 0).x();
        painter.drawRect(
            QRectF(x - std::max(step * 0.35, 0.5), volumes.bottom() - h, std::max(step * 0.7, 1.0), h));
    }
}

void ChartView::drawDates(QPainter& painter) const
{
    // The first and the last dates under the pane.
    painter.setPen(Qt::darkGray);
    const QRectF dates(kLeft, height() - kBottom + 2, pricePane().width(), kBottom - 4);
    painter.drawText(dates, Qt::AlignLeft | Qt::AlignVCenter, dateText(m_model->bars.front().date));
    painter.drawText(dates, Qt::AlignRight | Qt::AlignVCenter, dateText(m_model->bars.back().date));
}

} // namespace parvane::mainwindow
