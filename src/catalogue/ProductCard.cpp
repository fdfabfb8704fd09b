#include "catalogue/ProductCard.h"

#include "records/ProductRecord.h"

namespace ProductCard {

Record newProduct()
{
    using namespace ProductRecord;
    Record product(layout());
    for (int field : { Costo, Valore, Prezzo, Prezzo_con_Iva })
        product.setValue(field, kZeroAmount);
    for (int field : { PercIva, Giacenza, Sottoscorta })
        product.setValue(field, kZeroCount);
    return product;
}

std::optional<SaveFailure> saveCheck(const Record &product)
{
    return requireField(product, ProductRecord::Codice,
        QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il codice "
                       "articolo."),
        QStringLiteral("txtCodice"));
}

} // namespace ProductCard
