#include "bytetext.h"

namespace ByteText {

namespace {
constexpr char esc = '\x1b';

int hexValue(QChar c)
{
    const char ch = c.toLatin1();
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}
} // namespace

bool decode(const QString &text, QByteArray *bytes, QString *error)
{
    QByteArray out;
    QString plain;
    const auto flushPlain = [&] {
        out += plain.toUtf8();
        plain.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\\')) {
            plain += text.at(i);
            continue;
        }
        flushPlain();
        if (i + 1 >= text.size()) {
            *error = QStringLiteral("a lone backslash at the end of '%1'").arg(text);
            return false;
        }
        const QChar kind = text.at(++i);
        switch (kind.unicode()) {
        case 'x': {
            const int high = i + 1 < text.size() ? hexValue(text.at(i + 1)) : -1;
            const int low = i + 2 < text.size() ? hexValue(text.at(i + 2)) : -1;
            if (high < 0 || low < 0) {
                *error = QStringLiteral("\\x needs two hex digits in '%1'").arg(text);
                return false;
            }
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        case 'e':
            out += esc;
            break;
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            *error = QStringLiteral("unknown escape \\%1 in '%2'").arg(kind).arg(text);
            return false;
        }
    }
    flushPlain();
    *bytes = out;
    return true;
}

QString visible(const QByteArray &bytes, int maxBytes)
{
    QString text;
    const qsizetype shown = qMin<qsizetype>(bytes.size(), qMax(0, maxBytes));
    for (qsizetype i = 0; i < shown; ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(i));
        switch (byte) {
        case 0x02:
            text += QStringLiteral("<STX>");
            break;
        case 0x03:
            text += QStringLiteral("<ETX>");
            break;
        case 0x05:
            text += QStringLiteral("<ENQ>");
            break;
        case 0x1b:
            text += QStringLiteral("<ESC>");
            break;
        case '\r':
            text += QStringLiteral("<CR>");
            break;
        case '\n':
            text += QStringLiteral("<LF>");
            break;
        default:
            if (byte >= 0x20 && byte < 0x7f)
                text += QLatin1Char(static_cast<char>(byte));
            else
                text += QStringLiteral("<%1>").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        }
    }
    if (shown < bytes.size())
        text += QStringLiteral("...");
    return text;
}

} // namespace ByteText
