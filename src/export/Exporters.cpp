#include "export/Exporters.h"

#include "catalogue/MovementRecord.h"
#include "catalogue/ProductRecord.h"
#include "customers/CustomerRecord.h"
#include "suppliers/SupplierRecord.h"

#include <array>

namespace Export {

namespace {

enum Flag { None = 0, Editable = 1, Right = 2, Amount = 4, Count = 8, Code = 16 };

constexpr Column col(QStringView gridHeader, QStringView fileHeader, int fileWidth, int gridWidth,
    const char *field, int flags = None, const char *joinedField = nullptr)
{
    return { gridHeader, fileHeader, fileWidth, gridWidth, field, joinedField,
        (flags & Right) ? Align::Right : Align::Left, (flags & Editable) != 0,
        (flags & Amount)      ? CellType::Amount
            : (flags & Count) ? CellType::Count
                              : CellType::Text,
        (flags & Code) != 0 };
}

// Columns 19 to 22 carry the four further product values under the captions the other
// information dialog gives them.
constexpr std::array<Column, 23> kProductColumns = {
    col(u"Codice articolo", u"Codice articolo", 250, 150, "Codice", Code),
    col(u"Tipologia", u"Tipologia", 250, 150, "Tipologia"),
    col(u"Marca", u"Marca", 250, 150, "Marca"),
    col(u"Modello", u"Modello", 250, 150, "Modello"),
    col(u"Descrizione", u"Descrizione", 400, 350, "Descrizione"),
    col(u"Accessori", u"Accessori", 400, 350, "Accessori", Editable),
    col(u"Fornitore", u"Fornitore", 250, 200, "Fornitore"),
    col(u"Recapito preferenziale", u"Recapito preferenziale", 250, 250, "Recapiti", Code),
    col(u"Data acquisto", u"Data acquisto", 200, 100, "Data"),
    col(u"Estremi documento di acquisto", u"Estremi documento acquisto", 350, 350, "Documento"),
    col(u"Modalità ordine merce", u"Modalità ordine merce", 350, 250, "Ordine"),
    col(u"Giacenza", u"Giacenza", 200, 100, "Giacenza", Count),
    col(u"Costo", u"Costo", 200, 100, "Costo", Amount),
    col(u"Valore", u"Valore", 200, 100, "Valore", Amount),
    col(u"Prezzo senza IVA", u"Prezzo senza IVA", 200, 100, "Prezzo", Amount),
    col(u"Perc. IVA", u"Perc. IVA", 150, 100, "PercIva", Count),
    col(u"Prezzo con IVA", u"Prezzo con IVA", 200, 100, "Prezzo_con_Iva", Amount),
    col(u"Collocazione in magazzino", u"Collocazione in magazzino", 350, 300, "Collocazione"),
    col(u"Altezza", u"Altezza", 200, 200, "Consumo", Editable),
    col(u"Larghezza", u"Larghezza", 200, 200, "Aderenza", Editable),
    col(u"Lunghezza", u"Lunghezza", 200, 200, "Rumore", Editable),
    col(u"Scadenza", u"Scadenza", 200, 200, "Onde", Editable),
    col(u"Note", u"Note", 400, 350, "Note"),
};

constexpr std::array<Column, 9> kLoadColumns = {
    col(u"Data carico", u"Data carico", 180, 120, "Data"),
    col(u"Ora carico", u"Ora carico", 180, 120, "Ora", Editable),
    col(u"Codice articolo", u"Codice articolo", 200, 180, "Codice", Editable | Code),
    col(u"Tipologia", u"Tipologia", 250, 250, "Tipologia"),
    col(u"Marca", u"Marca", 250, 250, "Marca"),
    col(u"Modello", u"Modello", 250, 250, "Modello", Editable),
    col(u"Pezzi caricati", u"Pezzi caricati", 180, 120, "Quantita", Right | Count),
    col(u"Costo unitario", u"Costo unitario", 180, 150, "Importo", Right | Amount),
    col(u"Note", u"Note", 300, 300, "Note", Editable),
};

constexpr std::array<Column, 9> kUnloadColumns = {
    col(u"Data scarico", u"Data scarico", 180, 120, "Data"),
    col(u"Ora scarico", u"Ora scarico", 180, 120, "Ora", Editable),
    col(u"Codice articolo", u"Codice articolo", 200, 180, "Codice", Editable | Code),
    col(u"Tipologia", u"Tipologia", 250, 250, "Tipologia"),
    col(u"Marca", u"Marca", 250, 250, "Marca"),
    col(u"Modello", u"Modello", 250, 250, "Modello", Editable),
    col(u"Pezzi scaricati", u"Pezzi scaricati", 180, 120, "Quantita", Right | Count),
    col(u"Prezzo unitario", u"Prezzo unitario", 180, 150, "Importo", Right | Amount),
    col(u"Note", u"Note", 300, 300, "Note", Editable),
};

// Customers: the name column joins surname and first name.
constexpr std::array<Column, 25> kCustomerColumns = {
    col(u"Cognome e nome Cliente", u"Cognome e nome Cliente", 250, 250, "Cognome", None, "Nome"),
    col(u"Codice fiscale", u"Codice fiscale", 200, 150, "CodFisc", Code),
    col(u"Data di nascita", u"Data di nascita", 200, 120, "DataNasc"),
    col(u"Comune / Stato estero di nascita", u"Comune di nascita", 250, 250, "ComuneNasc"),
    col(u"Partita IVA", u"Partita IVA", 200, 150, "Iva", Editable | Code),
    col(u"Indirizzo di residenza", u"Indirizzo di residenza", 250, 250, "Indirizzo"),
    col(u"Comune di residenza", u"Città di residenza", 250, 250, "ComuneRes", Editable),
    col(u"Recapito preferenziale", u"Recapito preferenziale", 250, 200, "Recapito", Code),
    col(u"Tel. casa", u"Tel. casa", 200, 200, "TelCasa", Editable | Code),
    col(u"Tel. cellulare", u"Tel. cellulare", 200, 200, "TelCel", Code),
    col(u"E-mail", u"E-mail", 250, 250, "Email"),
    col(u"Professione", u"Professione", 250, 250, "Professione"),
    col(u"IBAN", u"IBAN", 300, 250, "Iban", Editable | Code),
    col(u"Intestatario C/C", u"Intestatario C/C", 250, 250, "Intestatario"),
    col(u"Modalità di pagamento", u"Modalità di pagamento", 250, 250, "Pagamento"),
    col(u"Prodotti e servizi di interesse", u"Prodotti e servizi di interesse", 300, 300,
        "Prodotti"),
    col(u"Tipo documento", u"Tipo documento", 250, 250, "TipoDoc", Editable),
    col(u"Numero documento", u"Numero documento", 250, 200, "NumDoc", Editable | Code),
    col(u"Ente di rilascio", u"Ente di rilascio", 250, 250, "EnteRil", Editable),
    col(u"Data rilascio", u"Data di rilascio", 200, 200, "DataRil", Editable),
    col(u"Data scadenza", u"Data di scadenza", 200, 200, "DataSca"),
    col(u"Codice Cliente", u"Codice Cliente", 250, 250, "Codice", Editable | Code),
    col(u"Categoria", u"Categoria", 250, 250, "Categoria"),
    col(u"Zona di appartenenza", u"Zona di appartenenza", 250, 250, "Zona"),
    col(u"Note", u"Note", 300, 300, "Note", Editable),
};

// Suppliers: the city column joins the town and its province.
constexpr std::array<Column, 22> kSupplierColumns = {
    col(u"Denominazione Ditta", u"Denominazione Ditta", 250, 250, "Ditta"),
    col(u"Titolare o responsabile", u"Titolare o responsabile", 250, 250, "Titolare"),
    col(u"Recapito preferenziale", u"Recapito preferenziale", 250, 200, "Recapito", Code),
    col(u"Indirizzo", u"Indirizzo", 300, 250, "IndirizzoRes"),
    col(u"Città", u"Città", 250, 250, "ComuneRes", Editable, "ProvRes"),
    col(u"CAP", u"CAP", 150, 100, "CapRes", Editable | Code),
    col(u"Modalità di pagamento", u"Modalità di pagamento", 250, 250, "Pagamento"),
    col(u"Tel. casa", u"Tel. casa", 250, 200, "TelCasa", Code),
    col(u"Tel. ufficio", u"Tel. ufficio", 250, 200, "TelUff", Code),
    col(u"Tel. cellulare", u"Tel. cellulare", 250, 200, "TelCel", Code),
    col(u"Fax", u"Fax", 250, 200, "Fax", Code),
    col(u"E-mail", u"E-mail", 250, 250, "Email"),
    col(u"Codice fiscale", u"Codice fiscale", 250, 150, "CodFisc", Code),
    col(u"Partita IVA", u"Partita IVA", 250, 150, "PartitaIva", Editable | Code),
    col(u"Carta di credito n.", u"Carta di credito n.", 300, 250, "Carta", Code),
    col(u"Scadenza", u"Scadenza", 150, 160, "ScadeCarta", Editable),
    col(u"IBAN", u"IBAN", 300, 250, "Iban", Editable | Code),
    col(u"Articoli forniti", u"Articoli forniti", 300, 300, "Articoli", Editable),
    col(u"Offerte e sconti", u"Offerte e sconti", 300, 300, "Offerte", Editable),
    col(u"Modalità di ordine merce", u"Modalità di ordine merce", 300, 250, "Ordine"),
    col(u"Questioni in sospeso", u"Questioni in sospeso", 300, 300, "Questioni", Editable),
    col(u"Note", u"Note", 300, 350, "Note", Editable),
};

const Exporter kProducts = {
    Kind::Products,
    u"TfrmExpMagazzino",
    u" Esporta archivio prodotti e servizi in Microsoft Excel",
    &ProductRecord::archive,
    &ProductRecord::layout,
    u"Magazzino.xls",
    u"Magazzino",
    kProductColumns,
};

const Exporter kCustomers = {
    Kind::Customers,
    u"TfrmExpClienti",
    u" Esporta archivio Clienti in Microsoft Excel",
    &CustomerRecord::archive,
    &CustomerRecord::layout,
    u"Clienti.xls",
    u"Riepilogo Clienti",
    kCustomerColumns,
};

const Exporter kSuppliers = {
    Kind::Suppliers,
    u"TfrmExpFornitori",
    u" Esporta archivio Fornitori in Microsoft Excel",
    &SupplierRecord::archive,
    &SupplierRecord::layout,
    u"Fornitori.xls",
    u"Riepilogo Fornitori",
    kSupplierColumns,
};

const Exporter kLoads = {
    Kind::Loads,
    u"TfrmExpCarico",
    u" Esporta archivio movimenti di carico merce in Microsoft Excel",
    nullptr,
    &MovementRecord::layout,
    u"Registro_Carico.xls",
    u"Registro Carico",
    kLoadColumns,
};

const Exporter kUnloads = {
    Kind::Unloads,
    u"TfrmExpScarico",
    u" Esporta archivio movimenti di scarico merce in Microsoft Excel",
    nullptr,
    &MovementRecord::layout,
    u"Registro_Scarico.xls",
    u"Registro Scarico",
    kUnloadColumns,
};

} // namespace

QString Exporter::xlsxFileName() const
{
    return fileName.toString() + QLatin1Char('x');
}

const Exporter &exporter(Kind kind)
{
    switch (kind) {
    case Kind::Products:
        break;
    case Kind::Customers:
        return kCustomers;
    case Kind::Suppliers:
        return kSuppliers;
    case Kind::Loads:
        return kLoads;
    case Kind::Unloads:
        return kUnloads;
    }
    return kProducts;
}

} // namespace Export
