#include "pageestimate.h"

#include <cmath>

namespace zendral {

namespace {
constexpr double BytesPerKilobyte = 1024.0;
constexpr double ModemKilobytesPerSecond = 5.5;
constexpr double BroadbandKilobytesPerSecond = 25.0;
} // namespace

QString FormatNumberString(qint16 digits, std::optional<bool> scientific)
{
    if (digits < 1)
        return QStringLiteral("0");
    if (!scientific)
        return QStringLiteral("0.") + QString(digits, u'0');
    if (*scientific)
        return QStringLiteral("0.") + QString(digits, u'0') + QStringLiteral("E+00");
    return QStringLiteral("0");
}

QString formatNumber(double value, const QString &pattern, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const qsizetype point = pattern.indexOf(u'.');
    if (pattern.endsWith(QStringLiteral("E+00"))) {
        const int digits = int(pattern.size() - point - 1 - 4);
        return plain.toString(value, 'E', digits);
    }
    const int digits = point < 0 ? 0 : int(pattern.size() - point - 1);
    const double scale = std::pow(10.0, digits);
    // Halves go away from zero, as the pattern formatting the estimate was designed with.
    const double rounded = std::round(value * scale) / scale;
    return plain.toString(rounded, 'f', digits);
}

PageEstimate estimateFor(qint64 length, const QLocale &locale)
{
    const double kilobytes = double(length) / BytesPerKilobyte;
    const double modem = kilobytes / ModemKilobytesPerSecond;
    const double adsl = kilobytes / BroadbandKilobytesPerSecond;
    const QString pattern = FormatNumberString(2);
    return {formatNumber(kilobytes, pattern, locale) + QStringLiteral("KB"),
            formatNumber(modem, pattern, locale) + QStringLiteral(" Segundos"),
            formatNumber(adsl, pattern, locale) + QStringLiteral(" Segundos")};
}

} // namespace zendral
