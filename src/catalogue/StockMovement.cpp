#include "catalogue/StockMovement.h"

#include "catalogue/Movement.h"
#include "catalogue/Prices.h"
#include "records/ProductRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

namespace StockMovement {

namespace {

Outcome failed(Outcome::Result result, const Record &product, const QString &error = {},
    RecordFile::Failure failure = RecordFile::Failure::Other)
{
    Outcome out;
    out.result = result;
    out.product = product;
    out.error = error;
    out.busy = failure == RecordFile::Failure::Busy;
    return out;
}

} // namespace

Outcome apply(MovementRecord::Kind kind, const Record &movement, qint64 index)
{
    using namespace ProductRecord;
    Record product(layout());
    RecordFile file;
    if (!file.open(archive()) || !file.lockWriters())
        return failed(Outcome::Result::AccessError, product, file.errorString(), file.failure());
    // From here on no other copy can write the product between the read and the rewrite.
    if (index < 0 || index >= file.recordCount())
        return failed(Outcome::Result::CardChanged, product);
    QByteArray oldBytes;
    if (!file.readAt(index, oldBytes))
        return failed(Outcome::Result::AccessError, product, file.errorString());
    product.decode(oldBytes);
    const QString code = TrimControl(movement.value(MovementRecord::Codice));
    if (code.isEmpty() || TrimControl(product.value(Codice)) != code)
        return failed(Outcome::Result::CardChanged, product);

    const Movement::StockTotal total = Movement::computeTotal(
        kind, product.value(Giacenza), movement.value(MovementRecord::Quantita));
    const Prices::ValueResult value
        = Prices::calcolaValore({ product.value(Costo), total.totale, product.value(Valore) });
    Record updated = product;
    updated.setValue(Giacenza, total.totale);
    // A cost that is not a number leaves the stored value as it was.
    if (value.ok)
        updated.setValue(Valore, value.fields.valore);

    if (!file.writeAt(index, updated))
        return failed(Outcome::Result::AccessError, product, file.errorString());
    QString error;
    RecordFile::Failure failure = RecordFile::Failure::None;
    if (!Movement::appendMovement(kind, movement, &error, &failure)) {
        // The movement is not in its file (a failed append cuts itself back): the product
        // takes its old stock back.
        if (!file.writeAt(index, oldBytes))
            error += QStringLiteral("; ") + file.errorString();
        return failed(Outcome::Result::AccessError, product, error, failure);
    }
    Outcome out;
    out.result = Outcome::Result::Applied;
    Record stored(layout());
    stored.decode(updated.encode());
    out.product = stored;
    return out;
}

QString storedCode(qint64 index)
{
    RecordFile file;
    Record product(ProductRecord::layout());
    if (index < 0 || !file.open(ProductRecord::archive(), RecordFile::Access::ReadOnly)
        || !file.readAt(index, product))
        return QString();
    return TrimControl(product.value(ProductRecord::Codice));
}

} // namespace StockMovement
