#include "records/ProductRecord.h"

namespace ProductRecord {
const Archive &archive()
{
    static const Archive instance { QString::fromLatin1(kFileName), &kLayout };
    return instance;
}
} // namespace ProductRecord
