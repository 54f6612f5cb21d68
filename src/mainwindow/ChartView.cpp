#include "mainwindow/ChartView.h"

#include <algorithm>
#include <cmath>

#include <QLocale>
#include <QPainter>
#include <QPolygonF>

namespace parvane::mainwindow {

namespace {

constexpr double kLeft = 8;
constexpr double kRight = 64; // room for the price labels
constexpr double kTop = 24;   // room for the title
constexpr double kBottom = 20;
constexpr double kVolumeShare = 0.22;

QString price(double value)
{
    return QLocale().toString(value, 'f', value >= 100 ? 1 : 2);
}

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

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF pane = pricePane();
    painter.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), 1));
    painter.drawRect(pane);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(kLeft, 2, width() - kLeft - kRight, kTop - 4), Qt::AlignLeft | Qt::AlignVCenter,
                     m_title);
    if (!m_model || m_model->bars.empty()) {
        painter.drawText(pane, Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
        return;
    }
    const scan::ChartModel& model = *m_model;

    // Price labels on the right: the lowest, the highest and the middle of the pane.
    for (const double value : {m_low, (m_low + m_high) / 2, m_high}) {
        const QPointF at = toPixel(lastPosition(), value);
        painter.setPen(Qt::darkGray);
        painter.drawText(QRectF(pane.right() + 4, at.y() - 8, kRight - 6, 16),
                         Qt::AlignLeft | Qt::AlignVCenter, price(value));
    }

    painter.save();
    painter.setClipRect(pane);

    // A one-pixel pen: a wider smoothed stroke of a few hundred points costs some forty times more
    // to draw, and the chart must follow the selection without a visible delay.
    QPolygonF closes;
    closes.reserve(static_cast<qsizetype>(model.bars.size()));
    for (const scan::ChartBar& bar : model.bars)
        closes.append(toPixel(bar.position, bar.close));
    painter.setPen(QPen(QColor::fromRgb(kCloseColour), 1));
    painter.drawPolyline(closes);

    painter.setPen(QPen(QColor::fromRgb(kLineColour), 2));
    painter.drawLine(toPixel(firstPosition(), model.lineAt(firstPosition())),
                     toPixel(lastPosition(), model.lineAt(lastPosition())));

    painter.setPen(QPen(QColor::fromRgb(kAnchorColour), 2));
    painter.setBrush(QColor::fromRgb(kAnchorColour));
    for (const double anchor : {model.firstAnchor, model.secondAnchor}) {
        if (anchor >= firstPosition() && anchor <= lastPosition())
            painter.drawEllipse(toPixel(anchor, model.lineAt(anchor)), 5, 5);
    }

    if (model.hasLastBar) {
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
    painter.restore();

    if (model.hasLastBar) {
        // The gap in the pane's top left corner, where it never hides the last bars.
        QString gap = QStringLiteral("dernier %1, ecart %2 %")
                          .arg(price(model.lastClose), QLocale().toString(model.gapPercent, 'f', 2));
        if (model.crossing)
            gap += QStringLiteral(", croisement");
        const QRectF box =
            painter.boundingRect(pane.adjusted(4, 4, -4, -4), Qt::AlignLeft | Qt::AlignTop, gap)
                .adjusted(-3, -1, 3, 1);
        painter.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), 1));
        painter.setBrush(QColor::fromRgb(kBackground));
        painter.drawRect(box);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, gap);
    }

    if (model.showVolumes) {
        const QRectF volumes = volumePane();
        painter.setPen(QPen(QColor(0xc8, 0xc8, 0xc8), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(volumes);
        double most = 0;
        for (const scan::ChartBar& bar : model.bars)
            most = std::max(most, bar.volume);
        const double step = pane.width() / (lastPosition() - firstPosition());
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgb(kVolumeColour));
        for (const scan::ChartBar& bar : model.bars) {
            if (most <= 0)
                break;
            const double h = bar.volume / most * (volumes.height() - 2);
            const double x = toPixel(bar.position, 0).x();
            painter.drawRect(
                QRectF(x - std::max(step * 0.35, 0.5), volumes.bottom() - h, std::max(step * 0.7, 1.0), h));
        }
    }

    // The first and the last dates under the pane.
    painter.setPen(Qt::darkGray);
    const QRectF dates(kLeft, height() - kBottom + 2, pane.width(), kBottom - 4);
    painter.drawText(dates, Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromLatin1(model.bars.front().date.data(),
                                         static_cast<qsizetype>(model.bars.front().date.size())));
    painter.drawText(dates, Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromLatin1(model.bars.back().date.data(),
                                         static_cast<qsizetype>(model.bars.back().date.size())));
}

} // namespace parvane::mainwindow
