#ifndef FUZZCHECK_H
#define FUZZCHECK_H

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

// A property that failed is a finding: say which and on what, then stop, so that libFuzzer
// keeps the input as a crash file. The description is only made for a finding: most inputs
// pass, and each of them must stay cheap.
inline void fuzzCheck(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "PROPERTY FAILED: %s\n", property);
    std::abort();
}

template <typename Describe> void fuzzCheck(bool holds, const char *property, Describe &&describe)
{
    if (holds)
        return;
    std::fprintf(stderr, "PROPERTY FAILED: %s\n%s\n", property, qPrintable(describe()));
    std::abort();
}

// Bytes as \xHH where they are not printable ASCII, for the report of a finding.
inline QString escaped(const QByteArray &bytes)
{
    QString text;
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code < 0x7f && code != '\\')
            text += QLatin1Char(byte);
        else
            text += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
    }
    return text;
}

inline QString escaped(const QString &text)
{
    return escaped(text.toUtf8());
}

#endif // FUZZCHECK_H
