#include "suppliers/SupplierCard.h"

#include "records/SupplierRecord.h"
#include "storage/Record.h"
#include "storage/TextForms.h"

#include <algorithm>

namespace SupplierCard {

QString recontactText(bool checked)
{
    return checked ? QStringLiteral("Sì") : QStringLiteral("No");
}

bool recontactChecked(QStringView stored)
{
    return TrimControl(stored) == recontactText(true);
}

std::optional<SaveFailure> saveCheck(const Record &supplier)
{
    return requireField(supplier, SupplierRecord::Ditta,
        QStringLiteral("Attenzione: per salvare la scheda è necessario indicare la "
                       "denominazione della Ditta fornitrice."),
        QStringLiteral("txtDitta"));
}

Record newSupplier()
{
    Record supplier(SupplierRecord::layout());
    supplier.setValue(SupplierRecord::Ricontatta, recontactText(false));
    return supplier;
}

CardContent cardContent(const Record &supplier, const QString &date, const QString &time)
{
    using namespace SupplierRecord;
    static const struct
    {
        const char16_t *caption;
        int field;
    } rows[] = {
        { u"Denominazione Ditta:", Ditta },
        { u"Titolare o responsabile:", Titolare },
        { u"Recapito preferenziale:", Recapito },
        { u"Indirizzo:", IndirizzoRes },
        { u"Città:", ComuneRes },
        { u"Provincia:", ProvRes },
        { u"CAP:", CapRes },
        { u"Modalità pagamento:", Pagamento },
        { u"Tel. casa:", TelCasa },
        { u"Tel. ufficio:", TelUff },
        { u"Tel. cellulare:", TelCel },
        { u"Fax:", Fax },
        { u"E-mail:", Email },
        { u"Codice fiscale:", CodFisc },
        { u"Partita IVA:", PartitaIva },
        { u"Carta di credito n.", Carta },
        { u"Scadenza carta di credito:", ScadeCarta },
        { u"IBAN:", Iban },
        { u"Articoli forniti:", Articoli },
        { u"Offerte e sconti:", Offerte },
        { u"Modalità di ordine merce:", Ordine },
        { u"Questioni in sospeso:", Questioni },
        { u"Da ricontattare:", Ricontatta },
        { u"Note:", Note },
    };

    CardContent content;
    content.title = QStringLiteral("SCHEDA ANAGRAFICA FORNITORE");
    for (const auto &row : rows) {
        const QString stored = supplier.value(row.field);
        const QString value = row.field == Ricontatta ? recontactText(recontactChecked(stored))
                                                      : TrimControl(stored);
        content.rows.append({ QString::fromUtf16(row.caption), value });
    }
    content.footer
        = QStringLiteral("Stampa eseguita in data ") + date + QStringLiteral(" alle ore ") + time;
    return content;
}

} // namespace SupplierCard
