#ifndef CSVSTYLE_H
#define CSVSTYLE_H

#include <QChar>
#include <QString>

#include <optional>

// How find's CSV list is written: the field separator, and whether it starts with a byte order
// mark. A spreadsheet that reads the list as it opens it (Excel) splits the fields at the
// user's list separator (";" in Norway) and reads a file without a mark in the ANSI code page.
struct CsvStyle
{
    QChar separator = QLatin1Char(',');
    bool byteOrderMark = false;

    // This system's: on Windows the user's list separator (a comma where it is none of those
    // named below) and a byte order mark; elsewhere a comma and no mark, as RFC 4180 has it.
    static CsvStyle system();
    // The separator a name gives: "," ";" or "tab" (or a tab itself); nothing for any other.
    static std::optional<QChar> separatorNamed(const QString &name);
};

#endif // CSVSTYLE_H
