#pragma once
#include "labels/Barcode.h"

// The barcode encoder of the labels, on libzint: bars and human-readable digits as
// vectors, with the quiet zones of the symbology. Kept in a library of its own, as the
// only part of the program that links libzint.
namespace ZintBarcode {

// A Barcode::Encoder: the code drawn to fit width x height mm, or nothing when it cannot
// be encoded or does not fit at the smallest readable module width.
std::optional<Barcode::Shape> encode(
    Barcode::Symbology symbology, const QString &code, double width, double height);

} // namespace ZintBarcode
