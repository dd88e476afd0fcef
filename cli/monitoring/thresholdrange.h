#ifndef THRESHOLDRANGE_H
#define THRESHOLDRANGE_H

#include <QString>

#include <optional>

// A warning or critical threshold in the monitoring plugins' range syntax: "10" alerts outside
// 0 to 10, "10:" below 10, "~:10" above 10, "10:20" outside 10 to 20, and a leading "@" turns
// it round, alerting inside the range (ends included). An empty start is 0 (":5" is "5"), an
// empty end has no bound. Blanks around the numbers are ignored; a number may carry a sign, a
// decimal point and an exponent, as the plugins' C library reads it ("+10", "1e1").
class ThresholdRange
{
public:
    // The range a text stands for; nothing for a text that is not one, with the reason in
    // error when given. A number that a double does not hold as written is refused: a
    // monitoring engine would not read back the threshold given (Icinga 2.13.6 reads 1e-400
    // as 0 and drops a metric whose number overflows). An empty text is no range either; the
    // options read it as no threshold.
    static std::optional<ThresholdRange> parse(const QString &text, QString *error = nullptr);

    bool alerts(double value) const;
    // An "@" range: it alerts inside, not outside.
    bool alertsInside() const { return m_alertInside; }
    // The normalised form, for the performance data and the summary: plain decimals, no "+",
    // no exponent, a start of 0 left out ("0:10" and "+10" are "10").
    QString text() const;

private:
    std::optional<double> m_start; // nothing: no lower end ("~")
    std::optional<double> m_end;   // nothing: no upper end
    bool m_alertInside = false;
};

#endif // THRESHOLDRANGE_H
