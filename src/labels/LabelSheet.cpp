#include "labels/LabelSheet.h"

#include "records/ProductRecord.h"
#include "storage/Record.h"
#include "storage/Session.h"
#include "storage/TextForms.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace Labels {

namespace {

constexpr char kFont[] = "Arial";
// Blank space inside a label's edge, in millimetres.
constexpr double kPadX = 2.5;
constexpr double kPadY = 1.5;
constexpr double kDescriptionHeight = 4.0;
constexpr double kPriceHeight = 5.5;
constexpr double kGap = 0.5;
// The code written as text when a label has no barcode.
constexpr double kCodeOnlyPoints = 12;

Report::Item textBox(const QString &name, const QString &text, const QRectF &box, double points,
    bool bold, Report::HAlign align, Report::VAlign valign = Report::VAlign::Center)
{
    Report::Item it;
    it.kind = Report::ItemKind::Text;
    it.name = name;
    it.text = text;
    it.left = box.left();
    it.top = box.top();
    it.width = box.width();
    it.height = box.height();
    it.font = { QString::fromLatin1(kFont), points, bold };
    it.hAlign = align;
    it.vAlign = valign;
    return it;
}

void add(Report::PreparedPage &page, Report::Item item)
{
    page.items.append({ std::move(item), QStringLiteral("etichetta") });
}

// Points of a font whose size is mm millimetres.
double pointsOf(double mm)
{
    return mm * 72.0 / 25.4;
}

} // namespace

const QList<Format> &formats()
{
    // name, paper, columns x rows, label size, first label's corner, pitch.
    static const QList<Format> all = {
        { QStringLiteral("A4, 3 x 8 etichette da 70 x 37 mm"), 210, 297, 3, 8, 70, 37, 0, 0.5, 70,
            37 },
        { QStringLiteral("A4, 3 x 7 etichette da 70 x 42,3 mm"), 210, 297, 3, 7, 70, 42.3, 0, 0.45,
            70, 42.3 },
        { QStringLiteral("A4, 2 x 7 etichette da 99,1 x 38,1 mm"), 210, 297, 2, 7, 99.1, 38.1, 4.65,
            15.15, 101.6, 38.1 },
        { QStringLiteral("A4, 4 x 10 etichette da 48,5 x 25,4 mm"), 210, 297, 4, 10, 48.5, 25.4, 8,
            21.5, 48.5, 25.4 },
        { QStringLiteral("Rotolo, etichetta singola da 62 x 29 mm"), 62, 29, 1, 1, 62, 29, 0, 0, 62,
            29 },
    };
    return all;
}

QList<Placement> place(const Format &format, int count, int firstSlot)
{
    QList<Placement> out;
    const int perPage = std::max(format.perPage(), 1);
    if (firstSlot < 0 || firstSlot >= perPage)
        firstSlot = 0;
    out.reserve(std::max(count, 0));
    int page = 0;
    int slot = firstSlot;
    for (int i = 0; i < count; ++i) {
        if (slot == perPage) {
            ++page;
            slot = 0;
        }
        const int row = slot / format.columns;
        const int column = slot % format.columns;
        out.append({ page, slot,
            QRectF(format.left + column * format.pitchX, format.top + row * format.pitchY,
                format.labelWidth, format.labelHeight) });
        ++slot;
    }
    return out;
}

QString priceText(QStringView storedPrice)
{
    if (!TextToNumber(TrimControlView(storedPrice)))
        return QString();
    return QStringLiteral("€ ") + FormatAmountText(storedPrice, 2);
}

Content contentOf(const Record &product)
{
    using namespace ProductRecord;
    Content c;
    c.code = TrimControl(product.value(Codice));
    c.description = TrimControl(product.value(Descrizione));
    if (c.description.isEmpty()) {
        c.description = TrimControl(
            TrimControl(product.value(Marca)) + u' ' + TrimControl(product.value(Modello)));
    }
    c.price = priceText(product.value(Prezzo_con_Iva));
    c.symbology = Barcode::choose(c.code);
    return c;
}

Product productOf(const Record &record)
{
    return { contentOf(record), TrimControl(record.value(ProductRecord::Giacenza)) };
}

std::optional<QList<Product>> productsOfLines(Storage::Session &archive, const QStringList &lines,
    const std::function<QString(QByteArrayView recordBytes)> &lineOf)
{
    // Each line to the rows that show it, first row first.
    QHash<QString, QList<qsizetype>> rows;
    for (qsizetype i = 0; i < lines.size(); ++i)
        rows[lines[i]].append(i);
    QList<std::optional<Product>> found(lines.size());
    const RecordLayout &layout = ProductRecord::layout();
    // Every field: a list's line may show any of them.
    const bool read = archive.scan({}, [&](qint64, QByteArrayView bytes) {
        const auto it = rows.find(lineOf(bytes));
        if (it != rows.end() && !it->isEmpty())
            found[it->takeFirst()] = productOf(Record::fromBytes(layout, bytes));
        return true;
    });
    if (!read)
        return std::nullopt;
    QList<Product> out;
    for (const std::optional<Product> &p : found) {
        if (p)
            out.append(*p);
    }
    return out;
}

int labelCount(QStringView storedStock, int copies, bool onePerPiece)
{
    if (!onePerPiece)
        return std::max(copies, 0);
    const std::optional<double> stock = TextToNumber(TrimControlView(storedStock));
    if (!stock || !std::isfinite(*stock) || *stock < 1 || *stock > 1e6)
        return 0;
    return int(std::floor(*stock));
}

Parts partsOf(double labelWidth, double labelHeight)
{
    Parts p;
    const double inner = labelWidth - 2 * kPadX;
    p.description = QRectF(kPadX, kPadY, inner, kDescriptionHeight);
    const double priceTop = kPadY + kDescriptionHeight;
    // "€ 1234,56" and a code of 13 digits side by side on the smallest label.
    p.price = QRectF(kPadX, priceTop, inner * 0.55, kPriceHeight);
    p.code = QRectF(kPadX + inner * 0.55, priceTop, inner * 0.45, kPriceHeight);
    const double barcodeTop = priceTop + kPriceHeight + kGap;
    p.barcode = QRectF(kPadX, barcodeTop, inner, std::max(labelHeight - kPadY - barcodeTop, 0.0));
    return p;
}

Sheets build(
    const QList<Product> &products, const Options &options, const Barcode::Encoder &encoder)
{
    return *build(products, options, encoder, {});
}

std::optional<Sheets> build(const QList<Product> &products, const Options &options,
    const Barcode::Encoder &encoder, const Progress &progress)
{
    if (progress && !progress(0, products.size()))
        return std::nullopt;
    Sheets out;
    const QList<Format> &all = formats();
    const Format &format = all.at(std::clamp(options.format, 0, int(all.size()) - 1));
    Report::PreparedReport &report = out.report;
    report.name = QStringLiteral("Etichette");
    report.info.title = QStringLiteral("Etichette");
    report.info.creator = QStringLiteral("Merventa 2.0");
    // The engine turns landscape paper (the roll label) round itself.
    report.orientation = format.pageWidth > format.pageHeight ? Report::Orientation::Landscape
                                                              : Report::Orientation::Portrait;
    report.pageWidth = format.pageWidth;
    report.pageHeight = format.pageHeight;

    QList<int> counts;
    for (const Product &p : products) {
        counts.append(labelCount(p.stock, options.copies, options.onePerPiece));
        out.labels += counts.back();
    }
    const QList<Placement> places = place(format, out.labels, options.firstLabel - 1);
    if (!places.isEmpty())
        report.pages.resize(places.back().page + 1);

    const Parts parts = partsOf(format.labelWidth, format.labelHeight);
    int next = 0;
    for (qsizetype i = 0; i < products.size(); ++i) {
        if (progress && i > 0 && !progress(i, products.size()))
            return std::nullopt;
        if (counts[i] == 0)
            continue;
        const Content &c = products[i].content;
        // One drawing per product: its copies differ only in where they print.
        std::optional<Barcode::Shape> shape;
        if (c.symbology != Barcode::Symbology::None && encoder)
            shape = encoder(c.symbology, c.code, parts.barcode.width(), parts.barcode.height());
        if (!shape && !out.withoutBarcode.contains(c.code))
            out.withoutBarcode.append(c.code);
        for (int copy = 0; copy < counts[i]; ++copy) {
            const Placement &at = places[next++];
            Report::PreparedPage &page = report.pages[at.page];
            const QPointF corner = at.rect.topLeft();
            add(page,
                textBox(QStringLiteral("descrizione"), c.description,
                    parts.description.translated(corner), 8, false, Report::HAlign::Left));
            if (options.price && !c.price.isEmpty()) {
                add(page,
                    textBox(QStringLiteral("prezzo"), c.price, parts.price.translated(corner), 12,
                        true, Report::HAlign::Left));
            }
            const QRectF area = parts.barcode.translated(corner);
            if (!shape) {
                add(page,
                    textBox(QStringLiteral("codice"), c.code, area, kCodeOnlyPoints, true,
                        Report::HAlign::Center));
                continue;
            }
            add(page,
                textBox(QStringLiteral("codice"), c.code, parts.code.translated(corner), 7, false,
                    Report::HAlign::Right));
            // The barcode centred in its area, at the bottom.
            const QPointF origin(
                area.left() + (area.width() - shape->width) / 2, area.bottom() - shape->height);
            Report::Item bars;
            bars.kind = Report::ItemKind::Bars;
            bars.name = QStringLiteral("barre");
            bars.left = origin.x();
            bars.top = origin.y();
            bars.width = shape->width;
            bars.height = shape->height;
            bars.bars = shape->bars;
            add(page, std::move(bars));
            for (const Barcode::Text &t : shape->texts) {
                // A box as wide as the barcode, centred on the text's point, holding the
                // font's height above the baseline and a little below it.
                const double top = origin.y() + t.baseline - t.height * 0.8;
                const QRectF box(
                    origin.x() + t.x - shape->width / 2, top, shape->width, t.height * 1.05);
                add(page,
                    textBox(QStringLiteral("cifre"), t.text, box, pointsOf(t.height), false,
                        Report::HAlign::Center, Report::VAlign::Bottom));
            }
        }
    }
    if (progress && !progress(products.size(), products.size()))
        return std::nullopt;
    return out;
}

QString withoutBarcodeText(const QStringList &codes)
{
    if (codes.isEmpty())
        return QString();
    return QStringLiteral("Senza codice a barre (codice non rappresentabile o troppo lungo per "
                          "l'etichetta): %1.")
        .arg(codes.join(QStringLiteral(", ")));
}

} // namespace Labels
