#ifndef THRESHOLDRANGE_H
#define THRESHOLDRANGE_H

#include <QString>

#include <optional>

// A warning or critical threshold in the monitoring plugins' range syntax: "10" alerts outside
// 0 to 10, "10:" below 10, "~:10" above 10, "10:20" outside 10 to 20, and a leading "@" turns
// it round, alerting inside the range (ends included).
class ThresholdRange
{
public:
    // The range a text stands for; nothing for a text that is not one.
    static std::optional<ThresholdRange> parse(const QString &text);

    bool alerts(double value) const;
    // As given, for the performance data.
    const QString &text() const { return m_text; }

private:
    QString m_text;
    std::optional<double> m_start; // nothing: no lower end ("~")
    std::optional<double> m_end;   // nothing: no upper end
    bool m_alertInside = false;
};

#endif // THRESHOLDRANGE_H
