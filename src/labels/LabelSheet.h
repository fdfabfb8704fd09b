#pragma once
#include "labels/Barcode.h"
#include "report/PreparedReport.h"

#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Record;
namespace Storage {
class Session;
}

// Shelf and product labels as pure logic: the label formats (one table of geometry), where
// every label of a run falls on its sheets, what a label says and where each part of it
// goes, and the prepared report that the report engine previews, prints and writes as PDF.
namespace Labels {

// One label format: the paper, the grid of labels on it and the size of a label, in
// millimetres. left/top is the first label's corner; pitchX/pitchY the distance from one
// label's corner to the next one's (label size plus the gap between labels).
struct Format
{
    QString name; // as the format list shows it
    double pageWidth = 0;
    double pageHeight = 0;
    int columns = 1;
    int rows = 1;
    double labelWidth = 0;
    double labelHeight = 0;
    double left = 0;
    double top = 0;
    double pitchX = 0;
    double pitchY = 0;

    int perPage() const { return columns * rows; }
};

// Every format, in the order of the format list: the four A4 sheets and the roll label.
const QList<Format> &formats();

// Where one label prints: its page (0-based), its place on the page (0-based, row by row
// from the top-left label) and its rectangle on the page in millimetres.
struct Placement
{
    int page = 0;
    int slot = 0;
    QRectF rect;
};

// The places of count labels, the first one at slot firstSlot (0-based) of the first page,
// which reuses a sheet whose first labels are gone; the next pages start at their first
// slot. A firstSlot outside the page counts as 0.
QList<Placement> place(const Format &format, int count, int firstSlot);

// What one label says.
struct Content
{
    QString code; // trimmed
    QString description; // the description, or brand and model when it is empty
    QString price; // "€ 12,20"; empty when the stored price is not a number
    Barcode::Symbology symbology = Barcode::Symbology::None;
};
// The label of a product record (the product archive's layout).
Content contentOf(const Record &product);
// The price with VAT as a label shows it: "€ " and the amount with two decimals; empty
// when the text is not a number.
QString priceText(QStringView storedPrice);

// How many labels a product gets: copies, or with onePerPiece its stock when that is a
// whole number above zero (none otherwise).
int labelCount(QStringView storedStock, int copies, bool onePerPiece);

// The parts of a label, in millimetres from the label's corner.
struct Parts
{
    QRectF description;
    QRectF price;
    QRectF code; // the code as text, beside the price
    QRectF barcode; // the barcode with its quiet zones and digits, or the code alone
};
Parts partsOf(double labelWidth, double labelHeight);

struct Options
{
    int format = 0; // index into formats()
    int copies = 1;
    bool onePerPiece = false;
    int firstLabel = 1; // 1-based slot of the first label on the first sheet
    bool price = true;
};

// A product as the labels need it.
struct Product
{
    Content content;
    QString stock;
};
Product productOf(const Record &record);

// The products of a list screen, in the order of its lines: every record of the open
// product archive whose line (as lineOf builds it from the stored bytes) is one of lines;
// records with the same line are taken in archive order. Nothing when the archive cannot
// be read to its end.
std::optional<QList<Product>> productsOfLines(Storage::Session &archive, const QStringList &lines,
    const std::function<QString(QByteArrayView recordBytes)> &lineOf);

struct Sheets
{
    Report::PreparedReport report;
    int labels = 0;
    // The codes of the products whose labels carry no barcode, once each, in order.
    QStringList withoutBarcode;
};

// Lays the labels of products out on the pages of the chosen format, each product's
// labels one after the other, drawing barcodes with encoder.
Sheets build(
    const QList<Product> &products, const Options &options, const Barcode::Encoder &encoder);
// Told how many of the products are laid out so far (done of total); false stops the work.
using Progress = std::function<bool(qsizetype done, qsizetype total)>;
// The same, telling progress after each product (and once before the first); nothing when
// progress stopped it.
std::optional<Sheets> build(const QList<Product> &products, const Options &options,
    const Barcode::Encoder &encoder, const Progress &progress);

// The line the labels screen and the preview show about labels without a barcode, or an
// empty text when every label has one.
QString withoutBarcodeText(const QStringList &codes);

} // namespace Labels
