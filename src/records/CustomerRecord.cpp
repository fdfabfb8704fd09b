#include "records/CustomerRecord.h"

namespace CustomerRecord {
const Archive &archive()
{
    static const Archive instance { QString::fromLatin1(kFileName), &kLayout };
    return instance;
}
} // namespace CustomerRecord
