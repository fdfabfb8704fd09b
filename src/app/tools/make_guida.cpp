// Writes the help document Guida.pdf from the program's help texts: a title page, a table
// of contents and one chapter per topic. Run at build time:
//   make_guida <output.pdf> <logo.png>
#include "app/HelpTexts.h"
#include "app/Maker.h"
#include "app/Palette.h"
#include "storage/SafeFile.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cstdio>

namespace {

constexpr int kDpi = 300;
const QString kFamily = QStringLiteral("Arial");
const QColor kDarkBlue(Palette::kTitleBlue);
const QColor kSteelBlue(Palette::kSteelBlue);
const QColor kOrange(Palette::kOrange);
const QColor kGrey(Palette::kSubtitleGrey);

double mm(double millimetres)
{
    return millimetres * kDpi / 25.4;
}

// Chapter titles drop the full stop that ends a topic title in the help window.
QString chapterTitle(const QString &title)
{
    return title.endsWith(u'.') ? title.chopped(1) : title;
}

QFont font(double points, bool bold = false)
{
    QFont f(kFamily);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

void drawTitlePage(QPainter &painter, const QRectF &page, const QImage &logo)
{
    const QRectF band(0, 0, page.width(), mm(120));
    QLinearGradient gradient(band.topLeft(), band.bottomLeft());
    gradient.setColorAt(0, QColor(Palette::kGuideBandTop));
    gradient.setColorAt(1, kDarkBlue);
    painter.fillRect(band, gradient);
    painter.fillRect(QRectF(0, band.bottom(), page.width(), mm(2.5)), kOrange);

    const QRectF logoRect(page.center().x() - mm(22), mm(18), mm(44), mm(44));
    painter.drawImage(logoRect, logo);

    painter.setPen(QColor(Palette::kWhite));
    painter.setFont(font(40, true));
    painter.drawText(
        QRectF(0, mm(68), page.width(), mm(22)), Qt::AlignCenter, QStringLiteral("Merventa 2.0"));
    painter.setFont(font(15));
    painter.drawText(QRectF(0, mm(92), page.width(), mm(12)), Qt::AlignCenter,
        QStringLiteral("Gestione di magazzino, clienti e fornitori"));

    painter.setPen(kDarkBlue);
    painter.setFont(font(26, true));
    painter.drawText(QRectF(0, mm(150), page.width(), mm(20)), Qt::AlignCenter,
        QStringLiteral("Guida all'utilizzo del software"));
    painter.setPen(kGrey);
    painter.setFont(font(14));
    painter.drawText(
        QRectF(0, mm(172), page.width(), mm(12)), Qt::AlignCenter, QStringLiteral("Versione 2.0"));

    painter.setPen(QPen(kSteelBlue, mm(0.3)));
    painter.drawLine(QPointF(mm(30), page.height() - mm(40)),
        QPointF(page.width() - mm(30), page.height() - mm(40)));
    painter.setPen(kGrey);
    painter.setFont(font(11));
    painter.drawText(
        QRectF(0, page.height() - mm(36), page.width(), mm(8)), Qt::AlignCenter, Maker::name());
    painter.drawText(QRectF(0, page.height() - mm(29), page.width(), mm(8)), Qt::AlignCenter,
        Maker::webSiteText() + QStringLiteral("  \u2013  ") + Maker::email());
}

// Every paragraph of the guide in order, as the body shows them.
QStringList allParagraphs(const QStringList &keys)
{
    QStringList paragraphs;
    for (const QString &key : keys)
        paragraphs += helpTopic(key).paragraphs;
    return paragraphs;
}

// The body of the guide as HTML; pageOfChapter gives the page number shown in the
// contents for each chapter (empty on the first pass, before the layout is known), and
// breakBefore the paragraphs (by their place in allParagraphs) that start a new page.
QString bodyHtml(
    const QStringList &keys, const QList<int> &pageOfChapter, const QSet<int> &breakBefore)
{
    const QLatin1StringView titleColour(Palette::kTitleBlue);
    QString html = QStringLiteral("<html><body><h1 style='color:") + titleColour
        + QStringLiteral("; font-size:22pt; margin-bottom:20px'>Indice</h1>"
                         "<table width='100%' cellspacing='0' cellpadding='5' "
                         "style='margin-top:16px'>");
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString page = i < pageOfChapter.size() ? QString::number(pageOfChapter.at(i))
                                                      : QStringLiteral("00");
        html += QStringLiteral("<tr><td style='font-size:12pt'>%1.&nbsp;&nbsp;%2</td>"
                               "<td align='right' style='font-size:12pt'>%3</td></tr>")
                    .arg(QString::number(i + 1),
                        chapterTitle(helpTopic(keys.at(i)).title).toHtmlEscaped(), page);
    }
    html += QStringLiteral("</table>");
    int paragraphIndex = 0;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const HelpTopic topic = helpTopic(keys.at(i));
        html += QStringLiteral("<h1 style='page-break-before:always; color:%3; "
                               "font-size:20pt; margin-bottom:20px'>%1.&nbsp;&nbsp;%2</h1>")
                    .arg(QString::number(i + 1), chapterTitle(topic.title).toHtmlEscaped(),
                        titleColour);
        for (const QString &paragraph : topic.paragraphs) {
            const QString pageBreak = breakBefore.contains(paragraphIndex++)
                ? QStringLiteral("page-break-before:always; ")
                : QString();
            html += QStringLiteral("<p align='justify' style='%1font-size:11.5pt; "
                                   "line-height:140%; margin-bottom:4px'>%2</p>")
                        .arg(pageBreak, paragraph.toHtmlEscaped());
        }
    }
    html += QStringLiteral("</body></html>");
    return html;
}

// The first paragraph (by its place in paragraphs) that runs over a page end, or -1. The
// layout would split it between lines, and each of the two pages, although it clips the
// other's lines away, would still carry their text inside the PDF; such a paragraph moves
// to the top of the next page instead.
int firstSplitParagraph(
    const QTextDocument &document, const QStringList &paragraphs, double pageHeight)
{
    int index = 0;
    for (QTextBlock block = document.begin(); block.isValid() && index < paragraphs.size();
         block = block.next()) {
        if (block.text() != paragraphs.at(index))
            continue;
        const QRectF box = document.documentLayout()->blockBoundingRect(block);
        const QTextLine last = block.layout()->lineAt(block.layout()->lineCount() - 1);
        const double textBottom = box.top() + last.y() + last.height();
        if (int(box.top() / pageHeight) != int((textBottom - 1) / pageHeight)
            && textBottom - box.top() < pageHeight)
            return index;
        ++index;
    }
    return -1;
}

// The body page (0-based, after the title page) on which each chapter heading starts.
QList<int> chapterPages(const QTextDocument &document, qsizetype chapters, double pageHeight)
{
    QList<int> pages;
    bool contentsSeen = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1)
            continue;
        if (!contentsSeen) {
            contentsSeen = true;
            continue;
        }
        const QRectF box = document.documentLayout()->blockBoundingRect(block);
        pages.append(int(box.top() / pageHeight));
    }
    return pages.size() == chapters ? pages : QList<int>();
}

// An orange rule under every heading of a body page.
void drawHeadingRules(
    QPainter &painter, const QTextDocument &document, const QRectF &body, int bodyPage)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1)
            continue;
        const QRectF box = document.documentLayout()->blockBoundingRect(block);
        if (int(box.top() / body.height()) != bodyPage)
            continue;
        const QTextLine last = block.layout()->lineAt(block.layout()->lineCount() - 1);
        const double y = body.top() + box.top() + last.y() + last.height()
            - bodyPage * body.height() + mm(1.5);
        painter.fillRect(QRectF(body.left(), y, body.width(), mm(0.7)), kOrange);
    }
}

void drawFooter(QPainter &painter, const QRectF &page, int pageNumber)
{
    const double y = page.height() - mm(16);
    painter.setPen(QPen(kSteelBlue, mm(0.25)));
    painter.drawLine(QPointF(mm(22), y), QPointF(page.width() - mm(22), y));
    painter.setPen(kGrey);
    painter.setFont(font(9));
    const QRectF line(mm(22), y + mm(1.5), page.width() - mm(44), mm(6));
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Merventa 2.0 \u2013 Guida all'utilizzo del software"));
    painter.drawText(
        line, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Pagina %1").arg(pageNumber));
}

bool drawGuide(QIODevice &file, const QImage &logo);

bool writeGuide(const QString &output, const QImage &logo)
{
    return SafeFile::replace(output, [&logo](QIODevice &file) { return drawGuide(file, logo); });
}

bool drawGuide(QIODevice &file, const QImage &logo)
{
    QPdfWriter writer(&file);
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QStringLiteral("Merventa 2.0 - Guida all'utilizzo del software"));
    writer.setCreator(QStringLiteral("Merventa 2.0"));

    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QRectF page(0, 0, writer.width(), writer.height());
    const QRectF body(mm(22), mm(22), page.width() - mm(44), page.height() - mm(48));

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.setDefaultFont(font(11.5));
    document.setDocumentMargin(0);
    document.setPageSize(body.size());

    // Each moved paragraph shifts the rest, so the layout is redone after every move; the
    // contents' page numbers come last and take the same room as their placeholders.
    const QStringList keys = helpDocumentOrder();
    const QStringList paragraphs = allParagraphs(keys);
    QSet<int> breaks;
    for (;;) {
        document.setHtml(bodyHtml(keys, {}, breaks));
        const int split = firstSplitParagraph(document, paragraphs, body.height());
        if (split < 0)
            break;
        breaks.insert(split);
    }
    QList<int> pages = chapterPages(document, keys.size(), body.height());
    for (int &p : pages)
        p += 2; // the title page is page 1
    document.setHtml(bodyHtml(keys, pages, breaks));

    drawTitlePage(painter, page, logo);
    const int bodyPages = document.pageCount();
    for (int i = 0; i < bodyPages; ++i) {
        writer.newPage();
        painter.save();
        painter.translate(body.left(), body.top() - i * body.height());
        const QRectF clip(0, i * body.height(), body.width(), body.height());
        painter.setClipRect(clip);
        // A paragraph ending exactly at the page edge must not be drawn on the next page too.
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip.adjusted(0, mm(1), 0, -mm(1));
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        drawHeadingRules(painter, document, body, i);
        drawFooter(painter, page, i + 2);
    }
    // A failed end() leaves no half-written Guida.pdf behind.
    return painter.end();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: make_guida <Guida.pdf> <logo.png>\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QImage logo(QString::fromLocal8Bit(argv[2]));
    if (logo.isNull()) {
        std::fprintf(stderr, "make_guida: logo non leggibile: %s\n", argv[2]);
        return 1;
    }
    QDir().mkpath(QFileInfo(output).absolutePath());
    if (!writeGuide(output, logo)) {
        std::fprintf(stderr, "make_guida: impossibile scrivere %s\n", argv[1]);
        return 1;
    }
    return 0;
}
