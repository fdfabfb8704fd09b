#include "customers/DueList.h"

#include "customers/CustomerRules.h"
#include "records/CustomerRecord.h"
#include "storage/RecordFile.h"

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

ListLines::Scan lines(RecordFile &file, const QDate &today)
{
    const RecordLayout &layout = CustomerRecord::layout();
    auto accept = [&layout, &today](QByteArrayView bytes) {
        char16_t dueBuffer[ListLines::kFieldBuffer];
        char16_t noticeBuffer[ListLines::kFieldBuffer];
        const std::optional<bool> due = CustomerRules::isDue(
            ListLines::fieldView(layout, bytes, CustomerRecord::Scadenza, dueBuffer),
            ListLines::fieldView(layout, bytes, CustomerRecord::Preavviso, noticeBuffer), today);
        if (!due)
            return ListLines::Verdict::Stop;
        return *due ? ListLines::Verdict::Add : ListLines::Verdict::Skip;
    };
    ListLines::Scan scan
        = ListLines::scanLines(file, accept, ListLines::lineBuilder(columns(), layout));
    scan.lines.sort();
    return scan;
}

QString printTitle()
{
    return QStringLiteral("Riepilogo rate in scadenza o scadute");
}

} // namespace DueList
