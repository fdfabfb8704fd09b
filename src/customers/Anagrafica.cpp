#include "customers/Anagrafica.h"

#include "ui_Anagrafica.h"

#include "app/FieldEntry.h"
#include "app/Guida.h"
#include "app/Messages.h"
#include "app/OpenURL.h"
#include "app/ScreenFit.h"
#include "app/Widgets.h"
#include "attachments/AllegaCartella.h"
#include "attachments/Cartella.h"
#include "cards/CardLooks.h"
#include "cards/Provinces.h"
#include "checks/Carta.h"
#include "checks/CodFisc.h"
#include "checks/Iban.h"
#include "checks/PartitaIVA.h"
#include "customers/CustomerRecord.h"
#include "customers/CustomerRules.h"
#include "customers/DaRinnovare.h"
#include "export/ExportScreen.h"
#include "import/Importa.h"
#include "report/CardReport.h"
#include "search/TrovaClienti.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>

namespace {

// The Enter ring of the card: every edit box in record order, txtRata back to txtCognome.
const char *const kEnterRing[] = { "txtCognome", "txtNome", "txtCodFisc", "txtSesso", "txtDataNasc",
    "txtComuneNasc", "txtProvNasc", "txtIva", "txtIndirizzo", "txtCap", "txtComuneRes",
    "txtProvRes", "txtStato", "txtFamiliari", "txtRecapito", "txtTelCasa", "txtTelCel", "txtTelUff",
    "txtFax", "txtEmail", "txtQualifiche", "txtProfessione", "txtIban", "txtIntestatario",
    "txtBanca", "txtCarta", "txtScadeCarta", "txtProdotti", "txtPagamento", "txtNote", "txtTipoDoc",
    "txtNumDoc", "txtEnteRil", "txtDataRil", "txtDataSca", "txtCodice", "txtCategoria", "txtZona",
    "txtAcquisto", "txtDecorrenza", "txtScadenza", "txtPreavviso", "txtTotale", "txtFrazionamento",
    "txtRata", "txtCognome" };

const struct
{
    const char *button;
    const char16_t *hint;
} kHints[] = {
    { "cmdNuovo", u"Prepara la schermata per la registrazione di una nuova scheda." },
    { "cmdSalva", u"Salva la scheda corrente in archivio." },
    { "cmdTrova", u"Trova una scheda in archivio." },
    { "cmdCartella", u"Gestisci la cartella abbinata alla scheda corrente." },
    { "cmdFile", u"Allega file alla scheda corrente." },
    { "cmdStampa", u"Stampa la scheda corrente." },
    { "cmdPrimo", u"Visualizza la prima scheda in archivio." },
    { "cmdIndietro", u"Visualizza la scheda precedente in archivio." },
    { "cmdAvanti", u"Visualizza la scheda successiva in archivio." },
    { "cmdUltimo", u"Visualizza l'ultima scheda in archivio." },
    { "cmdEsporta", u"Esporta le schede in archivio in un file di Microsoft Excel." },
    { "cmdImporta",
        u"Importa schede in archivio da un foglio di calcolo (Excel, OpenDocument) o da un file "
        u"CSV." },
    { "cmdScaduti", u"Visualizza il riepilogo delle rate in scadenza o scadute." },
    { "cmdGuida", u"Visualizza la guida in linea." },
    { "cmdEsci", u"Esci da questa schermata di lavoro." },
    { "btnCodFisc", u"Controlla il codice fiscale." },
    { "btnIva", u"Controlla il numero di partita IVA." },
    { "btnIban", u"Controlla l'IBAN." },
    { "btnCarta", u"Controlla il numero di carta di credito." },
    { "btnEmail", u"Invia una e-mail all'indirizzo indicato." },
};

QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *name : list)
        out.append(QString::fromLatin1(name));
    return out;
}

// Typed as digits only; the instalment amounts as digits and the comma.
const QStringList kDigitFields = names({ "txtIva", "txtCarta", "txtPreavviso" });
const QStringList kAmountFields = names({ "txtTotale", "txtRata" });
const QStringList kUpperCaseFields = names({ "txtCodFisc", "txtIban", "txtSesso" });
const QStringList kCentred = names({ "txtSesso", "txtDataNasc", "txtScadeCarta", "txtDataRil",
    "txtDataSca", "txtDecorrenza", "txtScadenza", "txtPreavviso" });

// The record panel's widest: its two columns side by side need about 1270 pixels.
constexpr int kRecordPanelMaxWidth = 1500;

// The instalment amount holds 50 characters in the record, but is typed in 15.
constexpr int kRataTyped = 15;

// A customer as a new card shows it: the dates of the instalments today, no days of
// notice, amounts "0,00", everything else empty.
Record newCustomer()
{
    using namespace CustomerRecord;
    Record customer(layout());
    customer.setValue(Decorrenza, Today());
    customer.setValue(Scadenza, Today());
    customer.setValue(Preavviso, QStringLiteral("0"));
    customer.setValue(Totale, QStringLiteral("0,00"));
    customer.setValue(Rata, QStringLiteral("0,00"));
    return customer;
}

} // namespace

TfrmAnagrafica::TfrmAnagrafica(QWidget *parent)
    : CardScreen(CustomerRecord::archive(), Notice::Kind::Error, parent)
    , m_ui(std::make_unique<Ui::TfrmAnagrafica>())
{
    m_ui->setupUi(this);
    Widgets::applyItalianConventions(this);
    Widgets::fillScreen(this);
    bindCard(m_ui->lblPosizione);
    setupControls();
    // Fonts, style sheets and pictures when the card is first shown: it is created at
    // start-up.
    Widgets::onFirstPolish(this, [this] { setupLooks(); });
    setupFieldEntry();
    connectButtons();
}

TfrmAnagrafica::~TfrmAnagrafica() = default;

void TfrmAnagrafica::setupControls()
{
    const RecordLayout &layout = CustomerRecord::layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        QWidget *control = binding().control(i);
        const int capacity = layout.field(i).capacity;
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            edit->setMaxLength(i == CustomerRecord::Rata ? kRataTyped : capacity);
        else if (auto *combo = qobject_cast<QComboBox *>(control))
            combo->lineEdit()->setMaxLength(capacity);
        else if (control)
            control->hide();
    }

    for (QComboBox *province : { m_ui->txtProvNasc, m_ui->txtProvRes }) {
        province->addItems(Provinces::codes());
        province->setInsertPolicy(QComboBox::NoInsert);
        province->setMaxVisibleItems(16);
        province->installEventFilter(this);
        // Upper case while typing, as in the other code fields.
        QLineEdit *edit = province->lineEdit();
        connect(edit, &QLineEdit::textChanged, province, [edit](const QString &text) {
            const QString wanted = TrimControl(UpperAscii(text));
            if (wanted != text) {
                const int cursor = edit->cursorPosition();
                edit->setText(wanted);
                edit->setCursorPosition(std::min<int>(cursor, int(wanted.size())));
            }
        });
    }

    // The digits-only and amount fields take only what their keys let through: no paste
    // from a menu and no text dropped on them.
    for (const QString &name : kDigitFields + kAmountFields) {
        auto *edit = findChild<QLineEdit *>(name);
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        edit->setAcceptDrops(false);
    }

    // The e-mail address never keeps blanks at its ends.
    connect(m_ui->txtEmail, &QLineEdit::textChanged, this,
        [edit = m_ui->txtEmail](const QString &text) {
            const QString wanted = TrimControl(text);
            if (wanted != text) {
                const int cursor = edit->cursorPosition();
                edit->setText(wanted);
                edit->setCursorPosition(std::min<int>(cursor, int(wanted.size())));
            }
        });
}

void TfrmAnagrafica::setupLooks()
{
    QFont fieldFont(QStringLiteral("Arial"));
    fieldFont.setPointSize(12);
    fieldFont.setBold(true);
    for (QLineEdit *edit : findChildren<QLineEdit *>())
        edit->setFont(fieldFont);
    for (QComboBox *combo : findChildren<QComboBox *>())
        combo->setFont(fieldFont);
    for (const QString &name : kCentred)
        findChild<QLineEdit *>(name)->setAlignment(Qt::AlignCenter);

    // Short values get boxes sized for their longest text; the others share what is left
    // of their row.
    static const struct
    {
        const char *control;
        const char16_t *sample;
    } widths[] = {
        { "txtSesso", u"M" },
        { "txtDataNasc", u"00/00/0000" },
        { "txtProvNasc", u"MM" },
        { "txtIva", u"00000000000" },
        { "txtCap", u"00000" },
        { "txtProvRes", u"MM" },
        { "txtCodFisc", u"RSSMRA80A01H501U" },
        { "txtIban", u"IT60X0542811101000000123456" },
        { "txtScadeCarta", u"00/00/0000" },
        { "txtDataRil", u"00/00/0000" },
        { "txtDataSca", u"00/00/0000" },
        { "txtDecorrenza", u"00/00/0000" },
        { "txtScadenza", u"00/00/0000" },
        { "txtPreavviso", u"000" },
        { "txtTotale", u"0000000,0000" },
        { "txtRata", u"0000000,0000" },
    };
    const QFontMetrics metrics(fieldFont);
    for (const auto &w : widths) {
        QWidget *control = findChild<QWidget *>(QString::fromLatin1(w.control));
        int width = metrics.horizontalAdvance(QString::fromUtf16(w.sample)) + 14;
        if (qobject_cast<QComboBox *>(control))
            width += 22; // the drop-down arrow
        control->setFixedWidth(width);
    }

    CardLooks::styleCard(this, { QStringLiteral("panStrumenti") }, QStringLiteral("shpFrecce"));
    // The record panel scrolls on screens too small for it; it shows the card's background.
    m_ui->scrScheda->setStyleSheet(
        QStringLiteral("#scrScheda, #panScheda { background: transparent; }"));
    m_ui->scrScheda->viewport()->setAutoFillBackground(false);
    QFont captionFont(QStringLiteral("Arial"));
    captionFont.setPointSize(9);
    for (QLabel *label : findChildren<QLabel *>()) {
        if (label->objectName().startsWith(u"tit")) {
            label->setFont(captionFont);
            label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        }
    }
    // A row of short values only keeps them together at its left.
    for (QHBoxLayout *row : findChildren<QHBoxLayout *>()) {
        if (!row->objectName().startsWith(u"layRiga"))
            continue;
        bool grows = false;
        for (int i = 0; i < row->count(); ++i) {
            QWidget *w = row->itemAt(i)->widget();
            grows = grows || (qobject_cast<QLineEdit *>(w) && w->maximumWidth() == QWIDGETSIZE_MAX);
        }
        if (!grows)
            row->addStretch(1);
    }
    CardLooks::styleSections({ m_ui->shpSezione01, m_ui->shpSezione02, m_ui->shpSezione03,
                                 m_ui->shpSezione04, m_ui->shpSezione05, m_ui->shpSezione06 },
        { m_ui->titSezione01, m_ui->titSezione02, m_ui->titSezione03, m_ui->titSezione04,
            m_ui->titSezione05, m_ui->titSezione06 },
        captionFont);
    QFont positionFont(QStringLiteral("Arial"));
    positionFont.setPointSize(12);
    CardLooks::stylePositionLabel(m_ui->lblPosizione, positionFont);
    m_ui->lblPosizione->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QFont buttonFont(QStringLiteral("Arial"));
    buttonFont.setPointSize(10);
    buttonFont.setBold(true);
    for (QToolButton *button : m_ui->panStrumenti->findChildren<QToolButton *>())
        button->setFont(buttonFont);
    for (const QString &name : kAmountFields)
        findChild<QLineEdit *>(name)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    static const struct
    {
        QToolButton *Ui::TfrmAnagrafica::*button;
        const char *icon;
        int size;
    } pictures[] = {
        { &Ui::TfrmAnagrafica::cmdNuovo, "document-new.png", 32 },
        { &Ui::TfrmAnagrafica::cmdSalva, "document-save.png", 32 },
        { &Ui::TfrmAnagrafica::cmdTrova, "edit-find.png", 32 },
        { &Ui::TfrmAnagrafica::cmdCartella, "folder.png", 32 },
        { &Ui::TfrmAnagrafica::cmdFile, "mail-attachment.png", 32 },
        { &Ui::TfrmAnagrafica::cmdStampa, "document-print.png", 32 },
        { &Ui::TfrmAnagrafica::cmdPrimo, "go-first.png", 24 },
        { &Ui::TfrmAnagrafica::cmdIndietro, "go-previous.png", 24 },
        { &Ui::TfrmAnagrafica::cmdAvanti, "go-next.png", 24 },
        { &Ui::TfrmAnagrafica::cmdUltimo, "go-last.png", 24 },
        { &Ui::TfrmAnagrafica::cmdEsporta, "x-office-spreadsheet.png", 32 },
        { &Ui::TfrmAnagrafica::cmdImporta, "document-open.png", 32 },
        { &Ui::TfrmAnagrafica::cmdScaduti, "office-calendar.png", 32 },
        { &Ui::TfrmAnagrafica::cmdGuida, "help-browser.png", 32 },
        { &Ui::TfrmAnagrafica::cmdEsci, "system-log-out.png", 32 },
        { &Ui::TfrmAnagrafica::btnCodFisc, "system-search.png", 20 },
        { &Ui::TfrmAnagrafica::btnIva, "system-search.png", 20 },
        { &Ui::TfrmAnagrafica::btnIban, "system-search.png", 20 },
        { &Ui::TfrmAnagrafica::btnCarta, "system-search.png", 20 },
        { &Ui::TfrmAnagrafica::btnEmail, "mail-message-new.png", 20 },
    };
    for (const auto &p : pictures)
        Widgets::makeImageButton(m_ui.get()->*p.button, QString::fromLatin1(p.icon), p.size);

    Widgets::styleInfoBar(m_ui->panInfo);
    for (QLabel *label : { m_ui->lblFile01, m_ui->lblFile02, m_ui->lblFile03, m_ui->lblDesc01,
             m_ui->lblDesc02, m_ui->lblDesc03 })
        label->hide();

    // On a wide screen the record panel keeps a readable width, centred; on a narrow one
    // (1366x768 at 125 %) its two columns go one under the other, so that it scrolls only
    // up and down, following the field being edited.
    m_ui->scrScheda->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_ui->panScheda->setMaximumWidth(kRecordPanelMaxWidth);
    ScreenFit::followFocus(m_ui->scrScheda);
    ScreenFit::stackWhenNarrow(m_ui->scrScheda, m_ui->layScheda);
}

void TfrmAnagrafica::setupFieldEntry()
{
    m_fieldEntry = new FieldEntry(this);
    QStringList ring;
    for (const char *name : kEnterRing)
        ring.append(QString::fromLatin1(name));
    m_fieldEntry->setEnterOrder(ring);
    m_fieldEntry->addNumberFields(kDigitFields, false);
    m_fieldEntry->addAmountFields(kAmountFields);
    m_fieldEntry->addUpperCaseFields(kUpperCaseFields);
    m_fieldEntry->setInfoBar(m_ui->panInfo);
    QList<std::pair<QString, QString>> hints;
    for (const auto &h : kHints)
        hints.append({ QString::fromLatin1(h.button), QString::fromUtf16(h.hint) });
    m_fieldEntry->setHints(hints);
    m_fieldEntry->addBackground(
        names({ "panStrumenti", "shpGruppo01", "shpGruppo02", "shpGruppo03", "shpFrecce",
            "shpGruppo05", "shpGruppo06", "scrScheda", "panScheda", "shpSezione01", "shpSezione02",
            "shpSezione03", "shpSezione04", "shpSezione05", "shpSezione06", "lblPosizione" }));
}

void TfrmAnagrafica::connectButtons()
{
    const struct
    {
        QAbstractButton *button;
        void (TfrmAnagrafica::*handler)();
    } handlers[] = {
        { m_ui->cmdNuovo, &TfrmAnagrafica::cmdNuovoClick },
        { m_ui->cmdSalva, &TfrmAnagrafica::cmdSalvaClick },
        { m_ui->cmdTrova, &TfrmAnagrafica::cmdTrovaClick },
        { m_ui->cmdCartella, &TfrmAnagrafica::cmdCartellaClick },
        { m_ui->cmdFile, &TfrmAnagrafica::cmdFileClick },
        { m_ui->cmdEsporta, &TfrmAnagrafica::cmdEsportaClick },
        { m_ui->cmdImporta, &TfrmAnagrafica::cmdImportaClick },
        { m_ui->cmdStampa, &TfrmAnagrafica::cmdStampaClick },
        { m_ui->cmdPrimo, &TfrmAnagrafica::cmdPrimoClick },
        { m_ui->cmdIndietro, &TfrmAnagrafica::cmdIndietroClick },
        { m_ui->cmdAvanti, &TfrmAnagrafica::cmdAvantiClick },
        { m_ui->cmdUltimo, &TfrmAnagrafica::cmdUltimoClick },
        { m_ui->cmdScaduti, &TfrmAnagrafica::cmdScadutiClick },
        { m_ui->cmdGuida, &TfrmAnagrafica::cmdGuidaClick },
        { m_ui->cmdEsci, &TfrmAnagrafica::cmdEsciClick },
        { m_ui->btnCodFisc, &TfrmAnagrafica::btnCodFiscClick },
        { m_ui->btnIva, &TfrmAnagrafica::btnIvaClick },
        { m_ui->btnIban, &TfrmAnagrafica::btnIbanClick },
        { m_ui->btnCarta, &TfrmAnagrafica::btnCartaClick },
        { m_ui->btnEmail, &TfrmAnagrafica::btnEmailClick },
    };
    for (const auto &h : handlers)
        connect(h.button, &QAbstractButton::clicked, this, h.handler);
}

void TfrmAnagrafica::cmdTrovaClick()
{
    TfrmTrovaClienti dlg(this);
    dlg.setCallerTag(QStringLiteral("clienti"));
    dlg.exec();
}

void TfrmAnagrafica::showEvent(QShowEvent *event)
{
    CardScreen::showEvent(event);
    // Restoring a minimised card is not showing it anew: the work on it stays.
    if (!event->spontaneous())
        FormShow();
}

void TfrmAnagrafica::FormShow()
{
    cmdNuovoClick();
}

bool TfrmAnagrafica::eventFilter(QObject *watched, QEvent *event)
{
    // A province box about to take the focus has no item selected; the code typed or
    // loaded stays.
    if (event->type() == QEvent::FocusIn) {
        if (auto *province = qobject_cast<QComboBox *>(watched)) {
            const QString text = province->currentText();
            const QSignalBlocker blocker(province);
            province->setCurrentIndex(-1);
            province->setEditText(text);
        }
    }
    return CardScreen::eventFilter(watched, event);
}

QString TfrmAnagrafica::trimmedText(const QString &control) const
{
    const QWidget *w = findChild<QWidget *>(control);
    return w ? TrimControl(CardBinding::controlText(w)) : QString();
}

void TfrmAnagrafica::setAttachments(const QStringList &files, const QStringList &descriptions)
{
    QLabel *fileLabels[] = { m_ui->lblFile01, m_ui->lblFile02, m_ui->lblFile03 };
    QLabel *descLabels[] = { m_ui->lblDesc01, m_ui->lblDesc02, m_ui->lblDesc03 };
    for (int i = 0; i < 3; ++i) {
        fileLabels[i]->setText(files.value(i));
        descLabels[i]->setText(descriptions.value(i));
    }
}

std::pair<QStringList, QStringList> TfrmAnagrafica::attachments() const
{
    return { { m_ui->lblFile01->text(), m_ui->lblFile02->text(), m_ui->lblFile03->text() },
        { m_ui->lblDesc01->text(), m_ui->lblDesc02->text(), m_ui->lblDesc03->text() } };
}

void TfrmAnagrafica::cmdNuovoClick()
{
    binding().load(newCustomer());
    for (QComboBox *province : { m_ui->txtProvNasc, m_ui->txtProvRes }) {
        province->setCurrentIndex(-1);
        province->setEditText(QString());
    }
    setPosition(0);
    m_ui->txtCognome->setFocus(Qt::OtherFocusReason);
}

void TfrmAnagrafica::cmdEsportaClick()
{
    ExportScreen::open(this, Export::Kind::Customers);
}

void TfrmAnagrafica::cmdImportaClick()
{
    TfrmImporta::open(this, ImportFields::Target::Customers);
}

void TfrmAnagrafica::cmdFileClick()
{
    TfrmAllegaCartella::openFor(this, QStringLiteral("anagrafica"));
}

void TfrmAnagrafica::cmdSalvaClick()
{
    const auto failure
        = CustomerRules::firstFailingCheck({ m_ui->txtCognome->text(), m_ui->txtNome->text(),
            m_ui->txtDecorrenza->text(), m_ui->txtScadenza->text(), m_ui->txtPreavviso->text() });
    if (failure) {
        Messages::show(this, failure->notice);
        if (!failure->focus.isEmpty())
            findChild<QWidget *>(failure->focus)->setFocus(Qt::OtherFocusReason);
        return;
    }
    saveCard();
}

void TfrmAnagrafica::cmdStampaClick()
{
    CardReport::print(this, CustomerRules::cardContent(recordFromControls(), Today(), Now()));
}

void TfrmAnagrafica::cmdCartellaClick()
{
    const QString position = TrimControl(m_ui->lblPosizione->text());
    if (position.isEmpty()) {
        Messages::warning(this, CustomerRules::folderOnNewCardText());
        return;
    }
    TfrmCartella::openFor(this, position);
}

void TfrmAnagrafica::cmdScadutiClick()
{
    TfrmDaRinnovare list(this);
    list.exec();
}

void TfrmAnagrafica::cmdGuidaClick()
{
    showHelpFor(this, QStringLiteral("TfrmAnagrafica"));
}

void TfrmAnagrafica::cmdEsciClick()
{
    close();
}

void TfrmAnagrafica::btnCodFiscClick()
{
    const QString code = trimmedText(QStringLiteral("txtCodFisc"));
    if (CustomerRules::codeCheckFor(code) == CustomerRules::CodeCheck::VatNumber)
        TfrmPartitaIva::check(this, code);
    else
        TfrmCodFisc::check(this, code);
}

void TfrmAnagrafica::btnIvaClick()
{
    TfrmPartitaIva::check(this, trimmedText(QStringLiteral("txtIva")));
}

void TfrmAnagrafica::btnIbanClick()
{
    TfrmIban::check(this, trimmedText(QStringLiteral("txtIban")));
}

void TfrmAnagrafica::btnCartaClick()
{
    TfrmCarta::check(this, trimmedText(QStringLiteral("txtCarta")));
}

void TfrmAnagrafica::btnEmailClick()
{
    TMisc::Open(CustomerRules::emailCommand(m_ui->txtEmail->text()));
}
