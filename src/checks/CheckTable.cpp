#include "checks/CheckTable.h"

#include "app/Palette.h"
#include "checks/CardNumber.h"
#include "checks/IbanCheck.h"
#include "checks/TaxCode.h"
#include "checks/VatNumber.h"

namespace Checks {

namespace {

const Check kChecks[] = {
    { u"TfrmCodFisc", u" Controllo codice fiscale",
        u"Immettere il codice fiscale e premere il pulsante di controllo.", u"txtCodFisc", 16,
        Typing::UpperCase, Palette::kCheckTaxCode, u"Codice fiscale",
        u"Verifica del carattere di controllo", u"CF", false, TaxCodeOutcome },
    { u"TfrmPartitaIva", u" Controllo partita IVA",
        u"Immettere il numero di partita IVA e premere il pulsante di controllo.", u"txtPartitaIva",
        11, Typing::Digits, Palette::kCheckVatNumber, u"Partita IVA",
        u"Verifica della cifra di controllo e dell'Ufficio IVA", u"IVA", false, VatNumberOutcome },
    { u"TfrmIban", u" Controllo IBAN", u"Immettere l'IBAN e premere il pulsante di controllo.",
        u"txtIban", 27, Typing::UpperCase, Palette::kCheckIban, u"IBAN",
        u"Verifica delle cifre di controllo (ISO 13616)", u"IBAN", false, IbanOutcome },
    { u"TfrmCarta", u" Controllo carta di credito",
        u"Immettere il numero di carta di credito e premere il pulsante di controllo.",
        u"txtNumero", 30, Typing::TrimmedDigits, Palette::kCheckPaymentCard, u"Carta di credito",
        u"Verifica della cifra di controllo e del circuito", u"", true, CardOutcome },
};

} // namespace

const Check &check(Kind kind)
{
    return kChecks[static_cast<int>(kind)];
}

} // namespace Checks
