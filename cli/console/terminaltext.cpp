#include "terminaltext.h"

#include "controlcharacters.h"

namespace {
constexpr char16_t cr = 0x0d;
constexpr char16_t lf = 0x0a;
constexpr char16_t tab = 0x09;
constexpr char16_t caretOffset = 0x40;
} // namespace

void TerminalText::append(QString &out, QChar c)
{
    const char16_t code = c.unicode();
    if (code == lf) {
        out += QLatin1Char('\n');
        m_atLineStart = true;
        return;
    }
    if (code == tab) {
        out += c;
    } else if (ControlCharacters::isC0(code)) {
        out += QLatin1Char('^');
        out += QChar(char16_t(code + caretOffset));
    } else if (code == ControlCharacters::del) {
        out += QStringLiteral("^?");
    } else if (ControlCharacters::isC1(code)) {
        out += QChar(QChar::ReplacementCharacter);
    } else {
        out += c;
    }
    m_atLineStart = false;
}

QString TerminalText::convert(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (m_pendingCr) {
            m_pendingCr = false;
            if (c.unicode() == lf) {
                append(out, c);
                continue;
            }
            out += QLatin1Char(' ');
            m_atLineStart = false;
        }
        if (c.unicode() == cr)
            m_pendingCr = true;
        else
            append(out, c);
    }
    return out;
}

QString TerminalText::finish()
{
    if (!m_pendingCr)
        return QString();
    m_pendingCr = false;
    m_atLineStart = false;
    return QStringLiteral(" ");
}
