#include "catalogue/ProductCardReport.h"

#include "records/ProductRecord.h"
#include "storage/Record.h"
#include "storage/TextForms.h"

CardContent productCardContent(const Record &product, const QString &date, const QString &time)
{
    using namespace ProductRecord;
    static const struct
    {
        const char16_t *caption;
        Field field;
    } rows[] = {
        { u"Codice articolo:", Codice },
        { u"Tipologia:", Tipologia },
        { u"Marca:", Marca },
        { u"Modello:", Modello },
        { u"Descrizione:", Descrizione },
        { u"Accessori:", Accessori },
        { u"Fornitore:", Fornitore },
        { u"Recapito preferenziale:", Recapiti },
        { u"Data acquisto:", Data },
        { u"Documento acquisto:", Documento },
        { u"Modalità ordine merce:", Ordine },
        { u"Giacenza:", Giacenza },
        { u"Costo:", Costo },
        { u"Valore (costo x giacenza):", Valore },
        { u"Preavviso sottoscorta:", Sottoscorta },
        { u"Prezzo:", Prezzo },
        { u"Aliquota IVA:", PercIva },
        { u"Prezzo con IVA:", Prezzo_con_Iva },
        { u"Collocazione in magazzino:", Collocazione },
        // The card's hidden dimension fields print under these captions.
        { u"Altezza:", Consumo },
        { u"Larghezza:", Aderenza },
        { u"Lunghezza:", Rumore },
        { u"Scadenza:", Onde },
        { u"Note:", Note },
    };

    CardContent content;
    content.title = QStringLiteral("SCHEDA ARTICOLO");
    for (const auto &row : rows) {
        QString value = TrimControl(product.value(row.field));
        if (row.field == Sottoscorta)
            value += QStringLiteral(" pezzi rimasti");
        content.rows.append({ QString::fromUtf16(row.caption), value });
    }
    content.footer
        = QStringLiteral("Stampa eseguita in data ") + date + QStringLiteral(" alle ore ") + time;
    return content;
}
