#include "charts/ChartTable.h"

#include "storage/SafeFile.h"
#include "storage/TextForms.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ChartTable {

namespace {

double finite(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

QString csvField(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n')
        && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString csvNumber(double value, Unit unit)
{
    value = finite(value);
    switch (unit) {
    case Unit::Euro:
        return numberText(value, 2).remove(u'.');
    case Unit::Count:
        return numberText(value, 0).remove(u'.');
    case Unit::Pieces:
        break;
    }
    return NumberToText(value);
}

// The width a label may take in its slot: Qt Charts draws a label with a margin of four
// units on each side and shortens it when it does not fit; a little air stays between.
double roomIn(double slotWidth)
{
    return slotWidth - 12;
}

// Whole pieces show without decimals; a fraction of a piece (goods sold by weight or
// length) with up to three.
int piecesDecimals(double value)
{
    for (int decimals = 0; decimals < 3; ++decimals) {
        const double scaled = value * std::pow(10.0, decimals);
        if (std::abs(scaled - std::round(scaled)) < 1e-6)
            return decimals;
    }
    return 3;
}

} // namespace

QByteArray csv(const Table &table)
{
    const bool withTexts = !table.textHeader.isEmpty();
    QStringList heading { table.labelHeader };
    if (withTexts)
        heading.append(table.textHeader);
    for (const Series &series : table.series)
        heading.append(series.name);

    QString text;
    auto addLine = [&text](const QStringList &fields) {
        QStringList quoted;
        for (const QString &field : fields)
            quoted.append(csvField(field));
        text += quoted.join(u';') + QStringLiteral("\r\n");
    };
    addLine(heading);
    for (qsizetype row = 0; row < table.labels.size(); ++row) {
        QStringList fields { table.labels[row] };
        if (withTexts)
            fields.append(table.texts.value(row));
        for (const Series &series : table.series)
            fields.append(csvNumber(series.values.value(row), series.unit));
        addLine(fields);
    }
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

bool saveCsv(const QString &path, const Table &table, QString *error)
{
    return SafeFile::replace(path, csv(table), error);
}

QStringList axisLabels(const Table &table)
{
    if (!table.horizontal || table.series.isEmpty())
        return uniqueLabels(table.labels);
    const Series &bars = table.series.first();
    QStringList labels;
    for (qsizetype i = 0; i < table.labels.size(); ++i) {
        const QString text = table.texts.value(i);
        const QString name = text.isEmpty() ? table.labels[i] : table.labels[i] + u' ' + text;
        const QString value = unitText(bars.values.value(i), bars.unit)
            + (bars.unit == Unit::Pieces ? QStringLiteral(" pz") : QString());
        labels.append(elided(name, 40) + QStringLiteral("  (") + value + u')');
    }
    return uniqueLabels(labels);
}

QString numberText(double value, int decimals)
{
    // Qt's own conversion rounds the binary value exactly and never depends on the locale.
    QString digits = QString::number(std::abs(finite(value)), 'f', decimals);
    QString fraction;
    if (const qsizetype point = digits.indexOf(u'.'); point >= 0) {
        fraction = u',' + digits.mid(point + 1);
        digits.truncate(point);
    }
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u'.');
    const QString text = digits + fraction;
    const bool zero = std::all_of(text.cbegin(), text.cend(),
        [](QChar ch) { return ch == u'0' || ch == u'.' || ch == u','; });
    return (finite(value) < 0 && !zero) ? u'-' + text : text;
}

QString euroText(double amount)
{
    return numberText(amount, 2) + QStringLiteral(" €");
}

QString unitText(double value, Unit unit)
{
    switch (unit) {
    case Unit::Euro:
        return euroText(value);
    case Unit::Count:
        return numberText(value, 0);
    case Unit::Pieces:
        break;
    }
    return numberText(value, piecesDecimals(finite(value)));
}

Scale scale(double low, double high, Unit unit, int maxTicks)
{
    maxTicks = std::max(maxTicks, 2);
    // Beyond a thousand billion the figures come from damaged records; the axis stops there.
    constexpr double kLimit = 1e15;
    low = std::clamp(std::min(0.0, finite(low)), -kLimit, 0.0);
    high = std::clamp(std::max(0.0, finite(high)), 0.0, kLimit);
    if (high - low <= 0)
        high = 1;
    const double raw = (high - low) / (maxTicks - 1);
    double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    static const double multiples[] = { 1, 2, 5 };
    int multiple = 0;
    while (multiples[multiple] * magnitude < raw) {
        if (++multiple == 3) {
            multiple = 0;
            magnitude *= 10;
        }
    }

    Scale out;
    for (;;) {
        out.step = multiples[multiple] * magnitude;
        if (unit != Unit::Euro)
            out.step = std::max(out.step, 1.0);
        out.min = std::floor(low / out.step) * out.step;
        out.max = std::ceil(high / out.step) * out.step;
        if (std::llround((out.max - out.min) / out.step) + 1 <= maxTicks)
            break;
        if (++multiple == 3) {
            multiple = 0;
            magnitude *= 10;
        }
    }
    out.decimals = out.step >= 1 ? 0 : int(std::ceil(-std::log10(out.step) - 1e-9));
    const qint64 ticks = std::llround((out.max - out.min) / out.step) + 1;
    for (qint64 i = 0; i < ticks; ++i) {
        const double value = out.min + double(i) * out.step;
        const QString number = numberText(value, out.decimals);
        out.labels.append(unit == Unit::Euro ? number + QStringLiteral(" €") : number);
    }
    return out;
}

int labelAngle(double widestLabel, double lineHeight, double slotWidth)
{
    const double room = roomIn(slotWidth);
    if (widestLabel <= room)
        return 0;
    // Qt Charts shortens a slanted label wider, across, than its slot: a label slanted by
    // 45 degrees spans (width + height) * sin 45; an upright one its height.
    if ((widestLabel + lineHeight) * std::sin(std::numbers::pi / 4) <= room)
        return -45;
    return -90;
}

LabelFit fitLabels(
    double widestLabel, double lineHeight, double slotWidth, double size, double minSize)
{
    const double room = roomIn(slotWidth);
    if (widestLabel <= room || widestLabel <= 0)
        return { size, 0 };
    // Text widths and heights grow with the font size.
    const double fitting = size * room / widestLabel;
    if (fitting >= minSize)
        return { fitting, 0 };
    return { size, labelAngle(widestLabel, lineHeight, slotWidth) };
}

QStringList uniqueLabels(const QStringList &labels)
{
    QSet<QString> taken;
    QHash<QString, int> repeats;
    QStringList out;
    for (const QString &label : labels) {
        QString unique = label;
        while (taken.contains(unique))
            unique = label + QStringLiteral(" (%1)").arg(++repeats[label] + 1);
        taken.insert(unique);
        out.append(unique);
    }
    return out;
}

QString elided(const QString &text, int maxChars)
{
    if (text.size() <= maxChars)
        return text;
    return TrimControl(text.left(std::max(0, maxChars - 1))) + u'…';
}

} // namespace ChartTable
