#include "charts/ChartFigures.h"

#include "customers/DueList.h"
#include "lists/ListLines.h"
#include "records/CustomerRecord.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "reports/SummarySelection.h"
#include "storage/ProgramFolder.h"
#include "storage/Storage.h"
#include "storage/TextForms.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <functional>

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

QString fieldText(const RecordLayout &layout, QByteArrayView bytes, int field)
{
    char16_t buffer[ListLines::kFieldBuffer];
    return ListLines::fieldView(layout, bytes, field, buffer).toString();
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

// A file of the program folder opened for reading only; a missing one is left missing.
enum class Opened { Yes, Missing, Failed };
Opened openExisting(
    std::unique_ptr<Storage::Session> &archive, const QString &path, const RecordLayout &layout)
{
    if (!QFileInfo::exists(path))
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
    const RecordLayout &layout = MovementRecord::layout();
    MonthlyMovements out;
    const StockLists::MovementScan scan = StockLists::scanMovements(file, QString(),
        QDate(year, 1, 1), QDate(year, 12, 31), [&](qint64, QByteArrayView bytes, QDate date) {
            MonthFigure &month = out.months[std::size_t(date.month() - 1)];
            ++month.movements;
            const auto pieces = numberOf(layout, bytes, MovementRecord::Quantita);
            const auto unit = numberOf(layout, bytes, MovementRecord::Importo);
            if (pieces)
                month.pieces += *pieces;
            if (pieces && unit)
                month.value += *pieces * *unit;
            else
                ++out.unreadable;
        });
    out.complete = scan.complete;
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
    struct Entry
    {
        QString code;
        double pieces = 0;
        qint64 lastIndex = 0;
    };
    QList<Entry> entries;
    QHash<QString, qsizetype> byCode;
    const StockLists::MovementScan scan = StockLists::scanMovements(unloads, QString(),
        QDate(year, 1, 1), QDate(year, 12, 31), [&](qint64 index, QByteArrayView bytes, QDate) {
            QString code = fieldText(layout, bytes, MovementRecord::Codice);
            if (code.isEmpty())
                return;
            ++out.movements;
            const auto pieces = numberOf(layout, bytes, MovementRecord::Quantita);
            if (!pieces) {
                ++out.unreadable;
                return;
            }
            auto found = byCode.constFind(code);
            if (found == byCode.cend()) {
                found = byCode.insert(code, entries.size());
                entries.append({ std::move(code), 0, 0 });
            }
            Entry &entry = entries[*found];
            entry.pieces += *pieces;
            entry.lastIndex = index;
        });
    out.complete = scan.complete;

    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.pieces != b.pieces)
            return a.pieces > b.pieces;
        return ListLines::lineLess(a.code, b.code);
    });
    entries.resize(std::min<qsizetype>(entries.size(), count));
    for (const Entry &entry : std::as_const(entries)) {
        Record record(layout);
        QString description;
        if (unloads.readAt(entry.lastIndex, record))
            description = TrimControl(TrimControl(record.value(MovementRecord::Marca)) + u' '
                + TrimControl(record.value(MovementRecord::Modello)));
        out.products.append({ entry.code, description, entry.pieces });
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

QStringList movementYears(const QString &folder)
{
    QStringList years;
    const QStringList names = QDir(folder).entryList(
        { QStringLiteral("Carico_????.mrv"), QStringLiteral("Scarico_????.mrv") }, QDir::Files);
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
