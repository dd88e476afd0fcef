#include "printdatacounter.h"

#include <limits>

namespace {
constexpr char esc = '\x1b';
constexpr int maxQuantityDigits = 6;
} // namespace

int PrintDataCounter::take(const QByteArray &bytes)
{
    int printed = 0;
    for (const char byte : bytes) {
        // Each job prints at most mostLabels, so the sum never passes 2 * mostLabels here.
        printed += takeByte(byte);
        if (printed > mostLabels)
            printed = mostLabels;
    }
    return printed;
}

int PrintDataCounter::takeByte(char byte)
{
    if (m_expect == Expect::Quantity) {
        if (byte >= '0' && byte <= '9' && m_quantityDigits < maxQuantityDigits) {
            m_quantityValue = m_quantityValue * 10 + (byte - '0');
            ++m_quantityDigits;
            return 0;
        }
        endQuantity();
    }
    if (m_expect == Expect::Command) {
        m_expect = Expect::Data;
        if (byte == 'Q') {
            m_expect = Expect::Quantity;
            m_quantityDigits = 0;
            m_quantityValue = 0;
            return 0;
        }
        if (byte == 'Z') {
            const int printed = m_quantity;
            m_quantity = 1;
            if (m_jobs < std::numeric_limits<int>::max())
                ++m_jobs;
            return printed;
        }
    }
    if (byte == esc)
        m_expect = Expect::Command;
    return 0;
}

void PrintDataCounter::endQuantity()
{
    // ESC Q without digits leaves the quantity as it was.
    if (m_quantityDigits > 0)
        m_quantity = m_quantityValue;
    m_expect = Expect::Data;
}
