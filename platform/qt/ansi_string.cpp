#include "platform/qt/ansi_string.h"

#include "platform/code_page.h"

namespace platform::qt {

QString FromAnsi(std::string_view text)
{
    QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    QChar* out = result.data();
    for (const char ch : text)
        *out++ = QChar(static_cast<char16_t>(Cp1251ToUnicode(static_cast<unsigned char>(ch))));
    return result;
}

std::string ToAnsi(QStringView text)
{
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        // A surrogate pair is one character beyond the 16-bit range, none of which 1251 has:
        // one '?' for it, not two.
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            result.push_back('?');
            ++i;
            continue;
        }
        result.push_back(static_cast<char>(UnicodeToCp1251(ch.unicode())));
    }
    return result;
}

} // namespace platform::qt
