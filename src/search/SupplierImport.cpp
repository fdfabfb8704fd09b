#include "search/SupplierImport.h"

#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "storage/TextForms.h"

namespace SupplierImport {

QList<Value> productValues(const Record &supplier)
{
    // The supplier fields are no longer than the product fields that take them.
    return {
        { ProductRecord::Fornitore, TrimControl(supplier.value(SupplierRecord::Ditta)) },
        { ProductRecord::Recapiti, TrimControl(supplier.value(SupplierRecord::Recapito)) },
        { ProductRecord::Ordine, TrimControl(supplier.value(SupplierRecord::Ordine)) },
    };
}

} // namespace SupplierImport
