#pragma once
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "storage/Record.h"

#include <QString>

// A movement applied to a stored product: the movement is appended to its yearly file and
// the product's stock and value are rewritten in the archive as one change, under the
// product archive's lock, so the registers and the stored stock always agree. The card's
// screen only shows the outcome.
namespace StockMovement {

struct Outcome
{
    enum class Result {
        Applied, // the movement is recorded and the product rewritten
        CardChanged, // no product with the movement's code at that position: nothing written
        AccessError // an archive could not be read or written: nothing written
    };
    Result result = Result::AccessError;
    // The product as stored afterwards (as it was when nothing was written).
    Record product { ProductRecord::layout() };
    // Why an archive could not be reached (for the access error).
    QString error;
    // The access error came from another copy holding an archive: worth trying again.
    bool busy = false;
};

// Applies the movement (its Codice and Quantita) to the product stored at index (0-based):
// the new stock is the stored stock plus a load or minus an unload, the value the stored
// cost times the new stock. The movement's code must be the stored product's code. When
// the yearly file cannot be written the product gets its old bytes back.
Outcome apply(MovementRecord::Kind kind, const Record &movement, qint64 index);

// The code of the product stored at index, trimmed; empty when there is none or the
// archive cannot be read.
QString storedCode(qint64 index);

} // namespace StockMovement
