#include "catalogue/StockMovement.h"

#include "catalogue/Movement.h"
#include "catalogue/Prices.h"
#include "records/ProductRecord.h"
#include "storage/Storage.h"
#include "storage/TextForms.h"

#include <optional>

namespace StockMovement {

namespace {

Outcome failed(Outcome::Result result, const Record &product, const QString &error = {},
    Storage::Failure failure = Storage::Failure::Other)
{
    Outcome out;
    out.result = result;
    out.product = product;
    out.error = error;
    out.busy = failure == Storage::Failure::Busy;
    return out;
}

} // namespace

Outcome apply(MovementRecord::Kind kind, const Record &movement, qint64 index)
{
    using namespace ProductRecord;
    Record product(layout());
    std::optional<Outcome> outcome;
    QString openError;
    Storage::Failure openFailure = Storage::Failure::Other;
    // No other copy writes the products between the read and the rewrite.
    Storage::change(
        archive(),
        [&](Storage::Session &file) {
            if (index < 0 || index >= file.recordCount()) {
                outcome = failed(Outcome::Result::CardChanged, product);
                return false;
            }
            QByteArray oldBytes;
            if (!file.readAt(index, oldBytes)) {
                outcome = failed(
                    Outcome::Result::AccessError, product, file.errorString(), file.failure());
                return false;
            }
            product.decode(oldBytes);
            const QString code = TrimControl(movement.value(MovementRecord::Codice));
            if (code.isEmpty() || TrimControl(product.value(Codice)) != code) {
                outcome = failed(Outcome::Result::CardChanged, product);
                return false;
            }

            const Movement::StockTotal total = Movement::computeTotal(
                kind, product.value(Giacenza), movement.value(MovementRecord::Quantita));
            const Prices::ValueResult value = Prices::calcolaValore(
                { product.value(Costo), total.totale, product.value(Valore) });
            Record updated = product;
            updated.setValue(Giacenza, total.totale);
            // A cost that is not a number leaves the stored value as it was.
            if (value.ok)
                updated.setValue(Valore, value.fields.valore);

            if (!file.writeAt(index, updated)) {
                outcome = failed(
                    Outcome::Result::AccessError, product, file.errorString(), file.failure());
                return false;
            }
            QString error;
            Storage::Failure failure = Storage::Failure::None;
            if (!Movement::appendMovement(kind, movement, &error, &failure)) {
                // The movement is not in its file (a failed append cuts itself back): the
                // product takes its old stock back.
                if (!file.writeAt(index, oldBytes))
                    error += QStringLiteral("; ") + file.errorString();
                outcome = failed(Outcome::Result::AccessError, product, error, failure);
                return false;
            }
            Outcome out;
            out.result = Outcome::Result::Applied;
            out.product = Record::fromBytes(layout(), updated.encode());
            outcome = out;
            return true;
        },
        &openError, &openFailure);
    if (!outcome)
        return failed(Outcome::Result::AccessError, product, openError, openFailure);
    return *outcome;
}

QString storedCode(qint64 index)
{
    Record product(ProductRecord::layout());
    bool read = false;
    if (index >= 0)
        Storage::read(ProductRecord::archive(),
            [&](Storage::Session &file) { read = file.readAt(index, product); });
    return read ? TrimControl(product.value(ProductRecord::Codice)) : QString();
}

} // namespace StockMovement
