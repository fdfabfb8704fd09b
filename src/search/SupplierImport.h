#pragma once
#include "storage/Record.h"

#include <QList>
#include <QString>

// The supplier data a product takes from a supplier of the supplier archive: the
// company name, the preferred contact and the order details, each trimmed, paired with
// the objectName of the product card's control that receives it. Nothing else of the
// product changes.
namespace SupplierImport {

struct Value
{
    QString control;
    QString text;
};
QList<Value> productValues(const Record &supplier);

} // namespace SupplierImport
