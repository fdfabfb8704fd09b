#include "charts/ChartFigures.h"

#include "customers/DueList.h"
#include "lists/ListLines.h"
#include "records/CustomerRecord.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "reports/SummarySelection.h"
#include "storage/Cp1252.h"
#include "storage/ProgramFolder.h"
#include "storage/Storage.h"
#include "storage/StoredField.h"
#include "storage/TextForms.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace ChartFigures {

namespace {

using ChartTable::Plot;
using ChartTable::Series;
using ChartTable::Table;
using ChartTable::Unit;

std::optional<double> numberOf(const RecordLayout &layout, QByteArrayView bytes, int field)
{
    char16_t buffer[ListLines::kFieldBuffer];
    return TextToNumber(ListLines::fieldView(layout, bytes, field, buffer));
}

const QString kNoMovements = QStringLiteral("Nessun movimento nell'anno scelto.");

QString movementsRead(qint64 count)
{
    return count == 1 ? QStringLiteral("1 movimento") : QStringLiteral("%1 movimenti").arg(count);
}

QString unreadableMovements(qint64 count)
{
    return count == 1 ? QStringLiteral("Attenzione: un movimento con la quantità o l'importo non "
                                       "leggibili non è stato sommato.")
                      : QStringLiteral("Attenzione: %1 movimenti con la quantità o l'importo non "
                                       "leggibili non sono stati sommati.")
                            .arg(count);
}

const QString kMovementsStopped
    = QStringLiteral("Attenzione: un movimento con una data non leggibile ha interrotto la "
                     "lettura; il grafico mostra, come il riepilogo dei movimenti, i movimenti "
                     "letti fino a quel punto.");

QString joinNotices(const QStringList &notices)
{
    QStringList shown;
    for (const QString &notice : notices) {
        if (!notice.isEmpty())
            shown.append(notice);
    }
    return shown.join(u' ');
}

// An archive of the program folder opened for reading only; a missing one is left missing.
enum class Opened { Yes, Missing, Failed };
Opened openExisting(
    std::unique_ptr<Storage::Session> &archive, const QString &path, const RecordLayout &layout)
{
    if (!Storage::exists(Archive { QFileInfo(path).fileName(), &layout }))
        return Opened::Missing;
    archive = Storage::openFile(path, layout, Storage::Access::ReadOnly);
    return archive ? Opened::Yes : Opened::Failed;
}

// The twelve months from today's, with nothing due yet.
InstalmentsAhead monthsFrom(const QDate &today)
{
    InstalmentsAhead ahead;
    const QDate first(today.year(), today.month(), 1);
    for (int i = 0; i < 12; ++i)
        ahead.months[std::size_t(i)].month = first.addMonths(i);
    return ahead;
}

QString yearlyPath(MovementRecord::Kind kind, const QString &year)
{
    return SummarySelection::yearlyFilePath(SummarySelection::twin(kind).filePrefix, year);
}

// The yearly movement files read straight from their record bytes, the way the movement
// summary of the whole year reads them (StockLists::scanMovements without a code filter):
// a byte of code 32 or less at either end of a field is left out as the lists trim the
// characters it decodes to, and every byte decodes to one character of its own, so two
// fields hold the same text exactly when they hold the same bytes. A million movements
// thus make no text at all; the lists' general readings of dates and numbers still read
// every field that is not in the plain form.

// The trimmed text bytes of a field of a stored movement.
QByteArrayView movementField(QByteArrayView record, int field)
{
    const RecordLayout &layout = MovementRecord::layout();
    return storedText(record, layout.offset(field), layout.field(field).capacity, Trim::Controls);
}

// The general reading of a field: its decoded text, as the lists read it.
template <typename Read> auto readText(QByteArrayView record, int field, Read read)
{
    char16_t buffer[ListLines::kFieldBuffer];
    return read(ListLines::fieldView(MovementRecord::layout(), record, field, buffer));
}

int digitOf(char c)
{
    return (c >= '0' && c <= '9') ? c - '0' : -1;
}

struct YearMonth
{
    int year = 0;
    int month = 0;
};

// The year and month of a movement's date as the summary reads the date: dd/mm/yyyy
// straight from the bytes, any other form through the general reading of dates; nothing
// when it is not a calendar date.
std::optional<YearMonth> movementMonth(QByteArrayView record)
{
    const QByteArrayView text = movementField(record, MovementRecord::Data);
    if (text.size() == 10 && text[2] == '/' && text[5] == '/') {
        constexpr int kAt[8] = { 0, 1, 3, 4, 6, 7, 8, 9 };
        int d[8];
        bool digits = true;
        for (int i = 0; i < 8; ++i) {
            d[i] = digitOf(text[kAt[i]]);
            digits = digits && d[i] >= 0;
        }
        if (digits) {
            const int day = d[0] * 10 + d[1];
            const int month = d[2] * 10 + d[3];
            const int year = d[4] * 1000 + d[5] * 100 + d[6] * 10 + d[7];
            if (year > 0 && QDate::isValid(year, month, day))
                return YearMonth { year, month };
        }
    }
    const std::optional<QDate> date = readText(record, MovementRecord::Data, DateFromText);
    if (!date)
        return std::nullopt;
    return YearMonth { date->year(), date->month() };
}

// The number of a field of a stored movement as TextToNumber reads its text. The plain
// forms (an optional sign, digits, a decimal comma and digits, at most 15 digits in all)
// are read from the bytes: the digits and the power of ten are exact doubles and one
// division rounds the quotient once, to the nearest double, as the general reading does.
// Every other form goes through the general reading.
std::optional<double> movementNumber(QByteArrayView record, int field)
{
    static constexpr std::array<double, 16> kPowers { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
        1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };
    const QByteArrayView text = movementField(record, field);
    const qsizetype end = text.size();
    qsizetype i = 0;
    const bool negative = i < end && text[i] == '-';
    if (i < end && (text[i] == '-' || text[i] == '+'))
        ++i;
    std::uint64_t mantissa = 0; // wraps past 19 digits, which are not read here anyway
    int digits = 0;
    // Adds the digits from i on to the mantissa; how many there were.
    auto readDigits = [&] {
        int read = 0;
        while (i < end && digitOf(text[i]) >= 0) {
            mantissa = mantissa * 10 + std::uint64_t(digitOf(text[i]));
            ++i;
            ++read;
        }
        digits += read;
        return read;
    };
    bool plain = readDigits() > 0;
    int decimals = 0;
    if (plain && i < end && text[i] == ',') {
        ++i;
        decimals = readDigits();
        plain = decimals > 0;
    }
    if (plain && i == end && digits <= 15) {
        const double value = double(mantissa) / kPowers[std::size_t(decimals)];
        return negative ? -value : value;
    }
    return readText(record, field, TextToNumber);
}

// Reads the movements of year from a yearly file: take() gets every movement the summary
// of the whole year lists, with its position and the month of its date, in file order.
// As in the summary, a movement whose date is not a calendar date ends the reading there.
// fields names the fields take() looks at besides the date. False when the reading did
// not reach the end.
template <typename Take>
bool readYear(Storage::Session &file, int year, std::span<const int> fields, Take take)
{
    std::vector<int> asked { MovementRecord::Data };
    asked.insert(asked.end(), fields.begin(), fields.end());
    bool stopped = false;
    const bool read = file.scan(asked, [&](qint64 index, QByteArrayView record) {
        const std::optional<YearMonth> date = movementMonth(record);
        if (!date) {
            stopped = true;
            return false;
        }
        if (date->year == year)
            take(index, record, date->month);
        return true;
    });
    return read && !stopped;
}

// The order of two codes as the lists order their texts (ListLines::compareLines), from
// their bytes: each byte stands for the lower-case form of the character it decodes to.
int compareCodes(QByteArrayView a, QByteArrayView b)
{
    static const std::array<char16_t, 256> folded = [] {
        std::array<char16_t, 256> table {};
        for (int byte = 0; byte < 256; ++byte) {
            const char16_t c = Cp1252::decodeByte(static_cast<unsigned char>(byte)).unicode();
            table[std::size_t(byte)] = (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
        }
        return table;
    }();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = folded[static_cast<unsigned char>(a[i])];
        const char16_t cb = folded[static_cast<unsigned char>(b[i])];
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Asks the memory for the line at address ahead of its use (a hint: nothing else changes).
inline void prefetch(const void *address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    Q_UNUSED(address);
#endif
}

// The codes of a yearly file with their unloaded pieces, found by the code's bytes. Each
// code has one cache line of its own in an open table: the line keeps the code's bytes
// beside its figures, so that finding a code among a hundred thousand reads one line and
// makes no text. The codes are added a few movements after they were read, in the same
// order: the line a code needs is asked for when it is read, so that the memory fetches
// the lines of several movements at once instead of one after the other.
class UnloadTally
{
public:
    static constexpr int kCapacity = MovementRecord::kTable.fields[MovementRecord::Codice].capacity;
    struct alignas(64) Entry
    {
        std::array<char, kCapacity> bytes {};
        std::uint8_t size = 0; // 0: a free place (a code is never empty)
        std::uint32_t first = 0; // the order in which the codes were first met
        double pieces = 0;
        qint64 lastIndex = 0;
        QByteArrayView code() const { return { bytes.data(), size }; }
    };

    // Counts pieces for code (a field's trimmed text bytes, 1 to kCapacity of them) unloaded
    // by the movement at index.
    void add(QByteArrayView code, double pieces, qint64 index)
    {
        Pending &next = m_pending[(m_head + m_waiting) % kAhead];
        if (m_waiting == kAhead) {
            settle(next);
            m_head = (m_head + 1) % kAhead;
        } else {
            ++m_waiting;
        }
        next.size = std::uint8_t(std::min<qsizetype>(code.size(), kCapacity));
        std::copy_n(code.data(), next.size, next.bytes.begin());
        next.hash = qHash(next.code(), m_seed);
        next.pieces = pieces;
        next.index = index;
        prefetch(&m_places[next.hash & (m_places.size() - 1)]);
    }

    // Every code with its figures, in the order the codes were first met, once every movement
    // added has been counted.
    std::vector<const Entry *> entries()
    {
        for (; m_waiting > 0; --m_waiting, m_head = (m_head + 1) % kAhead)
            settle(m_pending[m_head]);
        std::vector<const Entry *> out(m_used);
        for (const Entry &place : m_places) {
            if (place.size > 0)
                out[place.first] = &place;
        }
        return out;
    }

private:
    // How many movements a code waits before it is counted.
    static constexpr std::size_t kAhead = 16;
    struct Pending
    {
        std::array<char, kCapacity> bytes {};
        std::uint8_t size = 0;
        std::size_t hash = 0;
        double pieces = 0;
        qint64 index = 0;
        QByteArrayView code() const { return { bytes.data(), size }; }
    };

    void settle(const Pending &movement)
    {
        Entry &entry = place(movement.code(), movement.hash);
        if (entry.size == 0) {
            entry.size = movement.size;
            std::copy_n(movement.bytes.begin(), movement.size, entry.bytes.begin());
            entry.first = std::uint32_t(m_used++);
            entry.pieces += movement.pieces;
            entry.lastIndex = movement.index;
            // At most half the places in use keeps the runs of used places short.
            if (m_used * 2 > m_places.size())
                grow();
            return;
        }
        entry.pieces += movement.pieces;
        entry.lastIndex = movement.index;
    }

    // The place of code: its entry, or the free place where it goes.
    Entry &place(QByteArrayView code, std::size_t hash)
    {
        const std::size_t mask = m_places.size() - 1;
        for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
            Entry &entry = m_places[at];
            if (entry.size == 0 || entry.code() == code)
                return entry;
        }
    }

    void grow()
    {
        std::vector<Entry> old(m_places.size() * 2);
        old.swap(m_places);
        for (const Entry &entry : old) {
            if (entry.size > 0)
                place(entry.code(), qHash(entry.code(), m_seed)) = entry;
        }
    }

    std::size_t m_seed = QHashSeed::globalSeed();
    std::vector<Entry> m_places = std::vector<Entry>(1024);
    std::size_t m_used = 0;
    std::array<Pending, kAhead> m_pending {};
    std::size_t m_head = 0;
    std::size_t m_waiting = 0;
};

} // namespace

QStringList kindNames()
{
    return { QStringLiteral("Carichi e scarichi per mese"),
        QStringLiteral("Valore del magazzino per tipologia"),
        QStringLiteral("Articoli più scaricati"),
        QStringLiteral("Rate in scadenza nei prossimi 12 mesi") };
}

bool usesYear(Kind kind)
{
    return kind == Kind::Movements || kind == Kind::TopUnloaded;
}

Kind firstKindFor(const QString &openerClass)
{
    if (openerClass == u"TfrmMenuRiepilogo")
        return Kind::ValueByType;
    if (openerClass == u"TfrmAnagrafica")
        return Kind::Instalments;
    return Kind::Movements;
}

MonthlyMovements monthlyMovements(Storage::Session &file, int year)
{
    MonthlyMovements out;
    static constexpr int kFields[] = { MovementRecord::Quantita, MovementRecord::Importo };
    out.complete = readYear(file, year, kFields, [&](qint64, QByteArrayView record, int month) {
        MonthFigure &figure = out.months[std::size_t(month - 1)];
        ++figure.movements;
        const auto pieces = movementNumber(record, MovementRecord::Quantita);
        const auto unit = movementNumber(record, MovementRecord::Importo);
        if (pieces)
            figure.pieces += *pieces;
        if (pieces && unit)
            figure.value += *pieces * *unit;
        else
            ++out.unreadable;
    });
    return out;
}

ValueByType valueByType(Storage::Session &products)
{
    const RecordLayout &layout = ProductRecord::layout();
    ValueByType out;
    QHash<QString, qsizetype> byKey;
    const StockLists::InventoryScan scan = StockLists::scanInventory(
        products, QString(), [&](QByteArrayView bytes, double value) {
            char16_t buffer[ListLines::kFieldBuffer];
            const QStringView type
                = ListLines::fieldView(layout, bytes, ProductRecord::Tipologia, buffer);
            const QString key = LowerAscii(type);
            auto found = byKey.constFind(key);
            if (found == byKey.cend()) {
                found = byKey.insert(key, out.types.size());
                out.types.append(
                    { type.isEmpty() ? QStringLiteral("Senza tipologia") : type.toString(), 0, 0 });
            }
            TypeValue &entry = out.types[*found];
            entry.value += value;
            ++entry.products;
        });
    std::stable_sort(out.types.begin(), out.types.end(), [](const auto &a, const auto &b) {
        if (a.value != b.value)
            return a.value > b.value;
        return ListLines::lineLess(a.type, b.type);
    });
    out.total = scan.total;
    out.complete = scan.complete;
    return out;
}

QList<TypeValue> withOthers(const QList<TypeValue> &types, int maxBars)
{
    if (types.size() <= maxBars)
        return types;
    QList<TypeValue> out = types.mid(0, maxBars - 1);
    TypeValue others { QStringLiteral("Altre"), 0, 0 };
    for (qsizetype i = maxBars - 1; i < types.size(); ++i) {
        others.value += types[i].value;
        others.products += types[i].products;
    }
    out.append(others);
    return out;
}

TopUnloaded topUnloaded(Storage::Session &unloads, int year, int count)
{
    const RecordLayout &layout = MovementRecord::layout();
    TopUnloaded out;
    UnloadTally tally;
    static constexpr int kFields[] = { MovementRecord::Codice, MovementRecord::Quantita };
    out.complete = readYear(unloads, year, kFields, [&](qint64 index, QByteArrayView record, int) {
        const QByteArrayView code = movementField(record, MovementRecord::Codice);
        if (code.isEmpty())
            return;
        ++out.movements;
        if (const auto pieces = movementNumber(record, MovementRecord::Quantita))
            tally.add(code, *pieces, index);
        else
            ++out.unreadable;
    });

    // Most pieces first, equal pieces by code as the lists order texts, and codes the lists
    // hold equal (differing in the case of letters only) in the order they were first met.
    std::vector<const UnloadTally::Entry *> entries = tally.entries();
    const auto shown = std::min<std::size_t>(entries.size(), std::size_t(std::max(count, 0)));
    std::partial_sort(entries.begin(), entries.begin() + std::ptrdiff_t(shown), entries.end(),
        [](const UnloadTally::Entry *a, const UnloadTally::Entry *b) {
            if (a->pieces != b->pieces)
                return a->pieces > b->pieces;
            if (const int codeOrder = compareCodes(a->code(), b->code()))
                return codeOrder < 0;
            return a->first < b->first;
        });
    for (std::size_t i = 0; i < shown; ++i) {
        const UnloadTally::Entry &entry = *entries[i];
        Record record(layout);
        QString description;
        if (unloads.readAt(entry.lastIndex, record))
            description = TrimControl(TrimControl(record.value(MovementRecord::Marca)) + u' '
                + TrimControl(record.value(MovementRecord::Modello)));
        out.products.append({ Cp1252::decode(entry.code()), description, entry.pieces });
    }
    return out;
}

InstalmentsAhead instalmentsAhead(Storage::Session &customers, const QDate &today)
{
    const RecordLayout &layout = CustomerRecord::layout();
    InstalmentsAhead out = monthsFrom(today);
    const QDate first = out.months[0].month;
    const QDate last = first.addMonths(12).addDays(-1);

    QDate due;
    auto accept = [&](QByteArrayView bytes) {
        const std::optional<DueList::Reading> customer = DueList::read(bytes, today);
        if (!customer)
            return ListLines::Verdict::Stop;
        due = customer->scadenza;
        return (due >= today && due <= last) ? ListLines::Verdict::Add : ListLines::Verdict::Skip;
    };
    out.complete = ListLines::scanRecords(customers, accept, [&](qint64, QByteArrayView bytes) {
        const int index = (due.year() - first.year()) * 12 + due.month() - first.month();
        MonthDue &month = out.months[std::size_t(index)];
        ++month.instalments;
        if (const auto amount = numberOf(layout, bytes, CustomerRecord::Rata))
            month.amount += *amount;
        else
            ++out.unreadable;
    });
    return out;
}

QStringList movementYears()
{
    QStringList years;
    const QStringList names = Storage::archiveNames(
        { QStringLiteral("Carico_????.mrv"), QStringLiteral("Scarico_????.mrv") });
    for (const QString &name : names) {
        const QString year = name.section(u'_', 1).left(4);
        const bool digits = std::all_of(
            year.cbegin(), year.cend(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
        if (digits && !years.contains(year))
            years.append(year);
    }
    std::sort(years.begin(), years.end(), std::greater<>());
    return years;
}

Table movementsTable(const MonthlyMovements &loads, const MonthlyMovements &unloads, int year)
{
    Table table;
    table.title = kindNames()[0] + QStringLiteral(" - anno %1").arg(year);
    table.labelHeader = QStringLiteral("Mese");
    table.labels = SummarySelection::monthNames();
    Series loadPieces { QStringLiteral("Pezzi caricati"), Unit::Pieces, Plot::Bars, {} };
    Series unloadPieces { QStringLiteral("Pezzi scaricati"), Unit::Pieces, Plot::Bars, {} };
    Series loadValue { QStringLiteral("Valore carichi (€)"), Unit::Euro, Plot::Line, {} };
    Series unloadValue { QStringLiteral("Valore scarichi (€)"), Unit::Euro, Plot::Line, {} };
    MonthFigure loadTotal;
    MonthFigure unloadTotal;
    for (std::size_t m = 0; m < 12; ++m) {
        loadPieces.values.append(loads.months[m].pieces);
        unloadPieces.values.append(unloads.months[m].pieces);
        loadValue.values.append(loads.months[m].value);
        unloadValue.values.append(unloads.months[m].value);
        for (auto [total, month] : { std::pair { &loadTotal, &loads.months[m] },
                 std::pair { &unloadTotal, &unloads.months[m] } }) {
            total->movements += month->movements;
            total->pieces += month->pieces;
            total->value += month->value;
        }
    }
    table.series = { loadPieces, unloadPieces, loadValue, unloadValue };
    auto totalText = [](const QString &what, const MonthFigure &total) {
        return what + movementsRead(total.movements) + QStringLiteral(", ")
            + ChartTable::unitText(total.pieces, Unit::Pieces) + QStringLiteral(" pezzi, ")
            + ChartTable::euroText(total.value) + u'.';
    };
    table.summary = totalText(QStringLiteral("Carichi: "), loadTotal) + QStringLiteral("   ")
        + totalText(QStringLiteral("Scarichi: "), unloadTotal);
    table.notice = joinNotices({ loads.complete && unloads.complete ? QString() : kMovementsStopped,
        loads.unreadable + unloads.unreadable > 0
            ? unreadableMovements(loads.unreadable + unloads.unreadable)
            : QString() });
    table.emptyText = kNoMovements;
    table.empty = loadTotal.movements + unloadTotal.movements == 0;
    return table;
}

Table valueTable(const ValueByType &value)
{
    Table table;
    table.title = kindNames()[1];
    table.labelHeader = QStringLiteral("Tipologia");
    table.horizontal = true;
    Series values { QStringLiteral("Valore (€)"), Unit::Euro, Plot::Bars, {} };
    qint64 products = 0;
    for (const TypeValue &type : withOthers(value.types)) {
        table.labels.append(type.type);
        values.values.append(type.value);
        products += type.products;
    }
    table.series = { values };
    table.summary = QStringLiteral("Valore totale del magazzino: ")
        + ChartTable::euroText(value.total)
        + QStringLiteral(" (%1 articoli, %2 tipologie).").arg(products).arg(value.types.size());
    if (!value.complete)
        table.notice = QStringLiteral(
            "Attenzione: un articolo con un valore non leggibile ha interrotto la lettura; il "
            "grafico mostra, come l'inventario, gli articoli letti fino a quel punto.");
    table.emptyText = QStringLiteral("Nessun articolo in magazzino.");
    table.empty = table.labels.isEmpty();
    return table;
}

Table topUnloadedTable(const TopUnloaded &top, int year)
{
    Table table;
    table.title = kindNames()[2] + QStringLiteral(" - anno %1").arg(year);
    table.labelHeader = QStringLiteral("Codice");
    table.textHeader = QStringLiteral("Descrizione");
    table.horizontal = true;
    Series pieces { QStringLiteral("Pezzi scaricati"), Unit::Pieces, Plot::Bars, {} };
    double shown = 0;
    for (const Unloaded &product : top.products) {
        table.labels.append(product.code);
        table.texts.append(product.description);
        pieces.values.append(product.pieces);
        shown += product.pieces;
    }
    table.series = { pieces };
    table.summary = QStringLiteral("Pezzi scaricati dagli articoli mostrati: ")
        + ChartTable::unitText(shown, Unit::Pieces) + QStringLiteral(" (")
        + movementsRead(top.movements) + QStringLiteral(" di scarico nell'anno).");
    table.notice = joinNotices({ top.complete ? QString() : kMovementsStopped,
        top.unreadable > 0 ? unreadableMovements(top.unreadable) : QString() });
    table.emptyText = QStringLiteral("Nessun movimento di scarico nell'anno scelto.");
    table.empty = table.labels.isEmpty();
    return table;
}

Table instalmentsTable(const InstalmentsAhead &ahead)
{
    Table table;
    table.title = kindNames()[3];
    table.labelHeader = QStringLiteral("Mese");
    Series amounts { QStringLiteral("Importo rate (€)"), Unit::Euro, Plot::Bars, {} };
    Series counts { QStringLiteral("Numero rate"), Unit::Count, Plot::Line, {} };
    const QStringList months = SummarySelection::monthNames();
    qint64 instalments = 0;
    double amount = 0;
    for (const MonthDue &month : ahead.months) {
        table.labels.append(
            months.value(month.month.month() - 1) + QStringLiteral(" %1").arg(month.month.year()));
        amounts.values.append(month.amount);
        counts.values.append(double(month.instalments));
        instalments += month.instalments;
        amount += month.amount;
    }
    table.series = { amounts, counts };
    table.summary = QStringLiteral("Totale: ")
        + (instalments == 1 ? QStringLiteral("1 rata") : QStringLiteral("%1 rate").arg(instalments))
        + QStringLiteral(", ") + ChartTable::euroText(amount) + u'.';
    table.notice = joinNotices({ ahead.complete
            ? QString()
            : QStringLiteral("Attenzione: una scheda con la data di scadenza o i giorni di "
                             "preavviso non leggibili ha interrotto la lettura; il grafico "
                             "mostra, come il riepilogo delle rate in scadenza, le schede "
                             "lette fino a quel punto."),
        ahead.unreadable > 0 ? QStringLiteral("Attenzione: %1 rate con un importo non leggibile "
                                              "sono contate ma non sommate.")
                                   .arg(ahead.unreadable)
                             : QString() });
    table.emptyText = QStringLiteral("Nessuna rata in scadenza nei prossimi 12 mesi.");
    table.empty = instalments == 0;
    return table;
}

Reading read(Kind kind, const QString &year, const QDate &today)
{
    Reading out;
    std::unique_ptr<Storage::Session> archive;
    auto open = [&](const QString &path, const RecordLayout &layout) {
        archive.reset();
        const Opened opened = openExisting(archive, path, layout);
        if (opened == Opened::Failed)
            out.error = accessErrorText();
        return opened == Opened::Yes;
    };
    const bool yearOk = year.size() == 4
        && std::all_of(year.cbegin(), year.cend(), [](QChar ch) { return ch.isDigit(); });
    const int yearNumber = yearOk ? year.toInt() : 0;

    switch (kind) {
    case Kind::Movements: {
        MonthlyMovements loads;
        MonthlyMovements unloads;
        if (yearOk && open(yearlyPath(MovementRecord::Kind::Load, year), MovementRecord::layout()))
            loads = monthlyMovements(*archive, yearNumber);
        if (yearOk
            && open(yearlyPath(MovementRecord::Kind::Unload, year), MovementRecord::layout()))
            unloads = monthlyMovements(*archive, yearNumber);
        out.table = movementsTable(loads, unloads, yearNumber);
        if (!yearOk)
            out.table.title = kindNames()[0];
        break;
    }
    case Kind::ValueByType: {
        ValueByType value;
        if (open(ProgramFolder::filePath(ProductRecord::archive().fileName),
                ProductRecord::layout()))
            value = valueByType(*archive);
        out.table = valueTable(value);
        break;
    }
    case Kind::TopUnloaded: {
        TopUnloaded top;
        if (yearOk
            && open(yearlyPath(MovementRecord::Kind::Unload, year), MovementRecord::layout()))
            top = topUnloaded(*archive, yearNumber);
        out.table = topUnloadedTable(top, yearNumber);
        if (!yearOk)
            out.table.title = kindNames()[2];
        break;
    }
    case Kind::Instalments: {
        InstalmentsAhead ahead = monthsFrom(today);
        if (open(ProgramFolder::filePath(CustomerRecord::archive().fileName),
                CustomerRecord::layout()))
            ahead = instalmentsAhead(*archive, today);
        out.table = instalmentsTable(ahead);
        break;
    }
    }
    return out;
}

} // namespace ChartFigures
