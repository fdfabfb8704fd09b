#include "cards/CardScreen.h"

#include "app/FieldEntry.h"
#include "app/Guida.h"
#include "app/Messages.h"
#include "app/Screens.h"
#include "app/Widgets.h"
#include "report/CardReport.h"
#include "storage/Storage.h"
#include "storage/TextForms.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>

#include <algorithm>

namespace {

using Handler = void (CardScreen::*)();

// The common buttons and their handlers, in the order the cards show them.
const std::pair<QLatin1StringView, Handler> kCommonButtons[] = {
    { QLatin1StringView("cmdPrimo"), &CardScreen::cmdPrimoClick },
    { QLatin1StringView("cmdIndietro"), &CardScreen::cmdIndietroClick },
    { QLatin1StringView("cmdAvanti"), &CardScreen::cmdAvantiClick },
    { QLatin1StringView("cmdUltimo"), &CardScreen::cmdUltimoClick },
    { QLatin1StringView("cmdNuovo"), &CardScreen::cmdNuovoClick },
    { QLatin1StringView("cmdDuplica"), &CardScreen::cmdDuplicaClick },
    { QLatin1StringView("cmdSalva"), &CardScreen::cmdSalvaClick },
    { QLatin1StringView("cmdTrova"), &CardScreen::cmdTrovaClick },
    { QLatin1StringView("cmdFile"), &CardScreen::cmdFileClick },
    { QLatin1StringView("cmdStampa"), &CardScreen::cmdStampaClick },
    { QLatin1StringView("cmdPDF"), &CardScreen::cmdPDFClick },
    { QLatin1StringView("cmdAnteprima"), &CardScreen::cmdAnteprimaClick },
    { QLatin1StringView("cmdEsporta"), &CardScreen::cmdEsportaClick },
    { QLatin1StringView("cmdImporta"), &CardScreen::cmdImportaClick },
    { QLatin1StringView("cmdGuida"), &CardScreen::cmdGuidaClick },
    { QLatin1StringView("cmdEsci"), &CardScreen::cmdEsciClick },
};

// The hints every card gives for the buttons it has.
const std::pair<const char *, const char16_t *> kCommonHints[] = {
    { "cmdNuovo", u"Prepara la schermata per la registrazione di una nuova scheda." },
    { "cmdDuplica",
        u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati "
        u"correnti." },
    { "cmdFile", u"Allega file alla scheda corrente." },
    { "cmdSalva", u"Salva la scheda corrente in archivio." },
    { "cmdTrova", u"Trova una scheda in archivio." },
    { "cmdAnteprima", u"Visualizza l'anteprima di stampa." },
    { "cmdStampa", u"Stampa la scheda corrente." },
    { "cmdPDF", u"Esporta la scheda in formato PDF." },
    { "cmdEsporta", u"Esporta le schede in archivio in un file di Microsoft Excel." },
    { "cmdImporta",
        u"Importa schede in archivio da un foglio di calcolo (Excel, OpenDocument) o da un file "
        u"CSV." },
    { "cmdGuida", u"Visualizza la pagina della guida sensibile al contesto." },
    { "cmdEsci", u"Esci da questa schermata di lavoro." },
    { "cmdPrimo", u"Visualizza la prima scheda in archivio." },
    { "cmdIndietro", u"Visualizza la scheda precedente in archivio." },
    { "cmdAvanti", u"Visualizza la scheda successiva in archivio." },
    { "cmdUltimo", u"Visualizza l'ultima scheda in archivio." },
    { "btnEmail", u"Invia una e-mail all'indirizzo indicato." },
    { "btnCodFisc", u"Controlla il codice fiscale." },
    { "btnIva", u"Controlla il numero di partita IVA." },
    { "btnPartitaIva", u"Controlla il numero di partita IVA." },
    { "btnIban", u"Controlla l'IBAN." },
    { "btnCarta", u"Controlla il numero di carta di credito." },
};

// The configuration's focus keys: each puts the focus in its control from every control of the
// card. Installed after the field entry's filters, it sees the key first, so that amount fields
// (which drop every other key) let it through too; no shortcut takes it.
class FocusKeys : public QObject
{
public:
    FocusKeys(QWidget *card, QList<std::pair<Qt::Key, QWidget *>> targets)
        : QObject(card)
        , m_targets(std::move(targets))
    {
        card->installEventFilter(this);
        for (QWidget *w : card->findChildren<QWidget *>()) {
            if (w->focusPolicy() != Qt::NoFocus)
                w->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease
            && type != QEvent::ShortcutOverride)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() != Qt::NoModifier)
            return false;
        for (const auto &[k, target] : m_targets) {
            if (key->key() != k)
                continue;
            if (type == QEvent::ShortcutOverride)
                event->accept();
            else if (type == QEvent::KeyPress) {
                target->setFocus(Qt::ShortcutFocusReason);
                if (auto *edit = qobject_cast<QLineEdit *>(target))
                    edit->selectAll();
            }
            return true;
        }
        return false;
    }

private:
    QList<std::pair<Qt::Key, QWidget *>> m_targets;
};

} // namespace

CardScreen::CardScreen(const CardSpec &config, QWidget *parent)
    : QWidget(parent)
    , m_config(config)
    , m_archive(config.archive())
{
}

CardScreen::~CardScreen() = default;

const QStringList &CardScreen::commonButtons()
{
    static const QStringList names = [] {
        QStringList list;
        for (const auto &[name, handler] : kCommonButtons)
            list.append(name);
        return list;
    }();
    return names;
}

CardScreen *CardScreen::resident(const QString &objectName)
{
    return qobject_cast<CardScreen *>(Screens::resident(objectName));
}

CardScreen *CardScreen::resident(CardId card)
{
    return resident(cardIdentity(card).objectName);
}

void CardScreen::setUpCard()
{
    Widgets::applyItalianConventions(this);
    Widgets::fillScreen(this);
    m_position = findChild<QLabel *>(QStringLiteral("lblPosizione"));
    if (!m_position)
        m_problems << QStringLiteral("lblPosizione has no control");
    m_binding = std::make_unique<CardBinding>(this, m_archive.layout(), m_config.binding);
    m_problems << m_binding->problems();
    setTypingLimits();
    setUpFieldEntry();
    if (m_config.scanBox)
        m_problems << m_config.scanBox(this, m_fieldEntry);
    setUpFocusKeys();
    takeAllAsShown();
    for (const auto &[name, handler] : kCommonButtons) {
        if (m_config.withoutButtons.contains(name))
            continue;
        if (QAbstractButton *b = button(name))
            connect(b, &QAbstractButton::clicked, this, handler);
    }
}

QAbstractButton *CardScreen::button(QLatin1StringView name)
{
    auto *b = findChild<QAbstractButton *>(name);
    if (!b) {
        const QString problem = QStringLiteral("%1 has no button").arg(name);
        m_problems << problem;
        qCritical().noquote() << "CardScreen" << objectName() << ":" << problem;
    }
    return b;
}

void CardScreen::setTypingLimits()
{
    // The edit boxes take no more characters than their fields hold; field entry makes
    // these limits limits of typing only. A field shown by a label is a value the card
    // keeps out of sight.
    const RecordLayout &layout = m_archive.layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        QWidget *control = m_binding->control(i);
        auto *edit = qobject_cast<QLineEdit *>(control);
        if (auto *box = qobject_cast<QComboBox *>(control))
            edit = box->lineEdit();
        if (edit)
            edit->setMaxLength(layout.field(i).capacity);
        else if (qobject_cast<QLabel *>(control))
            control->hide();
    }
    for (const auto &[name, limit] : m_config.typingLimits) {
        if (auto *edit = findChild<QLineEdit *>(name))
            edit->setMaxLength(limit);
        else
            m_problems << QStringLiteral("%1 has no edit box for its typing limit").arg(name);
    }
}

void CardScreen::setUpFieldEntry()
{
    m_fieldEntry = new FieldEntry(this);
    m_fieldEntry->setEnterOrder(m_config.enterRing);
    m_fieldEntry->addAmountFields(m_config.amountFields);
    m_fieldEntry->addNumberFields(m_config.countFields);
    m_fieldEntry->addNumberFields(m_config.digitFields, false);
    m_fieldEntry->addUpperCaseFields(m_config.upperCaseFields);
    m_fieldEntry->addTrimmedFields(m_config.trimmedFields);
    m_fieldEntry->addKeysOnlyFields(m_config.keysOnlyFields);
    m_fieldEntry->setInfoBar(findChild<QLabel *>(QStringLiteral("panInfo")));
    QList<std::pair<QString, QString>> hints;
    for (const auto &[name, hint] : kCommonHints) {
        const QString button = QLatin1StringView(name);
        const bool own = std::any_of(m_config.hints.cbegin(), m_config.hints.cend(),
            [&button](const auto &h) { return h.first == button; });
        if (!own && findChild<QAbstractButton *>(button))
            hints.append({ button, QString::fromUtf16(hint) });
    }
    m_fieldEntry->setHints(hints + m_config.hints);
    m_fieldEntry->addBackground(m_config.background);
}

void CardScreen::setUpFocusKeys()
{
    QList<std::pair<Qt::Key, QWidget *>> targets;
    for (const auto &[key, name] : m_config.focusKeys) {
        if (auto *target = findChild<QWidget *>(name))
            targets.append({ key, target });
        else
            m_problems << QStringLiteral("%1 has no control for its focus key").arg(name);
    }
    if (!targets.isEmpty())
        new FocusKeys(this, std::move(targets));
}

QStringList CardScreen::problems() const
{
    return m_problems;
}

void CardScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Restoring a minimised card is not showing it anew: the work on it stays.
    if (!event->spontaneous())
        FormShow();
}

void CardScreen::FormShow()
{
    // A card shown anew was left when it was closed: what it held then is not asked about.
    display(m_config.newRecord(), 0);
    focusFirstField();
}

void CardScreen::closeEvent(QCloseEvent *event)
{
    if (!leaveCard()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void CardScreen::loadRecord(const Record &record, qint64 position)
{
    if (leaveCard())
        display(record, position);
}

void CardScreen::display(const Record &record, qint64 position)
{
    m_binding->load(record);
    setPosition(position);
    if (position > 0)
        m_asRead = record;
    takeAllAsShown();
}

QString CardScreen::unsavedEditsText()
{
    return QStringLiteral("Salvare le modifiche apportate alla scheda corrente?");
}

bool CardScreen::hasUnsavedEdits() const
{
    return recordFromControls().encode() != m_shown;
}

void CardScreen::takeAllAsShown()
{
    m_shown = recordFromControls().encode();
}

void CardScreen::takeAsShown(const QList<int> &fields)
{
    Record shown = Record::fromBytes(m_archive.layout(), m_shown);
    for (int field : fields)
        shown.setValue(field, m_binding->text(field));
    m_shown = shown.encode();
}

bool CardScreen::leaveCard()
{
    // A hidden card was left when it was closed.
    if (!isVisible() || !hasUnsavedEdits())
        return true;
    switch (Messages::confirmOrCancel(this, unsavedEditsText())) {
    case Messages::Answer::Yes:
        // Salva may refuse (its rule, an archive that cannot be written): then the card
        // stays with its edits.
        cmdSalvaClick();
        return !hasUnsavedEdits();
    case Messages::Answer::Cancel:
        return false;
    default:
        return true;
    }
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

void CardScreen::focusFirstField()
{
    if (QWidget *first = findChild<QWidget *>(m_config.firstField))
        first->setFocus(Qt::OtherFocusReason);
}

void CardScreen::showAccessError()
{
    Messages::show(this, m_config.accessErrorKind, accessErrorText());
}

bool CardScreen::apply(const CardOutcome &outcome)
{
    // What the storage layer set right by itself (a journal set aside) comes first.
    for (const QString &notice : Storage::takeNotices())
        Messages::warning(this, notice);
    if (outcome.position && !outcome.record)
        setPosition(*outcome.position);
    if (outcome.accessError) {
        if (outcome.busy)
            Messages::show(
                this, m_config.accessErrorKind, Storage::failureText(Storage::Failure::Busy));
        else
            showAccessError();
        return false;
    }
    if (outcome.record)
        display(*outcome.record, outcome.position.value_or(0));
    Messages::show(this, outcome.notice);
    return true;
}

void CardScreen::navigate(CardNavigation::Move move)
{
    // Asked before the read: the record read is shown without asking again.
    if (leaveCard())
        apply(m_archive.navigate(move, positionText()));
}

bool CardScreen::saveCard()
{
    const Record record = recordFromControls();
    CardOutcome outcome = m_archive.save(record, positionText(), m_asRead);
    if (outcome.conflict) {
        if (!Messages::confirm(this, CardArchive::conflictText())) {
            // Nothing saved; the card shows what is stored now, and so holds nothing unsaved.
            const CardOutcome stored = m_archive.reread(positionText());
            if (!stored.record) {
                apply(stored);
                return false;
            }
            display(*stored.record, stored.position.value_or(0));
            return true;
        }
        outcome = m_archive.save(record, positionText());
    }
    // Written: what the card shows is what is stored (taken before the notice is shown).
    if (!outcome.accessError) {
        m_asRead = record;
        takeAllAsShown();
    }
    return apply(outcome);
}

bool CardScreen::duplicateCard(const QList<int> &emptiedFields)
{
    const CardOutcome outcome = m_archive.duplicate(positionText());
    if (outcome.position) {
        for (int field : emptiedFields)
            m_binding->setText(field, QString());
    }
    const bool duplicated = apply(outcome) && outcome.position;
    // The copy is a new card as Duplica shows it.
    if (duplicated)
        takeAllAsShown();
    return duplicated;
}

bool CardScreen::passesSaveCheck()
{
    const std::optional<SaveFailure> failure
        = m_config.saveCheck ? m_config.saveCheck(recordFromControls()) : std::nullopt;
    if (!failure)
        return true;
    Messages::show(this, failure->notice);
    if (QWidget *focus = failure->focus.isEmpty() ? nullptr : findChild<QWidget *>(failure->focus))
        focus->setFocus(Qt::OtherFocusReason);
    return false;
}

void CardScreen::cmdNuovoClick()
{
    if (!leaveCard())
        return;
    display(m_config.newRecord(), 0);
    focusFirstField();
}

void CardScreen::cmdDuplicaClick()
{
    if (duplicateCard(m_config.duplicaEmpties))
        focusFirstField();
}

void CardScreen::cmdSalvaClick()
{
    if (passesSaveCheck())
        saveCard();
}

void CardScreen::cmdTrovaClick()
{
    const CardIdentity &card = cardIdentity(m_config.id);
    m_config.find(this, card.archive, card.id);
}

void CardScreen::cmdFileClick()
{
    m_config.attach(this);
}

void CardScreen::cmdStampaClick()
{
    CardReport::print(this, m_config.printContent(recordFromControls(), Today(), Now()));
}

void CardScreen::cmdAnteprimaClick()
{
    CardReport::preview(this, m_config.printContent(recordFromControls(), Today(), Now()));
}

void CardScreen::cmdPDFClick()
{
    CardReport::exportPdfAndAsk(
        this, m_config.printContent(recordFromControls(), Today(), Now()), m_config.pdfName);
}

void CardScreen::cmdEsportaClick()
{
    m_config.exportArchive(this, cardIdentity(m_config.id).archive);
}

void CardScreen::cmdImportaClick()
{
    m_config.importArchive(this, cardIdentity(m_config.id).archive);
}

void CardScreen::cmdGuidaClick()
{
    showHelpFor(this, cardIdentity(m_config.id).helpPage);
}

void CardScreen::cmdEsciClick()
{
    close();
}
