#ifndef STATUSFRAME_H
#define STATUSFRAME_H

#include <QByteArray>

// The printer's answer to a status enquiry: STX, a two-character job ID, the status letter,
// the labels left as six digits, ETX: eleven bytes in all.
namespace StatusFrame {

constexpr char stx = '\x02';
constexpr char etx = '\x03';
constexpr char enq = '\x05';
constexpr int size = 11;
constexpr int maxLabels = 999999;
// The ID of a printer that runs no job.
inline const QByteArray noJobId = QByteArrayLiteral("  ");

// The frame for this state. An ID of another length is cut or padded with blanks to two
// bytes, and labels outside 0 to 999999 are held at the nearer end, so the frame always has
// its eleven bytes.
QByteArray build(const QByteArray &id, char letter, int labels);

} // namespace StatusFrame

#endif // STATUSFRAME_H
