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

} // namespace

CardOutcome CardArchive::navigate(CardNavigation::Move move, const QString &positionText) const
{
    // The arrows only read: they work on an archive one may not write.
    RecordFile file;
    if (!file.open(m_archive, RecordFile::Access::ReadOnly))
        return accessError();
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
            return accessError();
        out.position = step.position();
        out.record = record;
        break;
    }
    }
    return out;
}

CardOutcome CardArchive::save(const Record &record, const QString &positionText) const
{
    RecordFile file;
    if (!file.open(m_archive))
        return accessError();
    const CardNavigation::Save save = CardNavigation::decideSave(positionText);
    const bool written = save.append ? file.append(record) : file.writeAt(save.index, record);
    if (!written)
        return accessError();
    CardOutcome out;
    out.position = save.append ? file.recordCount() : save.index + 1;
    out.notice = save.notice;
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
        return accessError(0);
    out.position = 0;
    out.notice = { Notice::Kind::Information, CardNavigation::duplicatedText() };
    return out;
}

std::optional<SaveFailure> requireField(
    const Record &record, int field, const QString &warning, const QString &focus)
{
    if (!TrimControl(record.value(field)).isEmpty())
        return std::nullopt;
    return SaveFailure { { Notice::Kind::Warning, warning }, focus };
}
