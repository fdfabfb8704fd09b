#include "cards/CardArchive.h"

#include "storage/RecordFile.h"
#include "storage/TextForms.h"

namespace {

CardOutcome accessError(std::optional<qint64> position = {})
{
    CardOutcome out;
    out.accessError = true;
    out.position = position;
    return out;
}

CardOutcome accessError(const RecordFile &file, std::optional<qint64> position = {})
{
    CardOutcome out = accessError(position);
    out.busy = file.failure() == RecordFile::Failure::Busy;
    return out;
}

} // namespace

CardOutcome CardArchive::navigate(CardNavigation::Move move, const QString &positionText) const
{
    // The arrows only read: they work on an archive one may not write.
    RecordFile file;
    if (!file.open(m_archive, RecordFile::Access::ReadOnly))
        return accessError(file);
    const CardNavigation::Step step
        = CardNavigation::decide(move, positionText, file.recordCount());
    CardOutcome out;
    switch (step.action) {
    case CardNavigation::Step::Action::Stay:
        break;
    case CardNavigation::Step::Action::EmptyArchive:
        if (step.clearPosition)
            out.position = 0;
        out.notice = { Notice::Kind::Information, CardNavigation::emptyArchiveText() };
        break;
    case CardNavigation::Step::Action::Read: {
        // The record is read whole before the card changes.
        Record record(layout());
        if (!file.readAt(step.index, record))
            return accessError(file);
        out.position = step.position();
        out.record = record;
        break;
    }
    }
    return out;
}

QString CardArchive::conflictText()
{
    return QStringLiteral("La scheda è stata modificata da un'altra postazione dopo che è stata "
                          "aperta. Si vogliono sovrascrivere quelle modifiche?");
}

CardOutcome CardArchive::save(
    const Record &record, const QString &positionText, const std::optional<Record> &asRead) const
{
    RecordFile file;
    if (!file.open(m_archive))
        return accessError(file);
    const CardNavigation::Save save = CardNavigation::decideSave(positionText);
    bool written = false;
    if (save.append) {
        written = file.append(record);
    } else if (asRead) {
        // Compared as records, so that a stored record whose bytes past a field's text are
        // not zeros (an older program's) is still the one the card read.
        const QByteArray readBytes = asRead->encode();
        written = file.writeAtIf(save.index, record.encode(), [&](QByteArrayView stored) {
            return Record::fromBytes(layout(), stored).encode() == readBytes;
        });
        if (!written && file.failure() == RecordFile::Failure::Conflict) {
            CardOutcome out;
            out.conflict = true;
            return out;
        }
    } else {
        written = file.writeAt(save.index, record);
    }
    if (!written)
        return accessError(file);
    CardOutcome out;
    out.position = save.append ? file.recordCount() : save.index + 1;
    out.notice = save.notice;
    return out;
}

CardOutcome CardArchive::reread(const QString &positionText) const
{
    RecordFile file;
    if (!file.open(m_archive, RecordFile::Access::ReadOnly))
        return accessError(file);
    const CardNavigation::Save at = CardNavigation::decideSave(positionText);
    Record record(layout());
    if (at.append || !file.readAt(at.index, record))
        return accessError(file);
    CardOutcome out;
    out.position = at.index + 1;
    out.record = record;
    return out;
}

CardOutcome CardArchive::duplicate(const QString &positionText) const
{
    CardOutcome out;
    if (TrimControl(positionText).isEmpty()) {
        out.notice = { Notice::Kind::Warning, CardNavigation::duplicateNewCardText() };
        return out;
    }
    RecordFile file;
    if (!file.open(m_archive))
        return accessError(file, 0);
    out.position = 0;
    out.notice = { Notice::Kind::Information, CardNavigation::duplicatedText() };
    return out;
}
