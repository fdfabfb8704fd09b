#include "cards/CardArchive.h"

#include "storage/Storage.h"
#include "storage/TextForms.h"

namespace {

CardOutcome accessError(Storage::Failure failure, std::optional<qint64> position = {})
{
    CardOutcome out;
    out.accessError = true;
    out.busy = failure == Storage::Failure::Busy;
    out.position = position;
    return out;
}

} // namespace

CardOutcome CardArchive::navigate(CardNavigation::Move move, const QString &positionText) const
{
    // The arrows only read: they work on an archive one may not write.
    Storage::Failure failure = Storage::Failure::None;
    const auto archive = Storage::open(m_archive, Storage::Access::ReadOnly, nullptr, &failure);
    if (!archive)
        return accessError(failure);
    const CardNavigation::Step step
        = CardNavigation::decide(move, positionText, archive->recordCount());
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
        if (!archive->readAt(step.index, record))
            return accessError(archive->failure());
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
    Storage::Failure failure = Storage::Failure::None;
    const auto archive = Storage::open(m_archive, Storage::Access::ReadWrite, nullptr, &failure);
    if (!archive)
        return accessError(failure);
    const CardNavigation::Save save = CardNavigation::decideSave(positionText);
    bool written = false;
    if (save.append)
        written = archive->append(record);
    else if (asRead)
        written = archive->writeAtIf(save.index, record, *asRead);
    else
        written = archive->writeAt(save.index, record);
    if (!written) {
        if (archive->failure() != Storage::Failure::Conflict)
            return accessError(archive->failure());
        CardOutcome out;
        out.conflict = true;
        return out;
    }
    CardOutcome out;
    out.position = save.append ? archive->recordCount() : save.index + 1;
    out.notice = save.notice;
    return out;
}

CardOutcome CardArchive::reread(const QString &positionText) const
{
    Storage::Failure failure = Storage::Failure::None;
    const auto archive = Storage::open(m_archive, Storage::Access::ReadOnly, nullptr, &failure);
    if (!archive)
        return accessError(failure);
    const CardNavigation::Save at = CardNavigation::decideSave(positionText);
    Record record(layout());
    if (at.append || !archive->readAt(at.index, record))
        return accessError(archive->failure());
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
    Storage::Failure failure = Storage::Failure::None;
    if (!Storage::open(m_archive, Storage::Access::ReadWrite, nullptr, &failure))
        return accessError(failure, 0);
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
