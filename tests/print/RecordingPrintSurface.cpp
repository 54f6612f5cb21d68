#include "RecordingPrintSurface.h"

#include <gtest/gtest.h>

#include "print/SystemPrinter.h"

namespace parvane::print::test {

std::vector<RecordedText> PrintRecording::textsOnPage(int page) const
{
    std::vector<RecordedText> result;
    for (const RecordedText& text : texts) {
        if (text.page == page)
            result.push_back(text);
    }
    return result;
}

RecordedText PrintRecording::find(const QString& text) const
{
    for (const RecordedText& recorded : texts) {
        if (recorded.text == text)
            return recorded;
    }
    ADD_FAILURE() << "nothing printed reads \"" << text.toStdString() << "\"";
    return {};
}

RecordingPrintSurface::RecordingPrintSurface(std::shared_ptr<PrintRecording> recording, double width,
                                             double height)
    : m_recording(std::move(recording))
    , m_width(width)
    , m_height(height)
{}

PrintStatus RecordingPrintSurface::setPaperSize(int code)
{
    if (code != kPaperCodeUser && !pageSizeForPaperCode(code))
        return PrintStatus::invalidPropertyValue();
    m_recording->events.append(QStringLiteral("paper %1").arg(code));
    return {};
}

PrintStatus RecordingPrintSurface::setOrientation(int code)
{
    if (code != 1 && code != 2)
        return PrintStatus::invalidPropertyValue();
    m_recording->events.append(QStringLiteral("orientation %1").arg(code));
    return {};
}

double RecordingPrintSurface::textWidth(const QString& text) const
{
    return static_cast<double>(text.size()) * m_font.size * 10;
}

double RecordingPrintSurface::textHeight(const QString& text) const
{
    (void)text;
    return m_font.size * 25;
}

void RecordingPrintSurface::printText(const QString& text)
{
    m_recording->events.append(QStringLiteral("text ") + text);
    m_recording->texts.push_back(RecordedText{m_recording->pages, m_x, m_y, m_font, text});
    m_y += textHeight(text);
    m_x = 0;
}

void RecordingPrintSurface::drawLine(double x1, double y1, double x2, double y2, const QColor& colour)
{
    m_recording->events.append(QStringLiteral("line"));
    m_recording->lines.push_back(RecordedLine{m_recording->pages, x1, y1, x2, y2, colour});
}

PrintStatus RecordingPrintSurface::newPage()
{
    if (failNewPageAt == m_recording->pages + 1)
        return PrintStatus::printerError();
    m_recording->events.append(QStringLiteral("newpage"));
    ++m_recording->pages;
    m_x = 0;
    m_y = 0;
    return {};
}

PrintStatus RecordingPrintSurface::endDocument()
{
    if (failEnd)
        return PrintStatus::printerError();
    m_recording->events.append(QStringLiteral("end"));
    m_recording->ended = true;
    return {};
}

void RecordingPrintSurface::cancelDocument()
{
    m_recording->events.append(QStringLiteral("cancel"));
    m_recording->cancelled = true;
}

} // namespace parvane::print::test
