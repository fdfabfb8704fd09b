#pragma once
#include "storage/Record.h"

#include <QList>
#include <QString>

// The supplier data a product takes from a supplier of the supplier archive: the
// company name, the preferred contact and the order details, each trimmed, paired with
// the product field that receives it. Nothing else of the product changes.
namespace SupplierImport {

struct Value
{
    int field; // of the product layout
    QString text;
};
QList<Value> productValues(const Record &supplier);

} // namespace SupplierImport
