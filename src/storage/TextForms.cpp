#include "storage/TextForms.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

QString TextLeft(QStringView text, qsizetype n)
{
    if (n <= 0)
        return {};
    return text.left(n).toString();
}

QString TextRight(QStringView text, qsizetype n)
{
    if (n <= 0)
        return {};
    return text.right(n).toString();
}

double RoundDecimals(double value, int n)
{
    const double f = n <= 0 ? 1.0 : std::pow(10.0, n);
    return std::floor(value * f + 0.5) / f;
}

std::optional<double> TextToNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype end = text.size();
    auto at = [&](qsizetype k) { return k < end ? text[k].unicode() : char16_t(0); };
    auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };

    std::string plain;
    plain.reserve(std::size_t(end) + 2);
    while (at(i) == u' ')
        ++i;
    if (at(i) == u'+' || at(i) == u'-') {
        if (at(i) == u'-')
            plain.push_back('-');
        ++i;
    }
    int digits = 0;
    while (isDigit(at(i))) {
        plain.push_back(char(at(i)));
        ++i;
        ++digits;
    }
    if (at(i) == u',') {
        plain.push_back('.');
        ++i;
        while (isDigit(at(i))) {
            plain.push_back(char(at(i)));
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (at(i) == u'E' || at(i) == u'e') {
        plain.push_back('e');
        ++i;
        if (at(i) == u'+' || at(i) == u'-') {
            plain.push_back(char(at(i)));
            ++i;
        }
        int expDigits = 0;
        while (isDigit(at(i))) {
            plain.push_back(char(at(i)));
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    while (at(i) == u' ')
        ++i;
    if (i != end)
        return std::nullopt;

    double value = 0;
    const char *first = plain.data();
    if (*first == '-')
        ++first; // from_chars takes no '+' and we add the sign back ourselves
    const auto [ptr, ec] = std::from_chars(first, plain.data() + plain.size(), value);
    if (ptr != plain.data() + plain.size() && ec == std::errc())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Underflow is zero; overflow is not a number the program can use. A magnitude
        // too small has a negative exponent or no non-zero digit before the comma.
        const std::string_view digitsText(first, std::size_t(plain.data() + plain.size() - first));
        const bool negativeExponent = digitsText.find("e-") != std::string_view::npos;
        const std::string_view whole = digitsText.substr(0, digitsText.find_first_of(".e"));
        const bool noWholeDigits = whole.find_first_not_of('0') == std::string_view::npos;
        if (!negativeExponent && !noWholeDigits)
            return std::nullopt;
        value = 0.0;
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return plain[0] == '-' ? -value : value;
}

QString NumberToText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0.0)
        return QStringLiteral("0");

    // 15 significant digits: d.dddddddddddddde±x (what printf's "%.14e" writes, without
    // its multiple-precision arithmetic: a long import turns many numbers into text).
    char buf[64];
    const std::to_chars_result written
        = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    const std::string s(buf, written.ptr);
    const std::size_t ePos = s.find('e');
    std::string digits = s.substr(0, 1) + s.substr(2, ePos - 2);
    const int exponent = std::stoi(s.substr(ePos + 1));
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = value < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1) {
            out += ',';
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += "0,";
        out += std::string(std::size_t(-exponent - 1), '0');
        out += digits;
    } else {
        const std::size_t intLen = std::size_t(exponent) + 1;
        if (digits.size() <= intLen) {
            out += digits;
            out += std::string(intLen - digits.size(), '0');
        } else {
            out += digits.substr(0, intLen);
            out += ',';
            out += digits.substr(intLen);
        }
    }
    return QString::fromLatin1(out.data(), qsizetype(out.size()));
}

QStringView TrimControlView(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= 32)
        ++first;
    while (last > first && text[last - 1].unicode() <= 32)
        --last;
    return text.sliced(first, last - first);
}

QString TrimControl(QStringView text)
{
    return TrimControlView(text).toString();
}

QString FormatAmountText(QStringView text, int n)
{
    const QString trimmed = TrimControl(text);
    if (trimmed.isEmpty())
        return QStringLiteral("0,00");
    const std::optional<double> number = TextToNumber(trimmed);
    if (!number)
        return QStringLiteral("0,00");
    QString t = NumberToText(RoundDecimals(*number, n));
    if (!t.contains(u','))
        t += QStringLiteral(",00");
    if (t.size() >= 2 && t[t.size() - 2] == u',' && t.back().isDigit())
        t += u'0';
    return t;
}

QString FormatCountText(QStringView text)
{
    const QString trimmed = TrimControl(text);
    if (trimmed.isEmpty())
        return QStringLiteral("0");
    const std::optional<double> number = TextToNumber(trimmed);
    if (!number)
        return QStringLiteral("0");
    return NumberToText(RoundDecimals(*number, 0));
}

QString LowerAscii(QStringView text)
{
    QString out = text.toString();
    for (QChar &ch : out) {
        if (ch.unicode() >= u'A' && ch.unicode() <= u'Z')
            ch = QChar(ch.unicode() + 32);
    }
    return out;
}

QString UpperAscii(QStringView text)
{
    QString out = text.toString();
    for (QChar &ch : out) {
        if (ch.unicode() >= u'a' && ch.unicode() <= u'z')
            ch = QChar(ch.unicode() - 32);
    }
    return out;
}

QString YearOf(QStringView dateText)
{
    return TextRight(dateText, 4);
}

namespace {
QDateTime g_fixedMoment;
}

namespace Clock {
QDateTime now()
{
    return g_fixedMoment.isValid() ? g_fixedMoment : QDateTime::currentDateTime();
}
void setFixed(const QDateTime &moment)
{
    g_fixedMoment = moment;
}
void reset()
{
    g_fixedMoment = QDateTime();
}
} // namespace Clock

QString DateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString Today()
{
    return DateText(Clock::now().date());
}

QString Now()
{
    return Clock::now().time().toString(QStringLiteral("HH:mm:ss"));
}

std::optional<QDate> DateFromText(QStringView text)
{
    // Split by hand: this runs once per record when a list tests dates.
    const QStringView t = text.trimmed();
    qsizetype slash[2] = { -1, -1 };
    int slashes = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == u'/') {
            if (slashes == 2)
                return std::nullopt;
            slash[slashes++] = i;
        }
    }
    if (slashes != 2)
        return std::nullopt;
    const qsizetype first = slash[0];
    const qsizetype second = slash[1];
    const QStringView parts[3]
        = { t.first(first), t.sliced(first + 1, second - first - 1), t.sliced(second + 1) };
    auto number = [](QStringView part, qsizetype maxLen) -> int {
        if (part.isEmpty() || part.size() > maxLen)
            return -1;
        int v = 0;
        for (QChar c : part) {
            if (c < u'0' || c > u'9')
                return -1;
            v = v * 10 + (c.unicode() - u'0');
        }
        return v;
    };
    const int d = number(parts[0], 2);
    const int m = number(parts[1], 2);
    const int y = number(parts[2], 4);
    if (d < 1 || m < 1 || y < 1 || !QDate::isValid(y, m, d))
        return std::nullopt;
    return QDate(y, m, d);
}

bool IsCalendarDate(QStringView text)
{
    if (text.size() != 10 || text[2] != u'/' || text[5] != u'/')
        return false;
    const auto parts = text.split(u'/');
    if (parts[0].size() != 2 || parts[1].size() != 2 || parts[2].size() != 4)
        return false;
    return DateFromText(text).has_value();
}
