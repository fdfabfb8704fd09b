#include "search/SupplierImport.h"

#include "records/SupplierRecord.h"
#include "storage/TextForms.h"

namespace SupplierImport {

QList<Value> productValues(const Record &supplier)
{
    // The supplier fields are no longer than the product fields that take them.
    return {
        { QStringLiteral("txtFornitore"), TrimControl(supplier.value(SupplierRecord::Ditta)) },
        { QStringLiteral("txtRecapiti"), TrimControl(supplier.value(SupplierRecord::Recapito)) },
        { QStringLiteral("txtOrdine"), TrimControl(supplier.value(SupplierRecord::Ordine)) },
    };
}

} // namespace SupplierImport
