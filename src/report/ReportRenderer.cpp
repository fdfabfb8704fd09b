#include "report/ReportRenderer.h"

#include "app/Messages.h"
#include "app/Palette.h"
#include "report/ReportPreview.h"
#include "storage/SafeFile.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

namespace Report {

namespace {

// Blank space between a text box's edge and its text, as report designers leave it.
constexpr double kTextPadding = 0.5;

class PagePainter
{
public:
    explicit PagePainter(QPainter &painter)
        : m_painter(painter)
        , m_scale(painter.device()->logicalDpiX() / 25.4)
    {
    }

    void paint(const PlacedItem &placed)
    {
        const Item &it = placed.item;
        m_painter.save();
        switch (it.kind) {
        case ItemKind::Text:
            paintText(it);
            break;
        case ItemKind::Line:
            paintLine(it);
            break;
        case ItemKind::Picture:
            paintPicture(it);
            break;
        case ItemKind::Bars:
            paintBars(it);
            break;
        }
        m_painter.restore();
    }

private:
    QRectF rect(double left, double top, double width, double height) const
    {
        return QRectF(left * m_scale, top * m_scale, width * m_scale, height * m_scale);
    }

    static QColor color(const QString &name, const QColor &fallback)
    {
        const QColor c = QColor::fromString(name);
        return c.isValid() ? c : fallback;
    }

    static QFont font(const FontSpec &look)
    {
        QFont f(look.family);
        f.setPointSizeF(look.pointSize);
        f.setBold(look.bold);
        return f;
    }

    static Qt::Alignment verticalFlag(VAlign a)
    {
        switch (a) {
        case VAlign::Top:
            return Qt::AlignTop;
        case VAlign::Center:
            return Qt::AlignVCenter;
        case VAlign::Bottom:
            return Qt::AlignBottom;
        }
        return Qt::AlignTop;
    }

    // Draws one line of text in area, aligned, cut at the area's edges. Only the
    // characters that show (a glyph cut by the edge included) are drawn, so the PDF text
    // holds what the page shows and not the rest of a long value.
    void drawLine(
        QString text, const QRectF &area, HAlign h, Qt::Alignment v, const QFontMetricsF &fm)
    {
        for (QChar &c : text) {
            if (c == u'\r' || c == u'\n' || c == u'\t')
                c = u' ';
        }
        const double width = fm.horizontalAdvance(text);
        double x = area.left();
        if (h == HAlign::Center)
            x = area.center().x() - width / 2;
        else if (h == HAlign::Right)
            x = area.right() - width;
        qsizetype from = 0;
        qsizetype to = text.size();
        if (width > area.width()) {
            auto advance = [&](qsizetype n) { return fm.horizontalAdvance(text.left(n)); };
            // First character whose right edge passes the left edge of the area.
            qsizetype lo = 0, hi = text.size();
            while (lo < hi) {
                const qsizetype mid = (lo + hi) / 2;
                if (x + advance(mid + 1) > area.left())
                    hi = mid;
                else
                    lo = mid + 1;
            }
            from = lo;
            // One past the last character whose left edge lies before the right edge.
            lo = from;
            hi = text.size();
            while (lo < hi) {
                const qsizetype mid = (lo + hi) / 2;
                if (x + advance(mid) < area.right())
                    lo = mid + 1;
                else
                    hi = mid;
            }
            to = lo;
            x += advance(from);
        }
        if (to <= from)
            return;
        const QRectF target(x, area.top(), width + area.width(), area.height());
        m_painter.drawText(
            target, int(Qt::AlignLeft | v | Qt::TextSingleLine), text.mid(from, to - from));
    }

    void paintText(const Item &it)
    {
        const QRectF box = rect(it.left, it.top, it.width, it.height);
        if (!it.fill.isEmpty())
            m_painter.fillRect(box, color(it.fill, QColor(Palette::kWhite)));
        m_painter.setClipRect(box);
        m_painter.setFont(font(it.font));
        m_painter.setPen(color(it.color, QColor(Palette::kBlack)));
        const QFontMetricsF fm(m_painter.font(), m_painter.device());
        const QRectF inner = box.adjusted(kTextPadding * m_scale, 0, -kTextPadding * m_scale, 0);
        if (!it.multiLine) {
            drawLine(it.text, inner, it.hAlign, verticalFlag(it.vAlign), fm);
            return;
        }
        const double pitch = it.lineHeight * m_scale;
        const QStringList &lines = it.lines;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QRectF area(inner.left(), inner.top() + double(i) * pitch, inner.width(), pitch);
            if (area.top() >= box.bottom())
                break;
            drawLine(lines.at(i), area, it.hAlign, Qt::AlignTop, fm);
        }
    }

    void paintLine(const Item &it)
    {
        QPen pen(color(it.color, QColor(Palette::kBlack)));
        pen.setWidthF(it.lineWidth * m_scale);
        pen.setCapStyle(Qt::FlatCap);
        m_painter.setPen(pen);
        const double y = it.top * m_scale;
        m_painter.drawLine(
            QPointF(it.left * m_scale, y), QPointF((it.left + it.width) * m_scale, y));
    }

    void paintPicture(const Item &it)
    {
        const QRectF box = rect(it.left, it.top, it.width, it.height);
        if (it.opaque)
            m_painter.fillRect(box, QColor(Palette::kWhite));
        for (const QString &source : it.sources) {
            QImage image(source);
            if (image.isNull())
                continue;
            if (it.opaque && image.hasAlphaChannel()) {
                // Flattened on white: the picture hides what lies beneath it.
                QImage flat(image.size(), QImage::Format_RGB32);
                flat.fill(QColor(Palette::kWhite));
                QPainter(&flat).drawImage(0, 0, image);
                image = flat;
            }
            QSizeF size = image.size();
            size.scale(box.size(), Qt::KeepAspectRatio);
            QRectF target(QPointF(), size);
            target.moveCenter(box.center());
            m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
            m_painter.drawImage(target, image);
            return;
        }
    }

    // Whole rectangles without smoothing: a PDF gets them as vectors, a printer as sharp
    // edges.
    void paintBars(const Item &it)
    {
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(QColor(Palette::kBlack));
        const QPointF corner(it.left, it.top);
        for (const QRectF &bar : it.bars) {
            const QRectF r = bar.translated(corner);
            m_painter.drawRect(rect(r.left(), r.top(), r.width(), r.height()));
        }
    }

    QPainter &m_painter;
    const double m_scale; // device units per millimetre
};

QPageLayout pageLayout(const PreparedReport &report)
{
    const bool portrait = report.orientation == Orientation::Portrait;
    const QSizeF paper = portrait ? QSizeF(report.pageWidth, report.pageHeight)
                                  : QSizeF(report.pageHeight, report.pageWidth);
    const QPageSize size(paper, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(size, portrait ? QPageLayout::Portrait : QPageLayout::Landscape,
        QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// The subject and the author have no setter on QPdfWriter; they travel in the document's
// XMP metadata (dc:description and dc:creator), which PDF readers show as such.
QByteArray xmpMetadata(const DocumentInfo &info)
{
    auto alt = [](const QString &text) {
        return QStringLiteral("<rdf:Alt><rdf:li xml:lang=\"x-default\">") + text.toHtmlEscaped()
            + QStringLiteral("</rdf:li></rdf:Alt>");
    };
    QString xml = QStringLiteral(
        "<?xpacket begin=\"\uFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
        " xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n");
    xml += QStringLiteral("<dc:format>application/pdf</dc:format>\n");
    if (!info.title.isEmpty())
        xml += QStringLiteral("<dc:title>") + alt(info.title) + QStringLiteral("</dc:title>\n");
    if (!info.subject.isEmpty())
        xml += QStringLiteral("<dc:description>") + alt(info.subject)
            + QStringLiteral("</dc:description>\n");
    if (!info.author.isEmpty())
        xml += QStringLiteral("<dc:creator><rdf:Seq><rdf:li>") + info.author.toHtmlEscaped()
            + QStringLiteral("</rdf:li></rdf:Seq></dc:creator>\n");
    if (!info.creator.isEmpty())
        xml += QStringLiteral("<xmp:CreatorTool>") + info.creator.toHtmlEscaped()
            + QStringLiteral("</xmp:CreatorTool>\n");
    xml += QStringLiteral("</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n"
                          "<?xpacket end=\"w\"?>");
    return xml.toUtf8();
}

} // namespace

void paintPage(const PreparedReport &report, int page, QPainter &painter)
{
    if (page < 0 || page >= report.pageCount())
        return;
    PagePainter pagePainter(painter);
    for (const PlacedItem &placed : report.pages.at(page).items)
        pagePainter.paint(placed);
}

bool render(const PreparedReport &report, QPagedPaintDevice &device, int first, int last,
    const PageProgress &progress)
{
    device.setPageLayout(pageLayout(report));
    if (first <= 0 || last <= 0) {
        first = 1;
        last = report.pageCount();
    }
    first = std::max(first, 1);
    last = std::min(last, report.pageCount());
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        paintPage(report, page - 1, painter);
        if (progress && !progress(page - first + 1, last - first + 1)) {
            painter.end();
            return false;
        }
    }
    return painter.end();
}

void setUpPrinter(QPrinter &printer, const PreparedReport &report)
{
    printer.setDocName(report.name);
    if (!report.info.creator.isEmpty())
        printer.setCreator(report.info.creator);
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(report));
}

bool printWith(QWidget *parent, QPrinter &printer, int pageCount,
    const std::function<bool(QPrinter &printer, int first, int last)> &paint)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Stampa"));
    dialog.setMinMax(1, std::max(1, pageCount));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // The dialog may have changed the paper; the origin stays at its corner.
    printer.setFullPage(true);
    const bool range = printer.printRange() == QPrinter::PageRange;
    const bool done = paint(printer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0);
    if (!done) {
        Messages::warning(parent,
            QStringLiteral("Attenzione: impossibile completare la stampa.\r\n"
                           "Verificare che la stampante sia accesa e "
                           "collegata, quindi riprovare."));
    }
    return true;
}

bool print(QWidget *parent, const PreparedReport &report, QPrinter &printer)
{
    setUpPrinter(printer, report);
    return printWith(
        parent, printer, report.pageCount(), [&report](QPrinter &device, int first, int last) {
            return render(report, device, first, last);
        });
}

void print(QWidget *parent, const PreparedReport &report)
{
    QPrinter printer(QPrinter::HighResolution);
    print(parent, report, printer);
}

void preview(QWidget *parent, const PreparedReport &report)
{
    ReportPreviewDialog dialog(report, parent);
    dialog.exec();
}

bool writePdf(const QString &path, const DocumentInfo &info,
    const std::function<bool(QPdfWriter &writer)> &paint, QString *error)
{
    QString why;
    const bool written = SafeFile::replace(
        path,
        [&](QIODevice &file) {
            QPdfWriter writer(&file);
            writer.setTitle(info.title);
            if (!info.creator.isEmpty())
                writer.setCreator(info.creator);
            writer.setDocumentXmpMetadata(xmpMetadata(info));
            return paint(writer);
        },
        &why);
    if (!written && error)
        *error = why == QStringLiteral("scrittura incompleta")
            ? QStringLiteral("impossibile scrivere il documento PDF")
            : why;
    return written;
}

bool exportPdf(const PreparedReport &report, const QString &path, QString *error)
{
    return writePdf(
        path, report.info, [&report](QPdfWriter &writer) { return render(report, writer); }, error);
}

} // namespace Report
