#ifndef FUZZINPUT_H
#define FUZZINPUT_H

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

// Reads a fuzz input from its front: a few control bytes, then the rest as data. Past the end
// every read gives 0, so short inputs still make whole cases, and seed files stay easy to
// write by hand.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    {
    }

    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }

    uint16_t word()
    {
        const uint16_t low = byte();
        return static_cast<uint16_t>(low | byte() << 8);
    }

    QByteArray bytes(size_t count)
    {
        QByteArray taken;
        while (count-- > 0 && m_at < m_size)
            taken += static_cast<char>(m_data[m_at++]);
        return taken;
    }

    QByteArray rest() { return bytes(m_size - m_at); }

    // What a user could type into a field: a byte chooses UTF-8 or Latin-1 for the rest.
    QString typedText()
    {
        const bool utf8 = byte() % 2 != 0;
        const QByteArray typed = rest();
        return utf8 ? QString::fromUtf8(typed) : QString::fromLatin1(typed);
    }

    // Piece lengths: a count byte (up to maxCount), then each length as a word, 1 to maxLength.
    QList<int> lengths(int maxCount, int maxLength)
    {
        QList<int> taken;
        const int count = byte() % (maxCount + 1);
        for (int i = 0; i < count; ++i)
            taken += 1 + word() % maxLength;
        return taken;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

// The stream cut at the given lengths in turn; what is left after them is the last piece. No
// piece is empty.
inline QList<QByteArray> cutInto(const QByteArray &stream, const QList<int> &lengths)
{
    QList<QByteArray> pieces;
    qsizetype at = 0;
    for (const int length : lengths) {
        if (at >= stream.size())
            break;
        pieces += stream.mid(at, length);
        at += length;
    }
    if (at < stream.size())
        pieces += stream.mid(at);
    return pieces;
}

#endif // FUZZINPUT_H
