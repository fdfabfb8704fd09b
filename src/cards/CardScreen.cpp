#include "cards/CardScreen.h"

#include "app/FieldEntry.h"
#include "app/Guida.h"
#include "app/Messages.h"
#include "app/Screens.h"
#include "app/Widgets.h"
#include "report/CardReport.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QCloseEvent>
#include <QComboBox>
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

} // namespace

CardScreen::CardScreen(const CardSpec &spec, QWidget *parent)
    : QWidget(parent)
    , m_spec(spec)
    , m_archive(spec.archive())
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
    m_binding = std::make_unique<CardBinding>(this, m_archive.layout(), m_spec.binding);
    m_problems << m_binding->problems();
    setTypingLimits();
    setUpFieldEntry();
    for (const auto &[name, handler] : kCommonButtons) {
        if (m_spec.withoutButtons.contains(name))
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
    for (const auto &[name, limit] : m_spec.typingLimits) {
        if (auto *edit = findChild<QLineEdit *>(name))
            edit->setMaxLength(limit);
        else
            m_problems << QStringLiteral("%1 has no edit box for its typing limit").arg(name);
    }
}

void CardScreen::setUpFieldEntry()
{
    m_fieldEntry = new FieldEntry(this);
    m_fieldEntry->setEnterOrder(m_spec.enterRing);
    m_fieldEntry->addAmountFields(m_spec.amountFields);
    m_fieldEntry->addNumberFields(m_spec.countFields);
    m_fieldEntry->addNumberFields(m_spec.digitFields, false);
    m_fieldEntry->addUpperCaseFields(m_spec.upperCaseFields);
    m_fieldEntry->addTrimmedFields(m_spec.trimmedFields);
    m_fieldEntry->addKeysOnlyFields(m_spec.keysOnlyFields);
    m_fieldEntry->setInfoBar(findChild<QLabel *>(QStringLiteral("panInfo")));
    QList<std::pair<QString, QString>> hints;
    for (const auto &[name, hint] : kCommonHints) {
        const QString button = QLatin1StringView(name);
        const bool own = std::any_of(m_spec.hints.cbegin(), m_spec.hints.cend(),
            [&button](const auto &h) { return h.first == button; });
        if (!own && findChild<QAbstractButton *>(button))
            hints.append({ button, QString::fromUtf16(hint) });
    }
    m_fieldEntry->setHints(hints + m_spec.hints);
    m_fieldEntry->addBackground(m_spec.background);
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
    cmdNuovoClick();
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
    if (!leaveCard())
        return;
    m_binding->load(record);
    setPosition(position);
}

QString CardScreen::positionText() const
{
    return m_position->text();
}

void CardScreen::setPosition(qint64 position)
{
    if (position > 0)
        m_position->setText(QString::number(position));
    else
        m_position->clear();
}

void CardScreen::focusFirstField()
{
    if (QWidget *first = findChild<QWidget *>(m_spec.firstField))
        first->setFocus(Qt::OtherFocusReason);
}

void CardScreen::showAccessError()
{
    Messages::show(this, m_spec.accessErrorKind, accessErrorText());
}

bool CardScreen::apply(const CardOutcome &outcome)
{
    if (outcome.position && !outcome.record)
        setPosition(*outcome.position);
    if (outcome.accessError) {
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
    return apply(m_archive.save(recordFromControls(), positionText()));
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

bool CardScreen::passesSaveCheck()
{
    const std::optional<SaveFailure> failure
        = m_spec.saveCheck ? m_spec.saveCheck(recordFromControls()) : std::nullopt;
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
    m_binding->load(m_spec.newRecord());
    setPosition(0);
    focusFirstField();
}

void CardScreen::cmdDuplicaClick()
{
    if (duplicateCard(m_spec.duplicaEmpties))
        focusFirstField();
}

void CardScreen::cmdSalvaClick()
{
    if (passesSaveCheck())
        saveCard();
}

void CardScreen::cmdTrovaClick()
{
    const CardIdentity &card = cardIdentity(m_spec.id);
    m_spec.find(this, card.archive, card.id);
}

void CardScreen::cmdFileClick()
{
    m_spec.attach(this);
}

void CardScreen::cmdStampaClick()
{
    CardReport::print(this, m_spec.printContent(recordFromControls(), Today(), Now()));
}

void CardScreen::cmdAnteprimaClick()
{
    CardReport::preview(this, m_spec.printContent(recordFromControls(), Today(), Now()));
}

void CardScreen::cmdPDFClick()
{
    CardReport::exportPdfAndAsk(
        this, m_spec.printContent(recordFromControls(), Today(), Now()), m_spec.pdfName);
}

void CardScreen::cmdEsportaClick()
{
    m_spec.exportArchive(this, cardIdentity(m_spec.id).archive);
}

void CardScreen::cmdGuidaClick()
{
    showHelpFor(this, cardIdentity(m_spec.id).helpPage);
}

void CardScreen::cmdEsciClick()
{
    close();
}
