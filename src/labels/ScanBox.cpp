#include "labels/ScanBox.h"

#include "app/FieldEntry.h"
#include "app/Messages.h"
#include "cards/CardScreen.h"
#include "labels/Barcode.h"
#include "labels/CodeLookup.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

ScanBox::ScanBox(CardScreen *card, QLineEdit *box, QLabel *status, FieldEntry *fieldEntry,
    std::function<bool(const QString &)> newCard)
    : QObject(card)
    , m_card(card)
    , m_box(box)
    , m_status(status)
    , m_newCard(std::move(newCard))
    , m_replayTimer(new QTimer(this))
{
    m_box->setMaxLength(32767);
    m_box->setToolTip(QStringLiteral("Digitare il codice articolo e premere Invio, oppure "
                                     "leggerlo con un lettore di codici a barre (F3)."));
    m_box->setPlaceholderText(QStringLiteral("Codice (F3)"));
    fieldEntry->setKeyHook(m_box->objectName(), [this](QKeyEvent *event) {
        if (!FieldEntry::isEnter(event))
            return false;
        scan(m_box->text());
        return true;
    });
    // F3 reaches the box from every control of the card, before the controls' own key
    // rules see it.
    card->installEventFilter(this);
    for (QWidget *w : card->findChildren<QWidget *>()) {
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
    }
    m_replayTimer->setSingleShot(true);
    m_replayTimer->setInterval(kBurstGapMs);
    connect(m_replayTimer, &QTimer::timeout, this, &ScanBox::replayHeldKey);
}

ScanBox::~ScanBox()
{
    if (m_guarding)
        qApp->removeEventFilter(this);
}

QString ScanBox::notFoundText(const QString &code)
{
    return QStringLiteral("Nessuna scheda ha il codice %1. Si vuole creare una nuova scheda con "
                          "questo codice?")
        .arg(code);
}

QString ScanBox::tooLongText(int length)
{
    return QStringLiteral("Attenzione: il codice letto è lungo %1 caratteri, ma il codice "
                          "articolo ne può contenere al massimo %2.\r\n\r\nNessuna scheda è "
                          "stata cambiata: verificare il codice e ripetere la lettura.")
        .arg(length)
        .arg(Barcode::kMaxCodeLength);
}

QString ScanBox::notStorableText()
{
    return QStringLiteral("Attenzione: il codice letto contiene caratteri che l'archivio non può "
                          "conservare.\r\n\r\nNessuna scheda è stata cambiata: verificare il "
                          "codice e ripetere la lettura.");
}

QString ScanBox::emptyText()
{
    return QStringLiteral("Nessun codice da cercare: digitare un codice o leggerlo con il "
                          "lettore, quindi premere Invio.");
}

QString ScanBox::sharedText(const QString &code, int count)
{
    return QStringLiteral("Il codice %1 è presente in %2 schede: è visualizzata la prima.")
        .arg(code)
        .arg(count);
}

QString ScanBox::foundText(const QString &code)
{
    return QStringLiteral("Visualizzata la scheda con il codice %1.").arg(code);
}

QString ScanBox::droppedText()
{
    return QStringLiteral("Una lettura arrivata mentre era aperto un messaggio è stata ignorata: "
                          "ripetere la lettura.");
}

void ScanBox::focusBox()
{
    m_box->setFocus(Qt::ShortcutFocusReason);
    m_box->selectAll();
}

void ScanBox::scan(const QString &text)
{
    if (m_guarding)
        return;
    const QString code = TrimControl(text);
    m_box->clear();
    if (code.isEmpty()) {
        m_status->setText(emptyText());
        m_box->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_guarding = true;
    m_dropped = false;
    m_lastKey.invalidate();
    qApp->installEventFilter(this);
    handle(code);
    qApp->removeEventFilter(this);
    m_guarding = false;
    m_replayTimer->stop();
    m_heldKey.reset();
    if (m_dropped)
        m_status->setText(droppedText());
}

void ScanBox::handle(const QString &code)
{
    if (code.size() > Barcode::kMaxCodeLength) {
        Messages::warning(m_card, tooLongText(int(code.size())));
        m_box->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!CodeLookup::key(code)) {
        Messages::warning(m_card, notStorableText());
        m_box->setFocus(Qt::OtherFocusReason);
        return;
    }
    const CodeLookup::Result found = CodeLookup::find(m_card->cardArchive().archive(), code);
    switch (found.status) {
    case CodeLookup::Result::Status::Unreadable:
        Messages::show(m_card, m_card->accessErrorKind(), accessErrorText());
        break;
    case CodeLookup::Result::Status::NotFound:
        if (Messages::confirm(m_card, notFoundText(code)) && m_newCard && m_newCard(code))
            return; // the new card has the focus where its typing goes on
        break;
    case CodeLookup::Result::Status::Found:
        // The card's own display: a stock changed and not saved is asked about first,
        // and the card stays when that save fails.
        m_card->loadRecord(*found.record, found.position);
        if (m_card->positionText() != QString::number(found.position))
            break;
        m_status->setText(found.matches > 1 ? sharedText(code, found.matches) : foundText(code));
        break;
    }
    m_box->setFocus(Qt::OtherFocusReason);
}

bool ScanBox::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (m_guarding)
        return guardKey(watched, key);
    if (key->key() != Qt::Key_F3 || key->modifiers() != Qt::NoModifier)
        return false;
    if (type == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (type == QEvent::KeyPress)
        focusBox();
    return true;
}

bool ScanBox::guardKey(QObject *watched, QKeyEvent *event)
{
    if (m_replaying)
        return false;
    // Every key event reaches the application filter once for each object it passes;
    // only its first stop (a widget) counts.
    if (!watched->isWidgetType())
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // No shortcut of the card or of the box fires either.
        event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return true; // the releases of held or dropped keys
    const bool burst = m_lastKey.isValid() && m_lastKey.elapsed() < kBurstGapMs;
    m_lastKey.start();
    if (burst) {
        // A scanner's burst: the key held back and every one that follows it closely are
        // dropped.
        m_dropped = true;
        m_heldKey.reset();
        m_replayTimer->stop();
        return true;
    }
    m_heldKey.reset(event->clone());
    m_heldTarget = watched;
    m_replayTimer->start();
    return true;
}

void ScanBox::replayHeldKey()
{
    if (!m_heldKey || !m_heldTarget)
        return;
    const std::unique_ptr<QKeyEvent> press = std::move(m_heldKey);
    QKeyEvent release(QEvent::KeyRelease, press->key(), press->modifiers(), press->text());
    m_replaying = true;
    QCoreApplication::sendEvent(m_heldTarget, press.get());
    if (m_heldTarget)
        QCoreApplication::sendEvent(m_heldTarget, &release);
    m_replaying = false;
}
