#include "export/Exporters.h"

#include "catalogue/MovementRecord.h"
#include "catalogue/ProductRecord.h"

#include <array>

namespace Export {

namespace {

enum Flag { None = 0, Editable = 1, Right = 2, Amount = 4, Count = 8 };

constexpr Column col(QStringView gridHeader, QStringView fileHeader, int fileWidth, int gridWidth,
    const char *field, int flags = None, const char *joinedField = nullptr)
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
    col(u"Codice articolo", u"Codice articolo", 250, 150, "Codice"),
    col(u"Tipologia", u"Tipologia", 250, 150, "Tipologia"),
    col(u"Marca", u"Marca", 250, 150, "Marca"),
    col(u"Modello", u"Modello", 250, 150, "Modello"),
    col(u"Descrizione", u"Descrizione", 400, 350, "Descrizione"),
    col(u"Accessori", u"Accessori", 400, 350, "Accessori", Editable),
    col(u"Fornitore", u"Fornitore", 250, 200, "Fornitore"),
    col(u"Recapito preferenziale", u"Recapito preferenziale", 250, 250, "Recapiti"),
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
    col(u"Codice articolo", u"Codice articolo", 200, 180, "Codice", Editable),
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
    col(u"Codice articolo", u"Codice articolo", 200, 180, "Codice", Editable),
    col(u"Tipologia", u"Tipologia", 250, 250, "Tipologia"),
    col(u"Marca", u"Marca", 250, 250, "Marca"),
    col(u"Modello", u"Modello", 250, 250, "Modello", Editable),
    col(u"Pezzi scaricati", u"Pezzi scaricati", 180, 120, "Quantita", Right | Count),
    col(u"Prezzo unitario", u"Prezzo unitario", 180, 150, "Importo", Right | Amount),
    col(u"Note", u"Note", 300, 300, "Note", Editable),
};

const Exporter kProducts = {
    Kind::Products,
    u"TfrmExpMagazzino",
    u" Esporta archivio prodotti e servizi in Microsoft Excel",
    u"Magazzino.mrv",
    &ProductRecord::layout,
    u"Magazzino.xls",
    u"Magazzino",
    kProductColumns,
};

const Exporter kLoads = {
    Kind::Loads,
    u"TfrmExpCarico",
    u" Esporta archivio movimenti di carico merce in Microsoft Excel",
    {},
    &MovementRecord::layout,
    u"Registro_Carico.xls",
    u"Registro Carico",
    kLoadColumns,
};

const Exporter kUnloads = {
    Kind::Unloads,
    u"TfrmExpScarico",
    u" Esporta archivio movimenti di scarico merce in Microsoft Excel",
    {},
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
        return kProducts;
    case Kind::Loads:
        return kLoads;
    case Kind::Unloads:
        return kUnloads;
    case Kind::Customers:
    case Kind::Suppliers:
        break;
    }
    return kProducts;
}

} // namespace Export
