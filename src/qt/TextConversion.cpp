#include "qt/TextConversion.h"

#include "core/text/DiskName.h"
#include "core/text/Windows1252.h"

namespace parvane::qt {

QString fromWindows1252(std::string_view bytes)
{
    const std::string utf8 = text::windows1252ToUtf8(bytes);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toWindows1252(const QString& text)
{
    return text::utf8ToWindows1252(text.toStdString());
}

void appendWindows1252(std::string& bytes, const QString& text)
{
    // Latin-1 outside 0x80-0x9F is the same byte in Windows-1252.
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x80 || (code >= 0xA0 && code < 0x100)) {
            bytes.push_back(static_cast<char>(code));
            continue;
        }
        bytes += toWindows1252(QString(c));
    }
}

QString fromDiskName(std::string_view name)
{
    const std::string utf8 = text::diskNameToUtf8(name);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString fromDiskPath(const std::filesystem::path& path)
{
    return fromDiskName(path.native());
}

std::filesystem::path toDiskPath(const QString& text)
{
    return std::filesystem::path(text.toStdString());
}

} // namespace parvane::qt
