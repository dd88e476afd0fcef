#ifndef BYTETEXT_H
#define BYTETEXT_H

#include <QByteArray>
#include <QString>

// Bytes as people type them on a command line and read them in a log.
namespace ByteText {

// Turns text with backslash escapes into bytes: \xHH is the byte HH, \e is ESC, \r, \n and \t
// are CR, LF and TAB, \\ is a backslash; everything else stands for its UTF-8 bytes. Returns
// false and says why in error when an escape is malformed.
bool decode(const QString &text, QByteArray *bytes, QString *error);

// One log-friendly line: printable ASCII as it is, the printer's control bytes by name
// (<STX>, <ETX>, <ENQ>, <ESC>, <CR>, <LF>), any other byte as <HH>. Output longer than
// maxBytes ends in "...".
QString visible(const QByteArray &bytes, int maxBytes = 64);

} // namespace ByteText

#endif // BYTETEXT_H
