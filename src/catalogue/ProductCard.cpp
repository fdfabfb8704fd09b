#include "catalogue/ProductCard.h"

#include "records/ProductRecord.h"
#include "storage/TextForms.h"

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
    if (!TrimControl(product.value(ProductRecord::Codice)).isEmpty())
        return std::nullopt;
    return SaveFailure { { Notice::Kind::Warning,
                             QStringLiteral("Attenzione: per salvare la scheda è necessario "
                                            "indicare il codice articolo.") },
        QStringLiteral("txtCodice") };
}

} // namespace ProductCard
