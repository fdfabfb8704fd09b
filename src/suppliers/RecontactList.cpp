#include "suppliers/RecontactList.h"

#include "records/SupplierRecord.h"

namespace RecontactList {

ListLines::Columns columns()
{
    using namespace SupplierRecord;
    return {
        ListLines::padded(QString(), Ditta, 30),
        ListLines::padded(QStringLiteral("  "), Titolare, 30),
        ListLines::padded(QStringLiteral("  Tel. "), Recapito, 20),
        ListLines::tail(QStringLiteral("  "), Questioni),
    };
}

ListLines::LineBuilder lineBuilder()
{
    return ListLines::lineBuilder(columns(), SupplierRecord::layout());
}

bool isListed(QByteArrayView recordBytes)
{
    char16_t buffer[ListLines::kFieldBuffer];
    return ListLines::fieldView(
               SupplierRecord::layout(), recordBytes, SupplierRecord::Ricontatta, buffer)
        == QStringView(u"Sì");
}

ListLines::Scan lines(Storage::Session &archive)
{
    ListLines::Scan scan = ListLines::scanLines(
        archive, { SupplierRecord::Ricontatta },
        [](QByteArrayView bytes) {
            return isListed(bytes) ? ListLines::Verdict::Add : ListLines::Verdict::Skip;
        },
        lineBuilder());
    scan.lines.sort();
    return scan;
}

} // namespace RecontactList
