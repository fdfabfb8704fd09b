#include "records/SupplierRecord.h"

namespace SupplierRecord {
const Archive &archive()
{
    static const Archive instance { QString::fromLatin1(kFileName), &kLayout };
    return instance;
}
} // namespace SupplierRecord
