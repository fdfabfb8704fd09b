#include "records/MovementRecord.h"

#include "storage/TextForms.h"

namespace MovementRecord {

QString fileNameFor(Kind kind, const QString &dateText)
{
    const QString prefix
        = kind == Kind::Load ? QStringLiteral("Carico_") : QStringLiteral("Scarico_");
    return prefix + YearOf(dateText) + QStringLiteral(".mrv");
}

Archive archiveNamed(const QString &fileName)
{
    return { fileName, &kLayout };
}

} // namespace MovementRecord
