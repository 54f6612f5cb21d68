#pragma once

#include <cstdint>

#include <QString>

#include "print/PrintFont.h"

namespace parvane::print {

// One line of text of a print (the page header, the page footer, the list title) with its font and
// alignment. A plain value: it carries no printing logic.
class CText
{
public:
    // The line; it may contain the page-number tag "<pag>".
    const QString& Text() const { return m_text; }

    void setText(const QString& text) { m_text = text; }

    // 0 left, 1 right, 2 centred; any other value leaves the horizontal position unchanged.
    std::int32_t Alignment() const { return m_alignment; }

    void setAlignment(std::int32_t alignment) { m_alignment = alignment; }

    // The owned font itself, to be changed in place.
    PrintFont& Font() { return m_font; }

    const PrintFont& Font() const { return m_font; }

    // Copies the six attributes of `font`; later changes to `font` do not reach this text.
    void setFont(const PrintFont& font) { m_font = font; }

private:
    QString m_text;
    std::int32_t m_alignment = 0;
    PrintFont m_font;
};

} // namespace parvane::print
