#include "cards/CardScreen.h"

#include "app/Messages.h"
#include "app/Screens.h"
#include "storage/RecordFile.h"

#include <QLabel>

CardScreen::CardScreen(const Archive &archive, Notice::Kind accessErrorKind, QWidget *parent)
    : QWidget(parent)
    , m_archive(archive)
    , m_accessErrorKind(accessErrorKind)
{
}

CardScreen::~CardScreen() = default;

CardScreen *CardScreen::resident(const QString &objectName)
{
    return qobject_cast<CardScreen *>(Screens::resident(objectName));
}

void CardScreen::bindCard(QLabel *position, const CardBinding::Config &config)
{
    m_position = position;
    m_binding = std::make_unique<CardBinding>(this, m_archive.layout(), config);
}

void CardScreen::loadRecord(const Record &record, qint64 position)
{
    m_binding->load(record);
    setPosition(position);
    if (position > 0)
        m_asRead = record;
}

QString CardScreen::positionText() const
{
    return m_position->text();
}

void CardScreen::setPosition(qint64 position)
{
    if (position > 0) {
        m_position->setText(QString::number(position));
    } else {
        m_position->clear();
        m_asRead.reset();
    }
}

void CardScreen::showAccessError()
{
    Messages::show(this, m_accessErrorKind, accessErrorText());
}

bool CardScreen::apply(const CardOutcome &outcome)
{
    // What the storage layer set right by itself (a journal set aside) comes first.
    for (const QString &notice : RecordFile::takeNotices())
        Messages::warning(this, notice);
    if (outcome.position && !outcome.record)
        setPosition(*outcome.position);
    if (outcome.accessError) {
        if (outcome.busy)
            Messages::show(this, m_accessErrorKind, archiveBusyText());
        else
            showAccessError();
        return false;
    }
    if (outcome.record)
        loadRecord(*outcome.record, outcome.position.value_or(0));
    Messages::show(this, outcome.notice);
    return true;
}

void CardScreen::navigate(CardNavigation::Move move)
{
    apply(m_archive.navigate(move, positionText()));
}

bool CardScreen::saveCard()
{
    const Record record = recordFromControls();
    CardOutcome outcome = m_archive.save(record, positionText(), m_asRead);
    if (outcome.conflict) {
        if (!Messages::confirm(this, CardArchive::conflictText())) {
            // Nothing saved; the card shows what is stored now.
            const CardOutcome stored = m_archive.reread(positionText());
            if (stored.record)
                CardScreen::loadRecord(*stored.record, stored.position.value_or(0));
            else
                apply(stored);
            return false;
        }
        outcome = m_archive.save(record, positionText());
    }
    if (!apply(outcome))
        return false;
    m_asRead = record;
    return true;
}

bool CardScreen::duplicateCard(const QList<int> &emptiedFields)
{
    const CardOutcome outcome = m_archive.duplicate(positionText());
    if (outcome.position) {
        for (int field : emptiedFields)
            m_binding->setText(field, QString());
    }
    return apply(outcome) && outcome.position;
}
