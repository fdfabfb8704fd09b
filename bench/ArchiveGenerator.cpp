#include "ArchiveGenerator.h"

#include "cards/Provinces.h"
#include "checks/CardNumber.h"
#include "checks/IbanCheck.h"
#include "checks/TaxCode.h"
#include "checks/VatNumber.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "storage/TextForms.h"

#include <QDate>
#include <QFile>

#include <algorithm>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace ArchiveGenerator {

namespace {

constexpr qsizetype kBlockBytes = 1024 * 1024;

struct Category
{
    const char16_t *name;
    const char16_t *prefix;
    std::array<const char16_t *, 4> items;
};

// The goods of a general store: each category brings its own code prefix and items.
const std::array<Category, 12> kCategories = { {
    { u"Utensili elettrici", u"UTE",
        { u"Trapano avvitatore", u"Smerigliatrice", u"Seghetto alternativo", u"Levigatrice" } },
    { u"Ferramenta", u"FER", { u"Cerniera", u"Serratura", u"Lucchetto", u"Maniglia" } },
    { u"Vernici e smalti", u"VER", { u"Smalto lucido", u"Impregnante", u"Idropittura", u"Fondo" } },
    { u"Idraulica", u"IDR", { u"Miscelatore", u"Raccordo", u"Valvola a sfera", u"Sifone" } },
    { u"Materiale elettrico", u"ELE",
        { u"Interruttore", u"Presa schuko", u"Lampada LED", u"Quadretto" } },
    { u"Giardinaggio", u"GIA",
        { u"Tosaerba", u"Decespugliatore", u"Forbici da potatura", u"Tubo irrigazione" } },
    { u"Pneumatici", u"PNE", { u"Invernale", u"Estivo", u"Quattro stagioni", u"Runflat" } },
    { u"Ricambi auto", u"RIC",
        { u"Pastiglie freno", u"Filtro olio", u"Candela", u"Batteria 12V" } },
    { u"Cancelleria", u"CAN",
        { u"Risma carta A4", u"Penna a sfera", u"Raccoglitore", u"Cucitrice" } },
    { u"Detersivi", u"DET",
        { u"Sgrassatore", u"Detergente pavimenti", u"Ammorbidente", u"Anticalcare" } },
    { u"Elettrodomestici", u"ELD",
        { u"Macchina caffè", u"Ferro da stiro", u"Aspirapolvere", u"Frullatore" } },
    { u"Abbigliamento da lavoro", u"ABB",
        { u"Giacca", u"Pantalone", u"Scarpe antinfortunistiche", u"Guanti" } },
} };

const std::array<const char16_t *, 20> kBrands = {
    u"Fratelli Bertoli",
    u"Ravelli",
    u"Saltini",
    u"Emmegi",
    u"Tecnoferro",
    u"Vallesina",
    u"Brambilla & C.",
    u"Idrotermica Sud",
    u"Luminova",
    u"Verdegiardino",
    u"Montecolle",
    u"Officine Ferraris",
    u"Pulisan",
    u"Cartotecnica Orobica",
    u"Gommauto",
    u"Tessiltex",
    u"Zanetti",
    u"Caffarelli",
    u"Elettroveneta",
    u"Nordutensili",
};

const std::array<const char16_t *, 10> kSuppliers = {
    u"Rossi Forniture S.r.l.",
    u"Bianchi & Figli S.n.c.",
    u"Distribuzione Esposito S.p.A.",
    u"Ingrosso Colombo S.r.l.",
    u"Ricci Commerciale S.a.s.",
    u"Marino Import S.r.l.",
    u"Greco Ferramenta all'ingrosso",
    u"Bruno Tecnica S.r.l.",
    u"Gallo Forniture Industriali",
    u"Conti & Costa S.r.l.",
};

const std::array<const char16_t *, 10> kPhonePrefixes = {
    u"02",
    u"06",
    u"011",
    u"051",
    u"055",
    u"081",
    u"0471",
    u"045",
    u"091",
    u"070",
};

const std::array<const char16_t *, 6> kOrdering = {
    u"Telefono",
    u"E-mail",
    u"Fax",
    u"Agente di zona",
    u"Portale fornitore",
    u"Ordine diretto in negozio",
};

const std::array<const char16_t *, 6> kAccessories = {
    u"Valigetta",
    u"Due batterie",
    u"Caricabatterie",
    u"Manuale d'uso",
    u"Kit di montaggio",
    u"Custodia",
};

const std::array<const char16_t *, 6> kProductNotes = {
    u"Riordinare a fine mese",
    u"Prodotto più venduto",
    u"Verificare l'imballo",
    u"In promozione fino a esaurimento",
    u"Fuori catalogo: non riordinare",
    u"Richiesto dal cliente Pellegrini",
};

const std::array<const char16_t *, 5> kMovementNotes = {
    u"Consegna parziale",
    u"Reso da cliente",
    u"Vendita al banco",
    u"Merce in conto visione",
    u"Inventario di verifica",
};

const std::array<int, 8> kMinimumStocks = { 2, 3, 5, 5, 10, 10, 15, 20 };
const std::array<int, 11> kVatRates = { 22, 22, 22, 22, 22, 22, 22, 22, 10, 10, 4 };

QString text(const char16_t *s)
{
    return QString::fromUtf16(s);
}

QString digits(std::int64_t value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

QString amountText(double value, int decimals)
{
    return FormatAmountText(NumberToText(RoundDecimals(value, decimals)), decimals);
}

QString dateText(Random &random, int firstYear, int lastYear)
{
    const QDate first(firstYear, 1, 1);
    const auto span = first.daysTo(QDate(lastYear, 12, 31));
    return DateText(first.addDays(random.between(0, span)));
}

QString phoneText(Random &random)
{
    return text(random.pick(kPhonePrefixes)) + u' ' + digits(random.between(0, 9999999), 7);
}

// A code of its category, unique within 1,000,000 products: the index is scattered by a
// multiplier prime to 10^6, so the file is not already in code order.
QString productCode(const Category &category, std::int64_t index, Random &random)
{
    const QString code
        = text(category.prefix) + u'-' + digits((index * 7919 + 104729) % 1000000, 6);
    // A few codes typed in lower case, as happens in a shop.
    return random.chance(0.04) ? LowerAscii(code) : code;
}

QString modelText(const Category &category, Random &random)
{
    const QString item = text(random.pick(category.items));
    if (category.prefix == std::u16string_view(u"PNE")) {
        return item + u' ' + QString::number(random.between(155, 275) / 10 * 10) + u'/'
            + QString::number(random.between(35, 70) / 5 * 5) + u" R"_s
            + QString::number(random.between(14, 20)) + u' '
            + QString::number(random.between(80, 110)) + QChar(u"HVTW"[random.below(4)]);
    }
    const QChar a = QChar(u'A' + int(random.below(26)));
    const QChar b = QChar(u'A' + int(random.below(26)));
    return item + u' ' + a + b + u'-' + QString::number(random.between(10, 9999));
}

const std::array<const char16_t *, 24> kSurnames = {
    u"Rossi",
    u"Russo",
    u"Ferrari",
    u"Esposito",
    u"Bianchi",
    u"Romano",
    u"Colombo",
    u"Ricci",
    u"Marino",
    u"Greco",
    u"Bruno",
    u"Gallo",
    u"Conti",
    u"De Luca",
    u"Mancini",
    u"Costa",
    u"Giordano",
    u"Rizzo",
    u"Lombardi",
    u"Moretti",
    u"Barbieri",
    u"Fontana",
    u"Santoro",
    u"D'Angelo",
};

const std::array<const char16_t *, 20> kNames = {
    u"Mario",
    u"Giuseppe",
    u"Luca",
    u"Francesco",
    u"Alessandro",
    u"Andrea",
    u"Marco",
    u"Giovanni",
    u"Roberto",
    u"Stefano",
    u"Maria",
    u"Anna",
    u"Giulia",
    u"Francesca",
    u"Sara",
    u"Laura",
    u"Chiara",
    u"Elena",
    u"Paola",
    u"Niccolò",
};

const std::array<const char16_t *, 12> kTowns = {
    u"Roma",
    u"Milano",
    u"Napoli",
    u"Torino",
    u"Palermo",
    u"Genova",
    u"Bologna",
    u"Firenze",
    u"Bari",
    u"Catania",
    u"Verona",
    u"Forlì",
};

const std::array<const char16_t *, 8> kStreets = {
    u"Via Roma",
    u"Via Garibaldi",
    u"Corso Italia",
    u"Via Mazzini",
    u"Piazza Duomo",
    u"Viale della Libertà",
    u"Via Verdi",
    u"Via dei Mille",
};

const std::array<const char16_t *, 8> kPurchases = {
    u"Cucina componibile",
    u"Motocicletta 125 cc",
    u"Televisore OLED 65 pollici",
    u"Divano letto",
    u"Impianto fotovoltaico",
    u"Lavatrice e asciugatrice",
    u"Bicicletta elettrica",
    u"Computer portatile",
};

const std::array<const char16_t *, 4> kSpreads = {
    u"Mensile",
    u"Bimestrale",
    u"Trimestrale",
    u"Semestrale",
};

const std::array<const char16_t *, 5> kProfessions = {
    u"Impiegato",
    u"Commerciante",
    u"Insegnante",
    u"Artigiano",
    u"Libero professionista",
};

} // namespace

std::uint64_t Random::next()
{
    m_state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::int64_t Random::below(std::int64_t n)
{
    return std::int64_t(next() % std::uint64_t(n));
}

std::int64_t Random::between(std::int64_t low, std::int64_t high)
{
    return low + below(high - low + 1);
}

double Random::unit()
{
    return double(next() >> 11) * (1.0 / 9007199254740992.0);
}

bool Random::chance(double probability)
{
    return unit() < probability;
}

Random rowRandom(std::uint64_t seed, std::int64_t index)
{
    Random mixer(seed ^ (std::uint64_t(index) * 0xD1B54A32D192ED03ULL));
    return Random(mixer.next());
}

bool writeArchive(const QString &path, const RecordLayout &layout, std::int64_t count,
    const RowMaker &makeRow, std::uint64_t seed, QString *error)
{
    QFile file(path);
    auto fail = [&] {
        if (error)
            *error = file.errorString();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail();
    Record record(layout);
    QByteArray block;
    block.reserve(kBlockBytes + layout.recordSize());
    for (std::int64_t i = 0; i < count; ++i) {
        record.clear();
        Random random = rowRandom(seed, i);
        makeRow(record, i, random);
        block += record.encode();
        if (block.size() >= kBlockBytes) {
            if (file.write(block) != block.size())
                return fail();
            block.clear();
        }
    }
    if (file.write(block) != block.size() || !file.flush())
        return fail();
    file.close();
    return true;
}

void makeProduct(Record &record, std::int64_t index, Random &random)
{
    using namespace ProductRecord;
    const Category &category = random.pick(kCategories);
    const QString brand = text(random.pick(kBrands));
    const QString model = modelText(category, random);

    record.setValue(Codice, productCode(category, index, random));
    record.setValue(Tipologia, text(category.name));
    record.setValue(Marca, brand);
    record.setValue(Modello, model);
    if (random.chance(0.3)) {
        QString accessories = text(random.pick(kAccessories));
        if (random.chance(0.5))
            accessories += u", "_s + LowerAscii(text(random.pick(kAccessories)));
        record.setValue(Accessori, accessories);
    }
    record.setValue(Descrizione,
        model + u' ' + brand
            + (random.chance(0.5) ? u" per uso professionale"_s : u" per uso domestico"_s)
            + (random.chance(0.3) ? u", qualità superiore"_s : u""_s));
    const QString supplier = text(random.pick(kSuppliers));
    record.setValue(Fornitore, supplier);
    if (random.chance(0.7)) {
        record.setValue(Recapiti, phoneText(random));
    } else {
        record.setValue(
            Recapiti, u"ordini@"_s + LowerAscii(supplier.section(u' ', 0, 0)) + u"forniture.it"_s);
    }
    const QString purchase = dateText(random, 2022, 2024);
    record.setValue(Data, purchase);
    record.setValue(Documento,
        (random.chance(0.7) ? u"Fattura n. "_s : u"DDT n. "_s)
            + QString::number(random.between(1, 2500)) + u" del "_s + purchase);
    record.setValue(Ordine, text(random.pick(kOrdering)));

    // Costs from fifty cents to about nine hundred euros, most of them small; a few unit
    // costs of cheap goods carry four decimals.
    const bool fine = random.chance(0.05);
    const double cost
        = RoundDecimals(0.5 * std::exp(random.unit() * std::log(1800.0)), fine ? 4 : 2);
    const double price = RoundDecimals(cost * (1.25 + random.unit() * 0.85), 2);
    const int vat = int(random.pick(kVatRates));
    record.setValue(Costo, amountText(cost, fine ? 4 : 2));
    record.setValue(Prezzo, amountText(price, 2));
    record.setValue(PercIva, QString::number(vat));
    record.setValue(Prezzo_con_Iva, amountText(price * (100 + vat) / 100.0, 2));

    const int minimum = random.chance(0.15) ? 0 : int(random.pick(kMinimumStocks));
    std::int64_t stock;
    const double r = random.unit();
    if (r < 0.02)
        stock = random.between(-10, -1); // unloads ahead of the loads
    else if (r < 0.13)
        stock = random.between(0, minimum);
    else
        stock = random.between(minimum + 1, minimum + 250);
    record.setValue(Giacenza, QString::number(stock));
    record.setValue(Sottoscorta, QString::number(minimum));
    record.setValue(Valore, amountText(cost * double(stock), 2));

    record.setValue(Collocazione,
        random.chance(0.9)
            ? u"Scaffale "_s + QChar(u'A' + int(random.below(8)))
                + QString::number(random.between(1, 9)) + u", ripiano "_s
                + QString::number(random.between(1, 5))
            : u"Magazzino esterno, corsia "_s + QString::number(random.between(1, 12)));
    if (random.chance(0.35)) {
        record.setValue(Consumo, QString::number(random.between(2, 120)) + u" cm"_s);
        record.setValue(Aderenza, QString::number(random.between(2, 80)) + u" cm"_s);
        record.setValue(Rumore, QString::number(random.between(2, 200)) + u" cm"_s);
        if (random.chance(0.5))
            record.setValue(Onde, dateText(random, 2025, 2028));
    }
    if (random.chance(0.2))
        record.setValue(Note, text(random.pick(kProductNotes)));
    if (random.chance(0.03)) {
        record.setValue(File01, u"scheda_"_s + record.value(Codice) + u".pdf"_s);
        record.setValue(Desc01, QStringLiteral("Scheda tecnica"));
    }
}

Record productAt(std::int64_t index, std::uint64_t seed)
{
    Record record(ProductRecord::layout());
    Random random = rowRandom(seed, index);
    makeProduct(record, index, random);
    return record;
}

RowMaker movementRows(MovementRecord::Kind kind, int year, std::int64_t count,
    std::int64_t productCount, std::uint64_t productSeed)
{
    const QDate first(year, 1, 1);
    const double days = first.daysInYear();
    productCount = std::max<std::int64_t>(productCount, 1);
    return [=](Record &record, std::int64_t index, Random &random) {
        using namespace MovementRecord;
        // Movement i falls in the slice [i, i + 1) of the year cut into count slices, so
        // the file is in date and time order; within a day the hours run from 8 to 19.
        const double t = (double(index) + random.unit()) * days / double(count);
        const double day = std::floor(t);
        const int seconds = 8 * 3600 + int((t - day) * 11 * 3600);
        record.setValue(Data, DateText(first.addDays(qint64(day))));
        record.setValue(Ora,
            digits(seconds / 3600, 2) + u':' + digits(seconds / 60 % 60, 2) + u':'
                + digits(seconds % 60, 2));

        const Record product = productAt(random.below(productCount), productSeed);
        record.setValue(Codice, product.value(ProductRecord::Codice));
        record.setValue(Tipologia, product.value(ProductRecord::Tipologia));
        record.setValue(Marca, product.value(ProductRecord::Marca));
        record.setValue(Modello, product.value(ProductRecord::Modello));
        const bool load = kind == Kind::Load;
        record.setValue(Importo,
            load ? product.value(ProductRecord::Costo) : product.value(ProductRecord::Prezzo));
        record.setValue(
            Quantita, QString::number(load ? random.between(1, 40) : random.between(1, 10)));
        if (random.chance(0.1))
            record.setValue(Note, text(random.pick(kMovementNotes)));
    };
}

bool writeProducts(const QString &path, std::int64_t count, std::uint64_t seed, QString *error)
{
    return writeArchive(path, ProductRecord::layout(), count, makeProduct, seed, error);
}

bool writeMovements(const QString &path, MovementRecord::Kind kind, int year, std::int64_t count,
    std::int64_t productCount, std::uint64_t productSeed, QString *error)
{
    const std::uint64_t seed = productSeed
        ^ (kind == MovementRecord::Kind::Load ? 0x4C4F4144ULL : 0x554E4C44ULL)
        ^ (std::uint64_t(year) << 32);
    return writeArchive(path, MovementRecord::layout(), count,
        movementRows(kind, year, count, productCount, productSeed), seed, error);
}

RowMaker customerRows(const QDate &today)
{
    return [today](Record &record, std::int64_t index, Random &random) {
        using namespace CustomerRecord;
        const QStringList &provinces = Provinces::codes();
        const QString surname = text(random.pick(kSurnames));
        const QString name = text(random.pick(kNames));
        record.setValue(Cognome, surname);
        record.setValue(Nome, name);
        record.setValue(CodFisc,
            UpperAscii(TextLeft(surname, 3).leftJustified(3, u'X') + TextLeft(name, 3))
                + digits(random.between(40, 99), 2) + QChar(u"ABCDEHLMPRST"[random.below(12)])
                + digits(random.between(1, 28), 2) + u'H' + digits(random.between(100, 999), 3)
                + QChar(u'A' + int(random.below(26))));
        record.setValue(Sesso, random.chance(0.5) ? u"M"_s : u"F"_s);
        record.setValue(DataNasc, dateText(random, 1945, 2003));
        record.setValue(ComuneNasc, text(random.pick(kTowns)));
        record.setValue(ProvNasc, provinces.at(qsizetype(random.below(provinces.size()))));
        if (random.chance(0.2))
            record.setValue(Iva, digits(random.between(0, 99999999999LL), 11));
        record.setValue(Indirizzo,
            text(random.pick(kStreets)) + u' ' + QString::number(random.between(1, 200)));
        record.setValue(Cap, digits(random.between(10, 98199), 5));
        record.setValue(ComuneRes, text(random.pick(kTowns)));
        // Every province code appears: the residence runs through the list in turn.
        record.setValue(ProvRes, provinces.at(qsizetype(index % provinces.size())));
        record.setValue(Stato, random.chance(0.5) ? u"Coniugato/a"_s : u"Celibe/Nubile"_s);
        const QString mobile = u"3"_s + digits(random.between(20, 99), 2) + u' '
            + digits(random.between(0, 9999999), 7);
        record.setValue(Recapito, random.chance(0.6) ? mobile : phoneText(random));
        record.setValue(TelCasa, phoneText(random));
        record.setValue(TelCel, mobile);
        record.setValue(Email,
            LowerAscii(name.left(1) + u'.' + surname).remove(u' ').remove(u'\'')
                + u"@example.it"_s);
        record.setValue(Professione, text(random.pick(kProfessions)));
        if (random.chance(0.5)) {
            record.setValue(Iban,
                u"IT"_s + digits(random.between(10, 99), 2) + QChar(u'A' + int(random.below(26)))
                    + digits(random.between(0, 9999999999LL), 10)
                    + digits(random.between(0, 999999999999LL), 12));
            record.setValue(Intestatario, name + u' ' + surname);
            record.setValue(Banca, u"Banca Popolare di "_s + text(random.pick(kTowns)));
        }
        record.setValue(TipoDoc, random.chance(0.7) ? u"Carta d'identità"_s : u"Patente"_s);
        record.setValue(NumDoc,
            u"CA"_s + digits(random.between(0, 99999), 5) + QChar(u'A' + int(random.below(26))));
        record.setValue(Codice, u"CL-"_s + digits(index + 1, 6));
        record.setValue(Categoria, random.chance(0.8) ? u"Privato"_s : u"Azienda"_s);
        record.setValue(Zona, text(random.pick(kTowns)));

        // The next instalment falls from 120 days ago to 240 days ahead; the payments
        // started up to two years before it.
        const QDate due = today.addDays(random.between(-120, 240));
        record.setValue(Acquisto, text(random.pick(kPurchases)));
        record.setValue(Scadenza, DateText(due));
        record.setValue(Decorrenza, DateText(due.addDays(-random.between(0, 730))));
        record.setValue(
            Preavviso, QString::number(random.chance(0.01) ? 999 : random.between(0, 6) * 5));
        const double total = RoundDecimals(200 + random.unit() * 9800, 2);
        const int instalments = int(random.pick(std::array { 6, 10, 12, 18, 24, 36 }));
        record.setValue(Totale, amountText(total, 2));
        record.setValue(Frazionamento,
            text(random.pick(kSpreads)) + u", "_s + QString::number(instalments) + u" rate"_s);
        record.setValue(Rata, amountText(total / instalments, 2));
    };
}

bool writeCustomers(
    const QString &path, std::int64_t count, const QDate &today, std::uint64_t seed, QString *error)
{
    return writeArchive(path, CustomerRecord::layout(), count, customerRows(today),
        seed ^ 0x434C49454E5449ULL, error);
}

} // namespace ArchiveGenerator

// Suppliers ------------------------------------------------------------------------------

namespace ArchiveGenerator {

namespace {

const std::array<const char16_t *, 16> kSupplierSurnames = {
    u"Rossi",
    u"Bianchi",
    u"Esposito",
    u"Colombo",
    u"Ricci",
    u"Marino",
    u"Greco",
    u"Bruno",
    u"Gallo",
    u"Conti",
    u"De Luca",
    u"Mancini",
    u"Costa",
    u"Giordano",
    u"Rizzo",
    u"Lombardi",
};

const std::array<const char16_t *, 8> kSupplierTrades = {
    u"Forniture",
    u"Ingrosso",
    u"Distribuzione",
    u"Commerciale",
    u"Import",
    u"Tecnica",
    u"Forniture Industriali",
    u"Ricambi",
};

const std::array<const char16_t *, 6> kLegalForms = {
    u" S.r.l.",
    u" S.p.A.",
    u" S.n.c.",
    u" S.a.s.",
    u" & Figli S.n.c.",
    u"",
};

const std::array<const char16_t *, 12> kFirstNames = {
    u"Marco",
    u"Giulia",
    u"Luca",
    u"Francesca",
    u"Giuseppe",
    u"Anna",
    u"Alessandro",
    u"Chiara",
    u"Davide",
    u"Elena",
    u"Niccolò",
    u"Maria Teresa",
};

struct Town
{
    const char16_t *name;
    const char16_t *province;
    const char16_t *postcode;
};

const std::array<Town, 12> kSupplierTowns = { {
    { u"Milano", u"MI", u"20121" },
    { u"Roma", u"RM", u"00184" },
    { u"Torino", u"TO", u"10121" },
    { u"Bologna", u"BO", u"40121" },
    { u"Firenze", u"FI", u"50123" },
    { u"Napoli", u"NA", u"80133" },
    { u"Bolzano", u"BZ", u"39100" },
    { u"Verona", u"VR", u"37121" },
    { u"Palermo", u"PA", u"90133" },
    { u"Cagliari", u"CA", u"09124" },
    { u"Forlì", u"FC", u"47121" },
    { u"Cantù", u"CO", u"22063" },
} };

const std::array<const char16_t *, 6> kSupplierStreets = {
    u"Via Roma",
    u"Via Garibaldi",
    u"Corso Italia",
    u"Piazza della Libertà",
    u"Via dell'Industria",
    u"Viale Europa",
};

const std::array<const char16_t *, 6> kPaymentTerms = {
    u"Bonifico bancario a 30 giorni data fattura",
    u"Ri.Ba. 60 giorni fine mese",
    u"Rimessa diretta alla consegna",
    u"Bonifico anticipato, sconto 2%",
    u"Ri.Ba. 30-60-90 giorni",
    u"Contrassegno",
};

const std::array<const char16_t *, 6> kOffers = {
    u"Sconto 5% per ordini oltre 500 euro",
    u"Trasporto gratuito oltre 300 euro",
    u"Sconto 10% sui prodotti di fine serie",
    u"Listino riservato ai rivenditori",
    u"Omaggio un pezzo ogni dieci",
    u"Nessuna offerta in corso",
};

const std::array<const char16_t *, 6> kOpenIssues = {
    u"Attendere la nota di credito per la merce resa",
    u"Sollecitare la consegna dell'ordine di marzo",
    u"Verificare la fattura: prezzi diversi dal listino",
    u"Chiedere il nuovo listino prezzi",
    u"Merce arrivata danneggiata, aprire una contestazione",
    u"Concordare la data del prossimo ritiro",
};

// The character of a check digit that makes check(text + digit) true.
template <typename Check> QString withCheckDigit(const QString &text, Check check)
{
    for (char16_t d = u'0'; d <= u'9'; ++d) {
        const QString candidate = text + QChar(d);
        if (check(candidate))
            return candidate;
    }
    return text + u'0';
}

QString vatNumber(Random &random)
{
    // Ten digits: the firm (7) and the office code (3), then the check digit.
    const QString body = digits(random.between(0, 9999999), 7)
        + digits(random.pick(std::array { 1, 15, 58, 96, 108, 120 }), 3);
    return withCheckDigit(body, [](const QString &t) { return CheckVatNumber(t); });
}

QString ibanText(Random &random)
{
    const QString bban = QChar(u'A' + int(random.below(26))) + digits(random.between(1000, 9999), 5)
        + digits(random.between(1000, 99999), 5) + digits(random.between(0, 999999999), 12);
    const int check = 98 - IbanMod97(QStringLiteral("IT00") + bban);
    return QStringLiteral("IT") + digits(check, 2) + bban;
}

// A personal tax code with a right check letter: three letters of the surname, a name,
// a birth date and a town code.
QString personalTaxCode(const QString &surname, Random &random)
{
    QString letters = UpperAscii(surname).remove(u' ').remove(u'\'');
    letters = (letters + u"XXX"_s).left(3);
    const QString body = letters + text(random.pick(std::array { u"MRA", u"GLI", u"LCU", u"NNA" }))
        + digits(random.between(50, 99), 2) + QChar(u"ABCDEHLMPRST"[random.below(12)])
        + digits(random.between(1, 28), 2)
        + text(random.pick(std::array { u"F205", u"H501", u"L219", u"A944" }));
    for (char16_t c = u'A'; c <= u'Z'; ++c) {
        if (CheckTaxCode(body + QChar(c)))
            return body + QChar(c);
    }
    return body + u'X';
}

QString cardText(Random &random)
{
    const QString body
        = QString::number(random.between(4, 5)) + digits(random.between(0, 99999999999999LL), 14);
    return withCheckDigit(body, [](const QString &t) { return CardCheckCode(t) > 0; });
}

} // namespace

void makeSupplier(Record &record, std::int64_t index, Random &random)
{
    using namespace SupplierRecord;
    const QString surname = text(random.pick(kSupplierSurnames));
    // Several suppliers of one surname and trade exist (one card per product line): the
    // index keeps the names apart.
    const QString company = surname + u' ' + text(random.pick(kSupplierTrades))
        + text(random.pick(kLegalForms))
        + (random.chance(0.5) ? u" - "_s + QString::number(index % 997 + 1) : QString());
    record.setValue(Ditta, company);
    record.setValue(
        Titolare, text(random.pick(kFirstNames)) + u' ' + text(random.pick(kSupplierSurnames)));
    const QString domain = LowerAscii(surname).remove(u' ') + u"forniture.it"_s;
    const QString office = phoneText(random);
    record.setValue(Recapito, random.chance(0.7) ? office : u"ordini@"_s + domain);
    const Town &town = random.pick(kSupplierTowns);
    record.setValue(IndirizzoRes,
        text(random.pick(kSupplierStreets)) + u' ' + QString::number(random.between(1, 180)));
    record.setValue(ProvRes, text(town.province));
    record.setValue(ComuneRes, text(town.name));
    record.setValue(CapRes, text(town.postcode));
    record.setValue(Pagamento, text(random.pick(kPaymentTerms)));
    if (random.chance(0.2))
        record.setValue(TelCasa, phoneText(random));
    record.setValue(TelUff, office);
    if (random.chance(0.6))
        record.setValue(TelCel,
            u"3"_s + digits(random.between(20, 99), 2) + u' '
                + digits(random.between(0, 9999999), 7));
    if (random.chance(0.4))
        record.setValue(Fax, phoneText(random));
    record.setValue(Email, u"info@"_s + domain);
    const QString vat = vatNumber(random);
    record.setValue(PartitaIva, vat);
    // Companies use their VAT number as tax code; a sole trader has a personal one.
    record.setValue(CodFisc, random.chance(0.8) ? vat : personalTaxCode(surname, random));
    if (random.chance(0.3)) {
        record.setValue(Carta, cardText(random));
        record.setValue(ScadeCarta,
            digits(random.between(1, 12), 2) + u'/' + QString::number(random.between(2025, 2030)));
    }
    record.setValue(Iban, ibanText(random));
    const Category &category = random.pick(kCategories);
    record.setValue(Articoli,
        text(category.name) + u": "_s + LowerAscii(text(random.pick(category.items))) + u", "_s
            + LowerAscii(text(random.pick(category.items))));
    record.setValue(Offerte, text(random.pick(kOffers)));
    record.setValue(Ordine, text(random.pick(kOrdering)));
    // About one supplier in seven is to be called back; a few records of older archives
    // hold no flag at all.
    const double r = random.unit();
    if (r < 0.15) {
        record.setValue(Questioni, text(random.pick(kOpenIssues)));
        record.setValue(Ricontatta, u"Sì"_s);
    } else if (r < 0.98) {
        record.setValue(Ricontatta, u"No"_s);
    }
    if (random.chance(0.2))
        record.setValue(Note, u"Referente commerciale: "_s + text(random.pick(kFirstNames)));
    if (random.chance(0.03)) {
        record.setValue(File01, u"listino_"_s + QString::number(index + 1) + u".pdf"_s);
        record.setValue(Desc01, QStringLiteral("Listino prezzi"));
    }
}

Record supplierAt(std::int64_t index, std::uint64_t seed)
{
    Record record(SupplierRecord::layout());
    Random random = rowRandom(seed, index);
    makeSupplier(record, index, random);
    return record;
}

bool writeSuppliers(const QString &path, std::int64_t count, std::uint64_t seed, QString *error)
{
    return writeArchive(path, SupplierRecord::layout(), count, makeSupplier, seed, error);
}

} // namespace ArchiveGenerator
