#pragma once
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

// Which barcode a product code gets on a label, and the shape of a drawn barcode. The
// product code is the barcode: a shop's goods carry EAN codes, anything else the archive
// can hold is written as Code 128. Pure logic; the bars themselves come from the encoder
// (ZintBarcode), which fills a Shape.
namespace Barcode {

enum class Symbology {
    None, // no barcode: the code is printed as text only
    Ean13, // 13 digits, valid check digit
    Ean8, // 8 digits, valid check digit
    UpcA, // 12 digits, valid check digit
    Code128 // printable ASCII, at most the code's capacity
};

// The longest code the product archive holds.
inline constexpr int kMaxCodeLength = 30;

// The symbology of a code, taken trimmed (characters of code 32 or less at both ends).
// Digits only with a valid GS1 check digit: EAN-13, EAN-8, UPC-A by length; otherwise
// Code 128 when every character is printable ASCII (space to '~') and the code fits the
// archive; otherwise none. Characters outside ASCII get no barcode: scanners read them
// back differently, and a label must give back exactly the product's code.
Symbology choose(QStringView code);

// True when digits is all digits (at least two) and its last digit is the GS1 check digit
// of the others.
bool hasValidCheckDigit(QStringView digits);

// The symbology's name as the labels screen shows it ("EAN-13", "Code 128", ...).
QString name(Symbology symbology);

// A barcode drawn as vectors, in millimetres from the top-left corner of its area: the
// bars, and the human-readable texts of the symbology (EAN digit groups, the Code 128
// text) with the point where each text's baseline is centred and its size.
struct Text
{
    QString text;
    double x = 0; // centre of the text
    double baseline = 0;
    double height = 0; // the font's size in millimetres
};
struct Shape
{
    double width = 0; // quiet zones included
    double height = 0; // human-readable text included
    QList<QRectF> bars;
    QList<Text> texts;
};

// Draws a code in the given symbology to fit an area of width x height mm (quiet zones
// and human-readable text included), with the largest module width up to the nominal one
// that fits; nothing when the code cannot be encoded or does not fit at the smallest
// readable module width. Shapes are made by the encoder library (ZintBarcode); the label
// pages are laid out without knowing it.
using Encoder = std::function<std::optional<Shape>(
    Symbology symbology, const QString &code, double width, double height)>;

// The module width a code gets on an area of width mm: the largest width up to the
// symbology's nominal one that fits, or nothing when even the smallest readable width
// does not (the label then shows the code as text only).
std::optional<double> moduleWidth(Symbology symbology, int modules, double width);

// The smallest and the nominal module width of a symbology (mm).
double minimumModule(Symbology symbology);
double nominalModule(Symbology symbology);

} // namespace Barcode
