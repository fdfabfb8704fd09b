#include "export/Exporters.h"

#include "records/CustomerRecord.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"

#include <array>

namespace Export {

namespace {

enum Flag { None = 0, Editable = 1, Right = 2, Amount = 4, Count = 8 };

constexpr Column col(QStringView gridHeader, QStringView fileHeader, int fileWidth, int gridWidth,
    int field, int flags = None, int joinedField = -1)
{
    return { gridHeader, fileHeader, fileWidth, gridWidth, field, joinedField,
        (flags & Right) ? Align::Right : Align::Left, (flags & Editable) != 0,
        (flags & Amount)      ? CellType::Amount
            : (flags & Count) ? CellType::Count
                              : CellType::Text };
}

// Columns 19 to 22 carry the four further product values under the captions the other
// information dialog gives them.
constexpr std::array<Column, 23> kProductColumns = {
    col(u"Codice articolo", u"Codice articolo", 250, 150, ProductRecord::Codice),
    col(u"Tipologia", u"Tipologia", 250, 150, ProductRecord::Tipologia),
    col(u"Marca", u"Marca", 250, 150, ProductRecord::Marca),
    col(u"Modello", u"Modello", 250, 150, ProductRecord::Modello),
    col(u"Descrizione", u"Descrizione", 400, 350, ProductRecord::Descrizione),
    col(u"Accessori", u"Accessori", 400, 350, ProductRecord::Accessori, Editable),
    col(u"Fornitore", u"Fornitore", 250, 200, ProductRecord::Fornitore),
    col(u"Recapito preferenziale", u"Recapito preferenziale", 250, 250, ProductRecord::Recapiti),
    col(u"Data acquisto", u"Data acquisto", 200, 100, ProductRecord::Data),
    col(u"Estremi documento di acquisto", u"Estremi documento acquisto", 350, 350,
        ProductRecord::Documento),
    col(u"Modalità ordine merce", u"Modalità ordine merce", 350, 250, ProductRecord::Ordine),
    col(u"Giacenza", u"Giacenza", 200, 100, ProductRecord::Giacenza, Count),
    col(u"Costo", u"Costo", 200, 100, ProductRecord::Costo, Amount),
    col(u"Valore", u"Valore", 200, 100, ProductRecord::Valore, Amount),
    col(u"Prezzo senza IVA", u"Prezzo senza IVA", 200, 100, ProductRecord::Prezzo, Amount),
    col(u"Perc. IVA", u"Perc. IVA", 150, 100, ProductRecord::PercIva, Count),
    col(u"Prezzo con IVA", u"Prezzo con IVA", 200, 100, ProductRecord::Prezzo_con_Iva, Amount),
    col(u"Collocazione in magazzino", u"Collocazione in magazzino", 350, 300,
        ProductRecord::Collocazione),
    col(u"Altezza", u"Altezza", 200, 200, ProductRecord::Consumo, Editable),
    col(u"Larghezza", u"Larghezza", 200, 200, ProductRecord::Aderenza, Editable),
    col(u"Lunghezza", u"Lunghezza", 200, 200, ProductRecord::Rumore, Editable),
    col(u"Scadenza", u"Scadenza", 200, 200, ProductRecord::Onde, Editable),
    col(u"Note", u"Note", 400, 350, ProductRecord::Note),
};

constexpr std::array<Column, 9> kLoadColumns = {
    col(u"Data carico", u"Data carico", 180, 120, MovementRecord::Data),
    col(u"Ora carico", u"Ora carico", 180, 120, MovementRecord::Ora, Editable),
    col(u"Codice articolo", u"Codice articolo", 200, 180, MovementRecord::Codice, Editable),
    col(u"Tipologia", u"Tipologia", 250, 250, MovementRecord::Tipologia),
    col(u"Marca", u"Marca", 250, 250, MovementRecord::Marca),
    col(u"Modello", u"Modello", 250, 250, MovementRecord::Modello, Editable),
    col(u"Pezzi caricati", u"Pezzi caricati", 180, 120, MovementRecord::Quantita, Right | Count),
    col(u"Costo unitario", u"Costo unitario", 180, 150, MovementRecord::Importo, Right | Amount),
    col(u"Note", u"Note", 300, 300, MovementRecord::Note, Editable),
};

constexpr std::array<Column, 9> kUnloadColumns = {
    col(u"Data scarico", u"Data scarico", 180, 120, MovementRecord::Data),
    col(u"Ora scarico", u"Ora scarico", 180, 120, MovementRecord::Ora, Editable),
    col(u"Codice articolo", u"Codice articolo", 200, 180, MovementRecord::Codice, Editable),
    col(u"Tipologia", u"Tipologia", 250, 250, MovementRecord::Tipologia),
    col(u"Marca", u"Marca", 250, 250, MovementRecord::Marca),
    col(u"Modello", u"Modello", 250, 250, MovementRecord::Modello, Editable),
    col(u"Pezzi scaricati", u"Pezzi scaricati", 180, 120, MovementRecord::Quantita, Right | Count),
    col(u"Prezzo unitario", u"Prezzo unitario", 180, 150, MovementRecord::Importo, Right | Amount),
    col(u"Note", u"Note", 300, 300, MovementRecord::Note, Editable),
};

// Customers: the name column joins surname and first name.
constexpr std::array<Column, 25> kCustomerColumns = {
    col(u"Cognome e nome Cliente", u"Cognome e nome Cliente", 250, 250, CustomerRecord::Cognome,
        None, CustomerRecord::Nome),
    col(u"Codice fiscale", u"Codice fiscale", 200, 150, CustomerRecord::CodFisc),
    col(u"Data di nascita", u"Data di nascita", 200, 120, CustomerRecord::DataNasc),
    col(u"Comune / Stato estero di nascita", u"Comune di nascita", 250, 250,
        CustomerRecord::ComuneNasc),
    col(u"Partita IVA", u"Partita IVA", 200, 150, CustomerRecord::Iva, Editable),
    col(u"Indirizzo di residenza", u"Indirizzo di residenza", 250, 250, CustomerRecord::Indirizzo),
    col(u"Comune di residenza", u"Città di residenza", 250, 250, CustomerRecord::ComuneRes,
        Editable),
    col(u"Recapito preferenziale", u"Recapito preferenziale", 250, 200, CustomerRecord::Recapito),
    col(u"Tel. casa", u"Tel. casa", 200, 200, CustomerRecord::TelCasa, Editable),
    col(u"Tel. cellulare", u"Tel. cellulare", 200, 200, CustomerRecord::TelCel),
    col(u"E-mail", u"E-mail", 250, 250, CustomerRecord::Email),
    col(u"Professione", u"Professione", 250, 250, CustomerRecord::Professione),
    col(u"IBAN", u"IBAN", 300, 250, CustomerRecord::Iban, Editable),
    col(u"Intestatario C/C", u"Intestatario C/C", 250, 250, CustomerRecord::Intestatario),
    col(u"Modalità di pagamento", u"Modalità di pagamento", 250, 250, CustomerRecord::Pagamento),
    col(u"Prodotti e servizi di interesse", u"Prodotti e servizi di interesse", 300, 300,
        CustomerRecord::Prodotti),
    col(u"Tipo documento", u"Tipo documento", 250, 250, CustomerRecord::TipoDoc, Editable),
    col(u"Numero documento", u"Numero documento", 250, 200, CustomerRecord::NumDoc, Editable),
    col(u"Ente di rilascio", u"Ente di rilascio", 250, 250, CustomerRecord::EnteRil, Editable),
    col(u"Data rilascio", u"Data di rilascio", 200, 200, CustomerRecord::DataRil, Editable),
    col(u"Data scadenza", u"Data di scadenza", 200, 200, CustomerRecord::DataSca),
    col(u"Codice Cliente", u"Codice Cliente", 250, 250, CustomerRecord::Codice, Editable),
    col(u"Categoria", u"Categoria", 250, 250, CustomerRecord::Categoria),
    col(u"Zona di appartenenza", u"Zona di appartenenza", 250, 250, CustomerRecord::Zona),
    col(u"Note", u"Note", 300, 300, CustomerRecord::Note, Editable),
};

// Suppliers: the city column joins the town and its province.
constexpr std::array<Column, 22> kSupplierColumns = {
    col(u"Denominazione Ditta", u"Denominazione Ditta", 250, 250, SupplierRecord::Ditta),
    col(u"Titolare o responsabile", u"Titolare o responsabile", 250, 250, SupplierRecord::Titolare),
    col(u"Recapito preferenziale", u"Recapito preferenziale", 250, 200, SupplierRecord::Recapito),
    col(u"Indirizzo", u"Indirizzo", 300, 250, SupplierRecord::IndirizzoRes),
    col(u"Città", u"Città", 250, 250, SupplierRecord::ComuneRes, Editable, SupplierRecord::ProvRes),
    col(u"CAP", u"CAP", 150, 100, SupplierRecord::CapRes, Editable),
    col(u"Modalità di pagamento", u"Modalità di pagamento", 250, 250, SupplierRecord::Pagamento),
    col(u"Tel. casa", u"Tel. casa", 250, 200, SupplierRecord::TelCasa),
    col(u"Tel. ufficio", u"Tel. ufficio", 250, 200, SupplierRecord::TelUff),
    col(u"Tel. cellulare", u"Tel. cellulare", 250, 200, SupplierRecord::TelCel),
    col(u"Fax", u"Fax", 250, 200, SupplierRecord::Fax),
    col(u"E-mail", u"E-mail", 250, 250, SupplierRecord::Email),
    col(u"Codice fiscale", u"Codice fiscale", 250, 150, SupplierRecord::CodFisc),
    col(u"Partita IVA", u"Partita IVA", 250, 150, SupplierRecord::PartitaIva, Editable),
    col(u"Carta di credito n.", u"Carta di credito n.", 300, 250, SupplierRecord::Carta),
    col(u"Scadenza", u"Scadenza", 150, 160, SupplierRecord::ScadeCarta, Editable),
    col(u"IBAN", u"IBAN", 300, 250, SupplierRecord::Iban, Editable),
    col(u"Articoli forniti", u"Articoli forniti", 300, 300, SupplierRecord::Articoli, Editable),
    col(u"Offerte e sconti", u"Offerte e sconti", 300, 300, SupplierRecord::Offerte, Editable),
    col(u"Modalità di ordine merce", u"Modalità di ordine merce", 300, 250, SupplierRecord::Ordine),
    col(u"Questioni in sospeso", u"Questioni in sospeso", 300, 300, SupplierRecord::Questioni,
        Editable),
    col(u"Note", u"Note", 300, 350, SupplierRecord::Note, Editable),
};

const Exporter kProducts = {
    ArchiveId::Products,
    u"TfrmExpMagazzino",
    u" Esporta archivio prodotti e servizi in Microsoft Excel",
    &ProductRecord::archive,
    &ProductRecord::layout,
    u"Magazzino.xls",
    u"Magazzino",
    kProductColumns,
};

const Exporter kCustomers = {
    ArchiveId::Customers,
    u"TfrmExpClienti",
    u" Esporta archivio Clienti in Microsoft Excel",
    &CustomerRecord::archive,
    &CustomerRecord::layout,
    u"Clienti.xls",
    u"Riepilogo Clienti",
    kCustomerColumns,
};

const Exporter kSuppliers = {
    ArchiveId::Suppliers,
    u"TfrmExpFornitori",
    u" Esporta archivio Fornitori in Microsoft Excel",
    &SupplierRecord::archive,
    &SupplierRecord::layout,
    u"Fornitori.xls",
    u"Riepilogo Fornitori",
    kSupplierColumns,
};

const Exporter kLoads = {
    ArchiveId::Loads,
    u"TfrmExpCarico",
    u" Esporta archivio movimenti di carico merce in Microsoft Excel",
    nullptr,
    &MovementRecord::layout,
    u"Registro_Carico.xls",
    u"Registro Carico",
    kLoadColumns,
};

const Exporter kUnloads = {
    ArchiveId::Unloads,
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

const Exporter &exporter(ArchiveId kind)
{
    switch (kind) {
    case ArchiveId::Products:
        break;
    case ArchiveId::Customers:
        return kCustomers;
    case ArchiveId::Suppliers:
        return kSuppliers;
    case ArchiveId::Loads:
        return kLoads;
    case ArchiveId::Unloads:
        return kUnloads;
    }
    return kProducts;
}

} // namespace Export
