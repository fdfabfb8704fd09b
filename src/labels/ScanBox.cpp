#include "labels/ScanBox.h"

#include "app/FieldEntry.h"
#include "app/Messages.h"
#include "cards/CardScreen.h"
#include "labels/Barcode.h"
#include "labels/CodeLookup.h"
#include "records/ProductRecord.h"
#include "storage/Session.h"
#include "storage/TextForms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <memory>

// The application's key filter against scanner bursts (see ScanBox): on while the scan
// box handles a code and while a message box is open.
class ScanBox::BurstGuard : public QObject
{
public:
    explicit BurstGuard(ScanBox *owner)
        : QObject(owner)
        , m_owner(owner)
        , m_replayTimer(new QTimer(this))
    {
        m_replayTimer->setSingleShot(true);
        m_replayTimer->setInterval(kBurstGapMs);
        connect(m_replayTimer, &QTimer::timeout, this, &BurstGuard::replayHeldKey);
        qApp->installEventFilter(this);
    }
    ~BurstGuard() override { qApp->removeEventFilter(this); }

    // While a code is handled the guard is on whatever window is open.
    void setScanning(bool on)
    {
        m_scanning = on;
        reset();
    }
    bool dropped() const { return m_dropped; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease
            && type != QEvent::ShortcutOverride)
            return false;
        // A key event reaches the application's filters once for each object it passes;
        // only a widget counts, and the keys replayed pass.
        if (m_replaying || !watched->isWidgetType())
            return false;
        const bool messageOpen
            = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()) != nullptr;
        if (!m_scanning && !messageOpen) {
            if (m_heldKey || m_dropped)
                reset();
            return false;
        }
        auto *key = static_cast<QKeyEvent *>(event);
        if (type == QEvent::ShortcutOverride) {
            // No shortcut fires either.
            event->accept();
            return true;
        }
        if (type != QEvent::KeyPress)
            return true; // the releases of held or dropped keys
        const bool burst = m_lastKey.isValid() && m_lastKey.elapsed() < kBurstGapMs;
        m_lastKey.start();
        if (burst) {
            // A scanner's burst: the key held back and every one that follows it closely
            // are dropped.
            if (!m_dropped)
                m_owner->m_status->setText(droppedText());
            m_dropped = true;
            m_heldKey.reset();
            m_replayTimer->stop();
            return true;
        }
        m_heldKey.reset(key->clone());
        m_heldTarget = watched;
        m_replayTimer->start();
        return true;
    }

private:
    void reset()
    {
        m_dropped = false;
        m_lastKey.invalidate();
        m_heldKey.reset();
        m_replayTimer->stop();
    }

    void replayHeldKey()
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

    ScanBox *m_owner;
    QTimer *m_replayTimer;
    bool m_scanning = false;
    bool m_replaying = false;
    bool m_dropped = false;
    QElapsedTimer m_lastKey;
    std::unique_ptr<QKeyEvent> m_heldKey;
    QPointer<QObject> m_heldTarget;
};

QStringList ScanBox::attach(CardScreen *card, FieldEntry *fieldEntry)
{
    auto *box = card->findChild<QLineEdit *>(QStringLiteral("txtBarcode"));
    auto *status = card->findChild<QLabel *>(QStringLiteral("panInfo"));
    QStringList problems;
    if (!box)
        problems << QStringLiteral("txtBarcode has no edit box for the scan box");
    if (!status)
        problems << QStringLiteral("panInfo has no label for the scan box");
    if (problems.isEmpty())
        new ScanBox(card, box, status, fieldEntry);
    return problems;
}

ScanBox::ScanBox(CardScreen *card, QLineEdit *box, QLabel *status, FieldEntry *fieldEntry)
    : QObject(card)
    , m_card(card)
    , m_box(box)
    , m_status(status)
    , m_guard(new BurstGuard(this))
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
}

ScanBox::~ScanBox() = default;

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

void ScanBox::scan(const QString &text)
{
    const QString code = TrimControl(text);
    m_box->clear();
    if (code.isEmpty()) {
        m_status->setText(emptyText());
        m_box->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_guard->setScanning(true);
    handle(code);
    const bool dropped = m_guard->dropped();
    m_guard->setScanning(false);
    if (dropped)
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
        if (Messages::confirm(m_card, notFoundText(code)) && startNewCard(code))
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

bool ScanBox::startNewCard(const QString &code)
{
    m_card->cmdNuovoClick();
    auto *codeBox = qobject_cast<QLineEdit *>(m_card->binding().control(ProductRecord::Codice));
    if (!codeBox || !m_card->positionText().isEmpty() || !TrimControl(codeBox->text()).isEmpty())
        return false;
    codeBox->setText(code);
    // Typing goes on in the field that follows the code.
    const QStringList &ring = m_card->config().enterRing;
    const qsizetype at = ring.indexOf(codeBox->objectName());
    if (at >= 0 && at + 1 < ring.size()) {
        if (auto *next = m_card->findChild<QWidget *>(ring[at + 1]))
            next->setFocus(Qt::OtherFocusReason);
    }
    return true;
}
