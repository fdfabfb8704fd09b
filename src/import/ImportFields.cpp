#include "import/ImportFields.h"

#include "catalogue/Prices.h"
#include "catalogue/ProductCard.h"
#include "customers/CustomerRules.h"
#include "export/Exporters.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "storage/Cp1252.h"
#include "storage/TextForms.h"
#include "suppliers/SupplierCard.h"

#include <QHash>

#include <cmath>

namespace ImportFields {

namespace {

using SheetRows::Cell;

struct FieldDef
{
    const char *name;
    Kind kind;
    const char16_t *caption; // nullptr: the export's column title
    std::initializer_list<const char16_t *> aliases;
};

// The fields a user can fill from a file, with the common Italian names of their data.
// Captions come from the export's column titles where the export has the field.
const std::initializer_list<FieldDef> kProductDefs = {
    { "Codice", Kind::Text, nullptr,
        { u"Codice", u"Cod. articolo", u"Codice prodotto", u"Articolo", u"Riferimento", u"SKU" } },
    { "Tipologia", Kind::Text, nullptr, { u"Tipo", u"Categoria" } },
    { "Marca", Kind::Text, nullptr, { u"Produttore", u"Brand" } },
    { "Modello", Kind::Text, nullptr, {} },
    { "Accessori", Kind::Text, nullptr, {} },
    { "Descrizione", Kind::Text, nullptr,
        { u"Descrizione articolo", u"Descrizione prodotto", u"Denominazione", u"Prodotto" } },
    { "Fornitore", Kind::Text, nullptr, {} },
    { "Recapiti", Kind::Text, nullptr, { u"Recapito", u"Recapito fornitore" } },
    { "Data", Kind::Date, nullptr, { u"Data di acquisto" } },
    { "Costo", Kind::Amount, nullptr,
        { u"Costo unitario", u"Prezzo di acquisto", u"Prezzo acquisto", u"Costo di acquisto" } },
    { "Valore", Kind::Amount, nullptr, { u"Valore magazzino" } },
    { "Documento", Kind::Text, nullptr, { u"Documento di acquisto", u"Documento" } },
    { "Ordine", Kind::Text, nullptr, { u"Modalità ordine", u"Ordine" } },
    { "Prezzo", Kind::Amount, nullptr,
        { u"Prezzo di vendita", u"Prezzo vendita", u"Prezzo", u"Prezzo netto", u"Imponibile" } },
    { "PercIva", Kind::Count, nullptr,
        { u"Aliquota IVA", u"Aliquota", u"IVA", u"% IVA", u"IVA %", u"Perc IVA" } },
    { "Prezzo_con_Iva", Kind::Amount, nullptr,
        { u"Prezzo IVA inclusa", u"Prezzo ivato", u"Prezzo lordo", u"Prezzo al pubblico" } },
    { "Collocazione", Kind::Text, nullptr, { u"Ubicazione", u"Posizione", u"Scaffale" } },
    { "Giacenza", Kind::Count, nullptr,
        { u"Quantità", u"Qtà", u"Q.tà", u"Qta", u"Pezzi", u"Disponibilità", u"Esistenza" } },
    { "Sottoscorta", Kind::Count, u"Sottoscorta", { u"Scorta minima", u"Livello di riordino" } },
    { "Consumo", Kind::Text, nullptr, {} },
    { "Aderenza", Kind::Text, nullptr, {} },
    { "Rumore", Kind::Text, nullptr, {} },
    { "Onde", Kind::Text, nullptr, {} },
    { "Note", Kind::Text, nullptr, { u"Annotazioni" } },
};

const std::initializer_list<FieldDef> kCustomerDefs = {
    { "Cognome", Kind::Text, u"Cognome",
        { u"Cognome", u"Ragione sociale", u"Cognome e nome", u"Nominativo" } },
    { "Nome", Kind::Text, u"Nome", { u"Nome", u"Cognome e nome", u"Nominativo" } },
    { "CodFisc", Kind::Upper, nullptr, { u"Cod. fiscale", u"CF", u"C.F." } },
    { "Sesso", Kind::Upper, u"Sesso", {} },
    { "DataNasc", Kind::Date, nullptr, { u"Data nascita", u"Nato il" } },
    { "ComuneNasc", Kind::Text, nullptr, { u"Luogo di nascita", u"Comune di nascita" } },
    { "ProvNasc", Kind::Upper, u"Provincia di nascita", { u"Prov. nascita" } },
    { "Iva", Kind::Digits, nullptr, { u"P.IVA", u"P. IVA", u"PIVA" } },
    { "Indirizzo", Kind::Text, nullptr, { u"Indirizzo", u"Via" } },
    { "Cap", Kind::Text, u"CAP", { u"C.A.P." } },
    { "ComuneRes", Kind::Text, nullptr,
        { u"Comune", u"Città", u"Località", u"Comune di residenza" } },
    { "ProvRes", Kind::Upper, u"Provincia di residenza", { u"Provincia", u"Prov.", u"PR" } },
    { "Stato", Kind::Text, u"Stato", { u"Nazione", u"Paese" } },
    { "Familiari", Kind::Text, u"Familiari", {} },
    { "Recapito", Kind::Text, nullptr, { u"Recapito" } },
    { "TelCasa", Kind::Text, nullptr, { u"Telefono", u"Tel.", u"Telefono casa" } },
    { "TelCel", Kind::Text, nullptr, { u"Cellulare", u"Cell.", u"Telefono cellulare" } },
    { "TelUff", Kind::Text, u"Tel. ufficio", { u"Telefono ufficio" } },
    { "Fax", Kind::Text, u"Fax", {} },
    { "Email", Kind::Text, nullptr, { u"Email", u"Mail", u"Posta elettronica" } },
    { "Qualifiche", Kind::Text, u"Qualifiche", {} },
    { "Professione", Kind::Text, nullptr, {} },
    { "Iban", Kind::Upper, nullptr, {} },
    { "Intestatario", Kind::Text, nullptr, { u"Intestatario" } },
    { "Banca", Kind::Text, u"Banca", {} },
    { "Carta", Kind::Digits, u"Carta di credito", {} },
    { "ScadeCarta", Kind::Text, u"Scadenza carta", {} },
    { "Prodotti", Kind::Text, nullptr, {} },
    { "Pagamento", Kind::Text, nullptr, { u"Pagamento" } },
    { "Note", Kind::Text, nullptr, { u"Annotazioni" } },
    { "TipoDoc", Kind::Text, nullptr, {} },
    { "NumDoc", Kind::Text, nullptr, {} },
    { "EnteRil", Kind::Text, nullptr, {} },
    { "DataRil", Kind::Date, nullptr, { u"Data rilascio" } },
    { "DataSca", Kind::Date, nullptr, { u"Data scadenza" } },
    { "Codice", Kind::Text, nullptr, { u"Codice" } },
    { "Categoria", Kind::Text, nullptr, {} },
    { "Zona", Kind::Text, nullptr, { u"Zona" } },
    { "Acquisto", Kind::Text, u"Acquisto rateale", {} },
    { "Decorrenza", Kind::Date, u"Decorrenza", { u"Data decorrenza" } },
    { "Scadenza", Kind::Date, u"Scadenza prossima rata", { u"Scadenza rata" } },
    { "Preavviso", Kind::Digits, u"Giorni di preavviso", { u"Giorni preavviso" } },
    { "Totale", Kind::Amount, u"Totale", { u"Importo totale" } },
    { "Frazionamento", Kind::Text, u"Frazionamento", {} },
    { "Rata", Kind::Amount, u"Rata", { u"Importo rata" } },
};

const std::initializer_list<FieldDef> kSupplierDefs = {
    { "Ditta", Kind::Text, nullptr,
        { u"Ditta", u"Ragione sociale", u"Denominazione", u"Fornitore", u"Azienda" } },
    { "Titolare", Kind::Text, nullptr, { u"Titolare", u"Responsabile", u"Referente" } },
    { "Recapito", Kind::Text, nullptr, { u"Recapito" } },
    { "IndirizzoRes", Kind::Text, nullptr, { u"Via" } },
    { "ProvRes", Kind::Upper, u"Provincia", { u"Prov.", u"PR" } },
    { "ComuneRes", Kind::Text, nullptr, { u"Comune", u"Località" } },
    { "CapRes", Kind::Text, nullptr, { u"C.A.P." } },
    { "Pagamento", Kind::Text, nullptr, { u"Pagamento" } },
    { "TelCasa", Kind::Text, nullptr, { u"Telefono casa" } },
    { "TelUff", Kind::Text, nullptr, { u"Telefono", u"Tel.", u"Telefono ufficio" } },
    { "TelCel", Kind::Text, nullptr, { u"Cellulare", u"Cell." } },
    { "Fax", Kind::Text, nullptr, {} },
    { "Email", Kind::Text, nullptr, { u"Email", u"Mail", u"Posta elettronica" } },
    { "CodFisc", Kind::Upper, nullptr, { u"Cod. fiscale", u"CF", u"C.F." } },
    { "Carta", Kind::Digits, nullptr, { u"Carta di credito" } },
    { "ScadeCarta", Kind::Text, nullptr, { u"Scadenza carta" } },
    { "PartitaIva", Kind::Digits, nullptr, { u"P.IVA", u"P. IVA", u"PIVA" } },
    { "Iban", Kind::Upper, nullptr, {} },
    { "Articoli", Kind::Text, nullptr, { u"Articoli" } },
    { "Offerte", Kind::Text, nullptr, { u"Offerte", u"Sconti" } },
    { "Ordine", Kind::Text, nullptr, { u"Ordine" } },
    { "Questioni", Kind::Text, nullptr, {} },
    { "Note", Kind::Text, nullptr, { u"Annotazioni" } },
    { "Ricontatta", Kind::YesNo, u"Da ricontattare", { u"Ricontattare" } },
};

// The rules of the card of an archive that an imported record goes through: the record
// its Nuovo shows, and Salva's check.
struct CardRules
{
    Record (*newRecord)();
    std::optional<SaveFailure> (*saveCheck)(const Record &);
};

const CardRules &cardRules(Target target)
{
    static const CardRules products { &ProductCard::newProduct, &ProductCard::saveCheck };
    static const CardRules customers { &CustomerRules::newCustomer, &CustomerRules::saveCheck };
    static const CardRules suppliers { &SupplierCard::newSupplier, &SupplierCard::saveCheck };
    switch (target) {
    case Target::Products:
        break;
    case Target::Customers:
        return customers;
    case Target::Suppliers:
        return suppliers;
    }
    return products;
}

QList<Field> buildFields(Target target, std::initializer_list<FieldDef> defs)
{
    const RecordLayout &layout = layoutOf(target);
    const Export::Exporter &exporter = Export::exporter(archiveIdOf(target));
    QList<Field> out;
    for (const FieldDef &def : defs) {
        Field field;
        field.name = QString::fromLatin1(def.name);
        field.index = layout.indexOf(field.name);
        Q_ASSERT(field.index >= 0);
        field.kind = def.kind;
        field.names.append(normalise(field.name));
        if (def.caption)
            field.caption = QString::fromUtf16(def.caption);
        for (const Export::Column &column : exporter.columns) {
            const bool first = field.index == column.field;
            const bool joined = column.joinedField >= 0 && field.index == column.joinedField;
            if (first || joined) {
                if (field.caption.isEmpty() && first)
                    field.caption = column.gridHeader.toString();
                // A joined column (surname and name, town and province) fills both fields;
                // the second only when the file has no column of its own.
                QStringList &list = first ? field.names : field.fallbackNames;
                list.append(normalise(column.gridHeader));
                list.append(normalise(column.fileHeader));
            }
        }
        if (field.caption.isEmpty())
            field.caption = field.name;
        field.names.append(normalise(field.caption));
        for (const char16_t *alias : def.aliases)
            field.names.append(normalise(QString::fromUtf16(alias)));
        field.names.removeDuplicates();
        out.append(field);
    }
    return out;
}

QString trimmed(const QString &text)
{
    return TrimControl(text);
}

// A number as the card shows it once typed: decimal comma, no grouping.
QString numberText(double value)
{
    return NumberToText(value);
}

// The text of a cell for a text field.
QString cellText(const Cell &cell)
{
    switch (cell.kind) {
    case Cell::Kind::Empty:
        return QString();
    case Cell::Kind::Number:
        return numberText(cell.number);
    case Cell::Kind::Boolean:
    case Cell::Kind::Date:
    case Cell::Kind::Text:
        break;
    }
    return trimmed(cell.text);
}

QString foldCase(const QString &text)
{
    return trimmed(text).toCaseFolded();
}

} // namespace

std::optional<Target> targetOf(ArchiveId archive)
{
    switch (archive) {
    case ArchiveId::Products:
        return Target::Products;
    case ArchiveId::Customers:
        return Target::Customers;
    case ArchiveId::Suppliers:
        return Target::Suppliers;
    case ArchiveId::Loads:
    case ArchiveId::Unloads:
        break;
    }
    return std::nullopt;
}

ArchiveId archiveIdOf(Target target)
{
    switch (target) {
    case Target::Products:
        break;
    case Target::Customers:
        return ArchiveId::Customers;
    case Target::Suppliers:
        return ArchiveId::Suppliers;
    }
    return ArchiveId::Products;
}

const Archive &archiveOf(Target target)
{
    switch (target) {
    case Target::Products:
        break;
    case Target::Customers:
        return CustomerRecord::archive();
    case Target::Suppliers:
        return SupplierRecord::archive();
    }
    return ProductRecord::archive();
}

const RecordLayout &layoutOf(Target target)
{
    return *archiveOf(target).layout;
}

QString archiveTitle(Target target)
{
    switch (target) {
    case Target::Products:
        break;
    case Target::Customers:
        return QStringLiteral("Anagrafica Clienti");
    case Target::Suppliers:
        return QStringLiteral("Archivio Fornitori");
    }
    return QStringLiteral("Magazzino Prodotti");
}

const QList<Field> &fields(Target target)
{
    static const QList<Field> products = buildFields(Target::Products, kProductDefs);
    static const QList<Field> customers = buildFields(Target::Customers, kCustomerDefs);
    static const QList<Field> suppliers = buildFields(Target::Suppliers, kSupplierDefs);
    switch (target) {
    case Target::Products:
        break;
    case Target::Customers:
        return customers;
    case Target::Suppliers:
        return suppliers;
    }
    return products;
}

QString normalise(QStringView header)
{
    const QString decomposed = header.toString().normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar ch : decomposed) {
        if (ch.isLetterOrNumber() && ch.category() != QChar::Mark_NonSpacing)
            out += ch.toCaseFolded();
        else if (ch == u'%')
            out += ch;
    }
    return out;
}

QList<int> matchHeaders(Target target, const QStringList &headers)
{
    QStringList normalised;
    for (const QString &header : headers)
        normalised.append(normalise(header));
    const QList<Field> &all = fields(target);
    QList<int> mapping(all.size(), -1);
    for (qsizetype f = 0; f < all.size(); ++f) {
        for (qsizetype c = 0; c < normalised.size() && mapping[f] < 0; ++c) {
            if (!normalised[c].isEmpty() && all[f].names.contains(normalised[c]))
                mapping[f] = int(c);
        }
    }
    for (qsizetype f = 0; f < all.size(); ++f) {
        for (qsizetype c = 0; c < normalised.size() && mapping[f] < 0; ++c) {
            if (!normalised[c].isEmpty() && all[f].fallbackNames.contains(normalised[c]))
                mapping[f] = int(c);
        }
    }
    return mapping;
}

bool looksLikeHeader(Target target, const SheetRows::Row &first, const SheetRows::Row *second)
{
    QStringList headers;
    bool textOnly = true;
    for (const Cell &cell : first) {
        headers.append(cell.kind == Cell::Kind::Text ? cell.text : QString());
        if (cell.kind != Cell::Kind::Text && cell.kind != Cell::Kind::Empty)
            textOnly = false;
        if (cell.kind == Cell::Kind::Text && parseAmount(cell.text))
            textOnly = false;
    }
    for (int column : matchHeaders(target, headers)) {
        if (column >= 0)
            return true;
    }
    if (!textOnly || !second)
        return false;
    for (const Cell &cell : *second) {
        if (cell.kind == Cell::Kind::Number || cell.kind == Cell::Kind::Date)
            return true;
        if (cell.kind == Cell::Kind::Text && (parseAmount(cell.text) || parseDate(cell.text)))
            return true;
    }
    return false;
}

std::optional<double> parseAmount(QStringView text)
{
    QString t;
    for (const QChar ch : text) {
        if (ch == u' ' || ch == u'\u00A0' || ch == u'\u20AC' || ch == u'\'' || ch == u'\t')
            continue;
        t += ch;
    }
    if (t.startsWith(u'+'))
        t.remove(0, 1);
    if (t.isEmpty())
        return std::nullopt;
    const qsizetype comma = t.lastIndexOf(u',');
    const qsizetype dot = t.lastIndexOf(u'.');
    QString plain;
    if (comma >= 0 && dot >= 0) {
        // Both: the last one is the decimal mark, the other groups thousands.
        const QChar group = comma > dot ? u'.' : u',';
        const QChar decimal = comma > dot ? u',' : u'.';
        if (t.count(decimal) != 1)
            return std::nullopt;
        for (const QChar ch : t) {
            if (ch != group)
                plain += ch == decimal ? u',' : ch;
        }
    } else if (dot >= 0) {
        const qsizetype dots = t.count(u'.');
        const qsizetype digitsAfter = t.size() - dot - 1;
        const QStringView whole = QStringView(t).first(t.indexOf(u'.'));
        const bool grouping = dots > 1
            || (digitsAfter == 3 && !whole.isEmpty() && whole != u"0" && whole != u"-0"
                && whole.size() <= 4);
        if (grouping) {
            plain = t;
            plain.remove(u'.');
        } else {
            plain = t;
            plain.replace(u'.', u',');
        }
    } else {
        if (t.count(u',') > 1)
            return std::nullopt;
        plain = t;
    }
    // Only digits, one comma and a leading minus.
    bool digit = false;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        const QChar ch = plain[i];
        if (ch.isDigit() && ch.unicode() < 128)
            digit = true;
        else if (!(ch == u',' || (ch == u'-' && i == 0)))
            return std::nullopt;
    }
    if (!digit)
        return std::nullopt;
    const std::optional<double> value = TextToNumber(plain);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::optional<QDate> parseDate(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.size() >= 8 && t.size() <= 10 && t[4] == u'-') {
        const QDate date = QDate::fromString(t.toString(), QStringLiteral("yyyy-MM-dd"));
        if (date.isValid())
            return date;
        return std::nullopt;
    }
    // Dates with a time after them (2021-03-05 00:00:00, 05/03/2021 10:00).
    const qsizetype space = t.indexOf(u' ');
    if (space > 0)
        return parseDate(t.first(space));
    QString slashed = t.toString();
    if (!slashed.contains(u'/')) {
        slashed.replace(u'.', u'/');
        slashed.replace(u'-', u'/');
    }
    const QStringList parts = slashed.split(u'/');
    if (parts.size() != 3 || parts[2].size() != 4 || parts[0].size() > 2 || parts[1].size() > 2)
        return std::nullopt;
    return DateFromText(slashed);
}

std::optional<QDate> dateFromSerial(double serial)
{
    if (!std::isfinite(serial) || serial < 1 || serial >= 2958466)
        return std::nullopt;
    // Day 60 is the 29 February 1900 the spreadsheet programs count and the calendar has
    // not; days after it are one less from 30 December 1899.
    const qint64 day = qint64(std::floor(serial));
    if (day < 60)
        return QDate(1899, 12, 31).addDays(day);
    if (day == 60)
        return std::nullopt;
    return QDate(1899, 12, 30).addDays(day);
}

bool Converted::rejected() const
{
    for (const Problem &p : problems) {
        if (p.blocking)
            return true;
    }
    return false;
}

QString Converted::rejection() const
{
    for (const Problem &p : problems) {
        if (p.blocking)
            return p.reason;
    }
    return QString();
}

namespace {

struct Converter
{
    Target target;
    const QList<Field> &all;
    Converted out;

    void problem(int field, const QString &reason, bool blocking = false)
    {
        out.problems.append({ field, reason, blocking });
    }

    // The text of one mapped cell for its field, by the field's kind.
    QString convert(int f, const Cell &cell)
    {
        const Field &field = all[f];
        switch (field.kind) {
        case Kind::Text:
            return cellText(cell);
        case Kind::Upper:
            return UpperAscii(cellText(cell));
        case Kind::Digits: {
            const QString text = cellText(cell);
            QString digits;
            bool other = false;
            for (const QChar ch : text) {
                if (ch.isDigit() && ch.unicode() < 128)
                    digits += ch;
                else if (ch != u' ' && ch != u'.' && ch != u'-' && ch != u'/')
                    other = true;
            }
            if (other)
                problem(f, QStringLiteral("Il campo accetta solo cifre: \"%1\".").arg(text));
            return digits;
        }
        case Kind::Amount:
        case Kind::Count: {
            if (cell.isEmpty())
                return QString();
            std::optional<double> value;
            if (cell.kind == Cell::Kind::Number || cell.kind == Cell::Kind::Boolean)
                value = cell.number;
            else
                value = parseAmount(QString(cell.text).remove(u'%'));
            if (!value) {
                problem(f, QStringLiteral("Non è un numero: \"%1\".").arg(cellText(cell)), true);
                return QString();
            }
            if (*value < 0 && field.kind == Kind::Count && field.name == u"PercIva") {
                problem(f, QStringLiteral("L'aliquota IVA non può essere negativa."), true);
                return QString();
            }
            // As the card's leaving rule writes the typed number.
            return field.kind == Kind::Amount ? FormatAmountText(numberText(*value), 4)
                                              : FormatCountText(numberText(*value));
        }
        case Kind::Date: {
            if (cell.isEmpty())
                return QString();
            std::optional<QDate> date;
            if (cell.kind == Cell::Kind::Date)
                date = parseDate(cell.text);
            else if (cell.kind == Cell::Kind::Number)
                date = dateFromSerial(cell.number);
            else
                date = parseDate(cell.text);
            if (date)
                return DateText(*date);
            const QString text = cellText(cell);
            problem(f, QStringLiteral("Data non riconosciuta: \"%1\".").arg(text));
            return text;
        }
        case Kind::YesNo: {
            const QString text = normalise(cellText(cell));
            if (cell.kind == Cell::Kind::Boolean || cell.kind == Cell::Kind::Number)
                return SupplierCard::recontactText(cell.number != 0);
            const bool yes = text == u"si" || text == u"s" || text == u"x" || text == u"1"
                || text == u"vero" || text == u"true" || text == u"yes";
            return SupplierCard::recontactText(yes);
        }
        }
        return cellText(cell);
    }

    // Text longer than the field or with characters Windows-1252 lacks: stored cut or
    // replaced, and said.
    void checkCapacity(int f, const QString &value)
    {
        const int capacity = layoutOf(target).field(all[f].index).capacity;
        if (value.size() > capacity)
            problem(f,
                QStringLiteral("Testo troppo lungo: %1 caratteri, il campo ne contiene %2.")
                    .arg(value.size())
                    .arg(capacity));
        for (const QChar ch : value) {
            if (Cp1252::decodeByte(static_cast<unsigned char>(Cp1252::encodeChar(ch))) != ch) {
                problem(f,
                    QStringLiteral("Il carattere \"%1\" non può essere registrato in archivio: "
                                   "sarà sostituito da \"?\".")
                        .arg(ch));
                break;
            }
        }
    }
};

// What Salva on the product card does before writing: empty numbers filled, the stock
// and minimum stock whole, the price with VAT and the value computed.
void saveProduct(Record &record, Converter &c)
{
    using namespace ProductRecord;
    for (int field : { Giacenza, Sottoscorta, PercIva }) {
        if (trimmed(record.value(field)).isEmpty())
            record.setValue(field, ProductCard::kZeroCount);
    }
    for (int field : { Costo, Valore, Prezzo, Prezzo_con_Iva }) {
        if (trimmed(record.value(field)).isEmpty())
            record.setValue(field, ProductCard::kZeroAmount);
    }
    for (int field : { Giacenza, Sottoscorta }) {
        const std::optional<double> n = TextToNumber(record.value(field));
        if (!n || !std::isfinite(*n)) {
            c.problem(-1, QStringLiteral("Giacenza o sottoscorta non numerica."), true);
            return;
        }
        record.setValue(field, NumberToText(RoundDecimals(*n, 0)));
    }
    const Prices::PriceResult prices = Prices::calcola(
        { record.value(Prezzo), record.value(PercIva), record.value(Prezzo_con_Iva) });
    record.setValue(Prezzo, prices.fields.prezzo);
    record.setValue(PercIva, prices.fields.percIva);
    record.setValue(Prezzo_con_Iva, prices.fields.prezzoConIva);
    if (!prices.ok)
        c.problem(-1, QStringLiteral("Prezzo o aliquota IVA non validi."), true);
    const Prices::ValueResult value = Prices::calcolaValore(
        { record.value(Costo), record.value(Giacenza), record.value(Valore) });
    record.setValue(Costo, value.fields.costo);
    record.setValue(Valore, value.fields.valore);
}

} // namespace

Converted convertRow(
    Target target, const QList<int> &mapping, const SheetRows::Row &row, const Record *base)
{
    const QList<Field> &all = fields(target);
    // A new record starts as the card's Nuovo shows it; the file's values are then typed
    // over it.
    Converter c { target, all, { base ? *base : cardRules(target).newRecord(), {} } };
    Record &record = c.out.record;
    auto columnOf = [&](const char *name) {
        for (qsizetype f = 0; f < all.size(); ++f) {
            if (all[f].name == QLatin1String(name))
                return f < mapping.size() ? mapping[f] : -1;
        }
        return -1;
    };
    // One column for two fields: the export's "Cognome e nome Cliente" and "Città".
    const int nameColumn = columnOf("Cognome");
    const bool joinedName
        = target == Target::Customers && nameColumn >= 0 && nameColumn == columnOf("Nome");
    const int townColumn = columnOf("ComuneRes");
    const bool joinedTown
        = target == Target::Suppliers && townColumn >= 0 && townColumn == columnOf("ProvRes");

    for (qsizetype f = 0; f < all.size() && f < mapping.size(); ++f) {
        const int column = mapping[f];
        if (column < 0)
            continue;
        const Cell cell = column < row.size() ? row[column] : Cell {};
        QString value;
        const QString &name = all[f].name;
        if (joinedName && (name == u"Cognome" || name == u"Nome")) {
            // The surname is the first word, the name the rest.
            const QString whole = cellText(cell);
            const qsizetype space = whole.indexOf(u' ');
            value = name == u"Cognome" ? (space < 0 ? whole : whole.first(space))
                                       : (space < 0 ? QString() : trimmed(whole.mid(space + 1)));
        } else if (joinedTown && (name == u"ComuneRes" || name == u"ProvRes")) {
            // "Roma RM": the town, then the province code as its last word.
            const QString whole = cellText(cell);
            const qsizetype space = whole.lastIndexOf(u' ');
            const bool hasProvince = space > 0 && whole.size() - space - 1 == 2;
            value = name == u"ComuneRes"
                ? (hasProvince ? trimmed(whole.first(space)) : whole)
                : (hasProvince ? UpperAscii(whole.mid(space + 1)) : QString());
        } else {
            value = c.convert(int(f), cell);
        }
        c.checkCapacity(int(f), value);
        record.setValue(all[f].index, value);
    }

    // Salva's own rule of the card, then what Salva computes.
    if (const std::optional<SaveFailure> failure = cardRules(target).saveCheck(record))
        c.problem(-1, failure->notice.text.simplified(), true);
    if (target == Target::Products)
        saveProduct(record, c);
    return c.out;
}

QString duplicateKey(Target target, const Record &record)
{
    switch (target) {
    case Target::Products:
        break;
    case Target::Customers: {
        using namespace CustomerRecord;
        const QString code = foldCase(record.value(CodFisc));
        if (!code.isEmpty())
            return QStringLiteral("cf:") + code;
        QString phone;
        for (int field : { TelCel, TelCasa, TelUff }) {
            phone = foldCase(record.value(field));
            if (!phone.isEmpty())
                break;
        }
        return QStringLiteral("n:") + foldCase(record.value(Cognome)) + u'\x1f'
            + foldCase(record.value(Nome)) + u'\x1f' + phone;
    }
    case Target::Suppliers: {
        using namespace SupplierRecord;
        const QString vat = foldCase(record.value(PartitaIva));
        if (!vat.isEmpty())
            return QStringLiteral("piva:") + vat;
        const QString company = foldCase(record.value(Ditta));
        return company.isEmpty() ? QString() : QStringLiteral("ditta:") + company;
    }
    }
    const QString code = foldCase(record.value(ProductRecord::Codice));
    return code.isEmpty() ? QString() : code;
}

} // namespace ImportFields
