#pragma once

#include <memory>
#include <vector>

#include <QColor>
#include <QString>
#include <QStringList>

#include "print/PrintFont.h"
#include "print/PrintSurface.h"

namespace parvane::print::test {

struct RecordedText
{
    int page = 0;
    double x = 0;
    double y = 0;
    PrintFont font;
    QString text;
};

struct RecordedLine
{
    int page = 0;
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    QColor colour;
};

// What a RecordingPrintSurface saw; it outlives the surface, which a print drops at its end.
struct PrintRecording
{
    // One entry per call that changes the document: "paper 9", "orientation 2", "text Pag. 1",
    // "line", "newpage", "end", "cancel".
    QStringList events;
    std::vector<RecordedText> texts;
    std::vector<RecordedLine> lines;
    int pages = 1;
    bool ended = false;
    bool cancelled = false;

    // The texts printed on `page`, in order.
    std::vector<RecordedText> textsOnPage(int page) const;
    // The first text equal to `text`; fails the test when there is none.
    RecordedText find(const QString& text) const;
};

// A print surface that records what is printed. Text metrics are fixed so that layouts can be
// computed by hand: a character is size × 10 twips wide, a line is size × 25 twips high (a 10 pt
// text of 5 characters is 500 × 250 twips). Paper codes are checked as the Qt back end checks them.
class RecordingPrintSurface final : public PrintSurface
{
public:
    explicit RecordingPrintSurface(std::shared_ptr<PrintRecording> recording, double width = 15000,
                                   double height = 10000);

    PrintStatus setPaperSize(int code) override;
    PrintStatus setOrientation(int code) override;

    double currentX() const override { return m_x; }

    void setCurrentX(double twips) override { m_x = twips; }

    double currentY() const override { return m_y; }

    void setCurrentY(double twips) override { m_y = twips; }

    double printableWidth() const override { return m_width; }

    double printableHeight() const override { return m_height; }

    double textWidth(const QString& text) const override;
    double textHeight(const QString& text) const override;

    void printText(const QString& text) override;
    void drawLine(double x1, double y1, double x2, double y2, const QColor& colour) override;

    PrintStatus newPage() override;
    PrintStatus endDocument() override;
    void cancelDocument() override;

    int pageNumber() const override { return m_recording->pages; }

    void setFontName(const QString& name) override { m_font.name = name; }

    void setFontSize(double points) override { m_font.size = points; }

    void setFontBold(bool on) override { m_font.bold = on; }

    void setFontItalic(bool on) override { m_font.italic = on; }

    void setFontUnderline(bool on) override { m_font.underline = on; }

    void setFontStrikethrough(bool on) override { m_font.strikethrough = on; }

    const PrintFont& font() const { return m_font; }

    // newPage() fails with a printer error when it would start this page (0: never).
    int failNewPageAt = 0;
    bool failEnd = false;

private:
    std::shared_ptr<PrintRecording> m_recording;
    double m_width;
    double m_height;
    double m_x = 0;
    double m_y = 0;
    PrintFont m_font;
};

} // namespace parvane::print::test
