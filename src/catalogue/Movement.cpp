#include "catalogue/Movement.h"

#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QFileInfo>

namespace Movement {

namespace {
QString orDefault(const QString &text, const QString &fallback)
{
    return TrimControl(text).isEmpty() ? fallback : text;
}
} // namespace

QString quantityCaption(MovementRecord::Kind kind)
{
    return kind == MovementRecord::Kind::Load ? QStringLiteral("Quantità da aggiungere:")
                                              : QStringLiteral("Quantità da sottrarre:");
}

std::optional<MovementRecord::Kind> kindFromCaption(QStringView caption)
{
    for (const auto kind : { MovementRecord::Kind::Load, MovementRecord::Kind::Unload }) {
        if (caption == quantityCaption(kind))
            return kind;
    }
    return std::nullopt;
}

StockTotal computeTotal(MovementRecord::Kind kind, const QString &giacenza, const QString &aggiunta)
{
    const QString zero = QStringLiteral("0");
    StockTotal result { orDefault(giacenza, zero), orDefault(aggiunta, zero), zero };
    const std::optional<double> g = TextToNumber(result.giacenza);
    const std::optional<double> q = TextToNumber(result.aggiunta);
    if (!g || !q)
        return { zero, zero, zero };
    result.totale = NumberToText(kind == MovementRecord::Kind::Load ? *g + *q : *g - *q);
    return result;
}

QString negativeStockQuestion(MovementRecord::Kind kind, const QString &totale)
{
    const std::optional<double> stock = TextToNumber(TrimControl(totale));
    if (kind != MovementRecord::Kind::Unload || !stock || *stock >= 0)
        return QString();
    return QStringLiteral("La giacenza diventerà negativa (%1). Registrare lo scarico?")
        .arg(NumberToText(*stock));
}

Record buildRecord(const MovementEntry &entry)
{
    using namespace MovementRecord;
    Record record(layout());
    record.setValue(Data, entry.data);
    record.setValue(Ora, entry.ora);
    record.setValue(Codice, entry.codice);
    record.setValue(Tipologia, entry.tipologia);
    record.setValue(Marca, entry.marca);
    record.setValue(Modello, entry.modello);
    record.setValue(Importo, orDefault(entry.importo, QStringLiteral("0,00")));
    record.setValue(Quantita, orDefault(entry.quantita, QStringLiteral("0")));
    record.setValue(Note, entry.note);
    return record;
}

QString fileNameFor(MovementRecord::Kind kind, const Record &record)
{
    return MovementRecord::fileNameFor(kind, record.value(MovementRecord::Data));
}

bool appendMovement(
    MovementRecord::Kind kind, const Record &record, QString *error, RecordFile::Failure *failure)
{
    const Archive archive = MovementRecord::archiveNamed(fileNameFor(kind, record));
    const QString path = ProgramFolder::filePath(archive.fileName);
    const bool existed = QFileInfo::exists(path);
    RecordFile file;
    const bool ok = file.open(archive) && file.append(record);
    if (!ok && error)
        *error = file.errorString();
    if (!ok && failure)
        *failure = file.failure();
    file.close();
    // The first movement of a year that failed leaves no empty yearly file behind.
    if (!ok && !existed)
        RecordFile::removeIfEmpty(path);
    return ok;
}

} // namespace Movement
