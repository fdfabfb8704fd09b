#include "catalogue/MovementRecord.h"

#include "storage/TextForms.h"

namespace MovementRecord {
const RecordLayout &layout()
{
    static const RecordLayout instance(kFields);
    return instance;
}

QString fileNameFor(Kind kind, const QString &dateText)
{
    const QString prefix = kind == Kind::Load ? QStringLiteral("Carico_")
                                              : QStringLiteral("Scarico_");
    return prefix + YearOf(dateText) + QStringLiteral(".mrv");
}
} // namespace MovementRecord
