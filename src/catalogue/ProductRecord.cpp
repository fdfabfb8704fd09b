#include "catalogue/ProductRecord.h"

namespace ProductRecord {
const RecordLayout &layout()
{
    static const RecordLayout instance(kFields);
    return instance;
}
} // namespace ProductRecord
