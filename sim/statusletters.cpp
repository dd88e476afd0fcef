#include "statusletters.h"

#include <iterator>

namespace StatusLetters {

namespace {
struct Letter
{
    char letter;
    const char *meaning;
};

// Within each of the first five groups the second, third and fourth letters add: ribbon
// nearly used up; memory (buffer) nearly full; both.
constexpr Letter letters[] = {
    {'0', "off line"},
    {'1', "off line; ribbon nearly used up"},
    {'2', "off line; buffer nearly full"},
    {'3', "off line; ribbon nearly used up and buffer nearly full"},
    {'A', "on line, ready"},
    {'B', "on line; ribbon nearly used up"},
    {'C', "on line; buffer nearly full"},
    {'D', "on line; ribbon nearly used up and buffer nearly full"},
    {'G', "printing a label"},
    {'H', "printing; ribbon nearly used up"},
    {'I', "printing; buffer nearly full"},
    {'J', "printing; ribbon nearly used up and buffer nearly full"},
    {'M', "label ready"},
    {'N', "label ready; ribbon nearly used up"},
    {'O', "label ready; buffer nearly full"},
    {'P', "label ready; ribbon nearly used up and buffer nearly full"},
    {'S', "on line, compiling a print job"},
    {'T', "compiling; ribbon nearly used up"},
    {'U', "compiling; buffer nearly full"},
    {'V', "compiling; ribbon nearly used up and buffer nearly full"},
    {'a', "error: receive buffer full"},
    {'b', "error: print head open"},
    {'c', "error: out of labels"},
    {'d', "error: out of ribbon"},
    {'e', "error: label fault"},
    {'f', "error: sensor fault"},
    {'g', "error: print head fault"},
    {'h', "error: cover open"},
    {'i', "error: memory card fault"},
    {'j', "error: cutter fault"},
    {'k', "error: other fault"},
};
} // namespace

QString meaning(char letter)
{
    for (const Letter &entry : letters) {
        if (entry.letter == letter)
            return QString::fromLatin1(entry.meaning);
    }
    return {};
}

QStringList helpLines()
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(std::size(letters)));
    for (const Letter &entry : letters)
        lines += QStringLiteral("  %1  %2")
                     .arg(QString(QLatin1Char(entry.letter)), QString::fromLatin1(entry.meaning));
    return lines;
}

} // namespace StatusLetters
