#pragma once

#include <cstdint>
#include <optional>

#include "print/CText.h"

namespace parvane::print {

// Twips (1/1440 inch) in one centimetre, as the print margins are converted.
inline constexpr std::int16_t kTwipsPerCentimetre = 567;

// Paper size code (the Windows DMPAPER_* numbering) and orientation code (1 portrait,
// 2 landscape) that a new page starts with.
struct PaperDefaults
{
    std::int16_t paperSize = 9; // A4
    std::int16_t orientation = 1;
};

// The installed printer's paper size and orientation; A4 portrait when no printer is installed.
// Queries the printing system, so it needs a QGuiApplication.
PaperDefaults installedPrinterDefaults();

// A margin in twips: `centimetres` × 567 computed in 16-bit signed arithmetic. Returns
// std::nullopt when the product overflows, that is for a margin above 57 cm or below -57 cm.
std::optional<std::int16_t> marginTwips(std::int16_t centimetres);

// The page of a print: paper, orientation, margins in centimetres, and the page header and footer
// printed on every page. A plain value: setters store what they are given without checks, and
// margins are converted to twips only when a print reads them.
class CPage
{
public:
    // Takes paper size and orientation from the installed printer (queried once, here).
    CPage();
    explicit CPage(PaperDefaults defaults);

    CText& Footer() { return m_footer; }

    const CText& Footer() const { return m_footer; }

    CText& Header() { return m_header; }

    const CText& Header() const { return m_header; }

    // 1 portrait, 2 landscape.
    std::int16_t Orientation() const { return m_orientation; }

    void setOrientation(std::int16_t orientation) { m_orientation = orientation; }

    // Windows DMPAPER_* code: 1 Letter, 5 Legal, 8 A3, 9 A4, 11 A5 ...
    std::int16_t PaperSize() const { return m_paperSize; }

    void setPaperSize(std::int16_t paperSize) { m_paperSize = paperSize; }

    // Margins in centimetres. The right margin only serves to right-align a text; the bottom
    // margin is the lowest line for rows and the footer.
    std::int16_t BottomMargin() const { return m_bottomMargin; }

    void setBottomMargin(std::int16_t centimetres) { m_bottomMargin = centimetres; }

    std::int16_t TopMargin() const { return m_topMargin; }

    void setTopMargin(std::int16_t centimetres) { m_topMargin = centimetres; }

    std::int16_t RightMargin() const { return m_rightMargin; }

    void setRightMargin(std::int16_t centimetres) { m_rightMargin = centimetres; }

    std::int16_t LeftMargin() const { return m_leftMargin; }

    void setLeftMargin(std::int16_t centimetres) { m_leftMargin = centimetres; }

private:
    std::int16_t m_leftMargin = 15;
    std::int16_t m_rightMargin = 15;
    std::int16_t m_topMargin = 15;
    std::int16_t m_bottomMargin = 15;
    std::int16_t m_paperSize;
    std::int16_t m_orientation;
    CText m_header;
    CText m_footer;
};

} // namespace parvane::print
