#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace zendral {

// FormatNumberString: the number pattern for a count of decimal digits ("0.00" for two),
// with an exponent when scientific is given and true.
QString FormatNumberString(qint16 digits,
                           std::optional<bool> scientific = std::nullopt); // fixed name

// A number written with one of the patterns above, in the locale's decimal separator, halves
// rounded away from zero.
QString formatNumber(double value, const QString &pattern, const QLocale &locale);

// The three computed captions of the status area.
struct PageEstimate
{
    QString size;  // "0.04KB"
    QString modem; // "0.01 Segundos"
    QString adsl;  // "0.00 Segundos"
};

// ActualizarEstimacion's numbers for a text of length characters (a line break counts two).
PageEstimate estimateFor(qint64 length, const QLocale &locale = QLocale());

} // namespace zendral
