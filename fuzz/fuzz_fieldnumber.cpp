// Reading the whole number that a field's text begins with. Input: one byte that picks how
// the rest becomes text (UTF-8 or one character per byte), then the text.
//
// Property: the reading agrees with a small model of the rule, written apart from the
// program's own: blanks, tabs and line feeds are skipped anywhere; a sign only before
// everything else; digits, one point and more digits; the first other character ends the
// number; the value is rounded half to even on the digits as typed; outside -32768..32767
// the reading fails with error 6, "Overflow".

#include "fieldnumber.h"
#include "fuzzcheck.h"
#include "fuzzinput.h"
#include "runtimeerror.h"

#include <optional>
#include <string>

namespace {

enum class Fraction { None, BelowHalf, Half, AboveHalf };

// The model's reading: the value, or nothing for an overflow.
std::optional<long> modelValue(const QString &text)
{
    bool negative = false;
    std::string whole; // without leading zeros
    std::string decimals;
    enum { Start, Whole, Decimals } part = Start;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n')
            continue;
        if (part == Start && (u == u'+' || u == u'-')) {
            negative = u == u'-';
            part = Whole;
        } else if (u >= u'0' && u <= u'9') {
            if (part == Decimals)
                decimals += char(u);
            else if (!(whole.empty() && u == u'0'))
                whole += char(u);
            if (part == Start)
                part = Whole;
        } else if (u == u'.' && part != Decimals) {
            part = Decimals;
        } else {
            break;
        }
    }
    // 100000 and more cannot come back into range.
    if (whole.size() > 5)
        return std::nullopt;
    long magnitude = whole.empty() ? 0 : std::stol(whole);

    Fraction fraction = Fraction::None;
    if (!decimals.empty()) {
        const std::size_t nonZeroAfterFirst = decimals.find_first_not_of('0', 1);
        if (decimals[0] > '5' || (decimals[0] == '5' && nonZeroAfterFirst != std::string::npos))
            fraction = Fraction::AboveHalf;
        else if (decimals[0] == '5')
            fraction = Fraction::Half;
        else
            fraction = Fraction::BelowHalf;
    }
    if (fraction == Fraction::AboveHalf || (fraction == Fraction::Half && magnitude % 2 == 1))
        magnitude += 1;
    const long value = negative ? -magnitude : magnitude;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QString text = input.typedText();

    const std::optional<long> expected = modelValue(text);
    std::optional<long> read;
    try {
        read = readFieldNumber(text);
    } catch (const RuntimeError &error) {
        fuzzCheck(error.number == RuntimeErrors::Overflow &&
                      error.description == QStringLiteral("Overflow"),
                  "the only error is 6, Overflow", [&] { return QString(escaped(text)); });
    }
    const auto shown = [](const std::optional<long> &value) {
        return value ? QString::number(*value) : QStringLiteral("Overflow");
    };
    fuzzCheck(read == expected, "the reading agrees with the model", [&] {
        return QString(QStringLiteral("text: ") + escaped(text) + QStringLiteral("\nread: ") +
                       shown(read) + QStringLiteral("\nmodel: ") + shown(expected));
    });
    return 0;
}
