#include "customers/DueList.h"

#include "customers/CustomerRules.h"
#include "records/CustomerRecord.h"
#include "storage/Session.h"

namespace DueList {

ListLines::Columns columns()
{
    using namespace ListLines;
    using namespace CustomerRecord;
    return {
        joined(QString(), Cognome, Nome, 30),
        padded(QStringLiteral("  Tel. "), Recapito, 12),
        padded(QStringLiteral("  Scad. "), Scadenza, 10),
        padded(QStringLiteral("  Rata: € "), Rata, 15),
        tail(QStringLiteral("  Acquisto: "), Acquisto),
    };
}

std::optional<Reading> read(QByteArrayView customerBytes, const QDate &today)
{
    const RecordLayout &layout = CustomerRecord::layout();
    char16_t dueBuffer[ListLines::kFieldBuffer];
    char16_t noticeBuffer[ListLines::kFieldBuffer];
    const QStringView scadenza
        = ListLines::fieldView(layout, customerBytes, CustomerRecord::Scadenza, dueBuffer);
    const std::optional<bool> due = CustomerRules::isDue(scadenza,
        ListLines::fieldView(layout, customerBytes, CustomerRecord::Preavviso, noticeBuffer),
        today);
    if (!due)
        return std::nullopt;
    return Reading { *CustomerRules::instalmentDate(scadenza), *due };
}

ListLines::Fields readFields()
{
    return { CustomerRecord::Scadenza, CustomerRecord::Preavviso };
}

ListLines::Scan lines(Storage::Session &archive, const QDate &today)
{
    auto accept = [&today](QByteArrayView bytes) {
        const std::optional<Reading> customer = read(bytes, today);
        if (!customer)
            return ListLines::Verdict::Stop;
        return customer->due ? ListLines::Verdict::Add : ListLines::Verdict::Skip;
    };
    ListLines::Scan scan = ListLines::scanLines(
        archive, readFields(), accept, ListLines::lineBuilder(columns(), CustomerRecord::layout()));
    scan.lines.sort();
    return scan;
}

QString printTitle()
{
    return QStringLiteral("Riepilogo rate in scadenza o scadute");
}

} // namespace DueList
