#include "report/PreparedReport.h"

#include "storage/TextForms.h"

#include <algorithm>
#include <cmath>

namespace Report {

namespace {

// Lengths are sums of decimal millimetres: a line that ends a hair past the bottom after
// rounding still fits.
constexpr double kEpsilon = 1e-6;

qsizetype linesThatFit(double available, double lineHeight)
{
    if (available <= 0)
        return 0;
    return qsizetype(std::floor(available / lineHeight + kEpsilon));
}

class Layout
{
public:
    Layout(const ReportTemplate &t, const QString &date, PreparedReport &out)
        : m_t(t)
        , m_date(date)
        , m_out(out)
        , m_areaHeight(t.pageHeight() - t.marginTop() - t.marginBottom())
    {
        newPage();
    }

    void band(const Band &band)
    {
        const Item *stretch = nullptr;
        for (const Item &it : band.items) {
            if (it.multiLine)
                stretch = &it;
        }
        if (m_cursor + band.height <= m_areaHeight + kEpsilon) {
            placeBand(band, m_cursor, nullptr);
            m_cursor += band.height;
            return;
        }
        if (!stretch) {
            if (m_cursor > 0)
                newPage();
            placeBand(band, m_cursor, nullptr);
            m_cursor = std::min(m_cursor + band.height, m_areaHeight);
            return;
        }
        splitBand(band, *stretch);
    }

private:
    void newPage()
    {
        m_out.pages.append(PreparedPage());
        m_cursor = 0;
        for (const Item &it : m_t.pageItems())
            place(it, 0, QString(), resolvedLines(it));
    }

    // Text with placeholders replaced; only boxes of the template's own wording have them.
    QString resolved(const QString &text, const Item &it) const
    {
        if (!it.placeholders)
            return text;
        QString result = text;
        return result.replace(QStringLiteral("[DATE]"), m_date);
    }

    QStringList resolvedLines(const Item &it) const
    {
        if (!it.placeholders)
            return it.lines;
        QStringList lines = it.lines;
        for (QString &line : lines)
            line = resolved(line, it);
        return lines;
    }

    // Places a copy of the item with its top moved down by bandTop (millimetres inside the
    // margins) and returns the copy.
    PlacedItem &place(
        const Item &it, double bandTop, const QString &bandName, const QStringList &lines)
    {
        PlacedItem placed { it, bandName };
        placed.item.left += m_t.marginLeft();
        placed.item.top += m_t.marginTop() + bandTop;
        if (it.multiLine)
            placed.item.lines = lines;
        else
            placed.item.text = resolved(it.text, it);
        m_out.pages.last().items.append(placed);
        return m_out.pages.last().items.last();
    }

    void placeBand(const Band &band, double top, const Item *skip)
    {
        for (const Item &it : band.items) {
            if (&it != skip)
                place(it, top, band.name, resolvedLines(it));
        }
    }

    // The band's other items print with the first piece; the multi-line box continues on
    // new pages, whole lines only, until its last line.
    void splitBand(const Band &band, const Item &box)
    {
        const QStringList lines = resolvedLines(box);
        const qsizetype count = lines.size();
        const double lineHeight = box.lineHeight;
        const double boxHeight = std::max(box.height, double(count) * lineHeight);
        const double bottomPad = std::max(0.0, band.height - box.top - box.height);

        double bandTop = m_cursor;
        double boxTop = box.top;
        qsizetype fit = linesThatFit(m_areaHeight - bandTop - boxTop, lineHeight);
        if (fit == 0 && count > 0 && bandTop > 0) {
            newPage();
            bandTop = 0;
            fit = linesThatFit(m_areaHeight - boxTop, lineHeight);
        }
        placeBand(band, bandTop, &box);

        qsizetype next = 0;
        for (;;) {
            // A line taller than a whole page still prints, one per page.
            const qsizetype take = std::min(std::max<qsizetype>(fit, 1), count - next);
            const double pieceTop = bandTop + boxTop;
            const bool last = next + take >= count;
            double pieceHeight = double(take) * lineHeight;
            if (last)
                pieceHeight = boxHeight - double(next) * lineHeight;
            pieceHeight = std::min(pieceHeight, std::max(0.0, m_areaHeight - pieceTop));

            PlacedItem &piece = place(box, bandTop, band.name, lines.mid(next, take));
            piece.item.top = m_t.marginTop() + pieceTop;
            piece.item.height = pieceHeight;
            next += take;
            if (last) {
                m_cursor = std::min(pieceTop + pieceHeight + bottomPad, m_areaHeight);
                return;
            }
            newPage();
            bandTop = 0;
            boxTop = 0;
            fit = linesThatFit(m_areaHeight, lineHeight);
        }
    }

    const ReportTemplate &m_t;
    const QString m_date;
    PreparedReport &m_out;
    const double m_areaHeight;
    double m_cursor = 0; // millimetres below the top margin on the current page
};

} // namespace

const PlacedItem *PreparedReport::find(int page, QStringView itemName) const
{
    if (page < 0 || page >= pageCount())
        return nullptr;
    for (const PlacedItem &p : pages.at(page).items) {
        if (p.item.name == itemName)
            return &p;
    }
    return nullptr;
}

QList<int> PreparedReport::pagesWith(QStringView itemName) const
{
    QList<int> result;
    for (int page = 0; page < pageCount(); ++page) {
        if (find(page, itemName))
            result.append(page);
    }
    return result;
}

QStringList PreparedReport::linesOf(QStringView itemName) const
{
    QStringList result;
    for (const PreparedPage &page : pages) {
        for (const PlacedItem &p : page.items) {
            if (p.item.name == itemName)
                result.append(p.item.lines);
        }
    }
    return result;
}

PreparedReport prepare(const ReportTemplate &report, const QString &date)
{
    PreparedReport out;
    out.name = report.name();
    out.info = report.documentInfo();
    out.orientation = report.orientation();
    out.pageWidth = report.pageWidth();
    out.pageHeight = report.pageHeight();

    Layout layout(report, date, out);
    for (const BandKind kind : { BandKind::Title, BandKind::Data, BandKind::Footer }) {
        for (const Band &band : report.bands()) {
            if (band.kind == kind)
                layout.band(band);
        }
    }
    return out;
}

PreparedReport prepare(const ReportTemplate &report)
{
    return prepare(report, Today());
}

QString pageNumberText(int page, int pageCount)
{
    return QStringLiteral("Pagina %1 di %2").arg(page).arg(pageCount);
}

void numberPages(PreparedReport &report, const Item &pattern)
{
    for (int page = 0; page < report.pageCount(); ++page) {
        PlacedItem number { pattern, QString() };
        number.item.kind = ItemKind::Text;
        number.item.multiLine = false;
        number.item.placeholders = false;
        number.item.text = pageNumberText(page + 1, report.pageCount());
        report.pages[page].items.append(number);
    }
}

} // namespace Report
