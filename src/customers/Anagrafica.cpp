#include "customers/Anagrafica.h"

#include "ui_Anagrafica.h"

#include "app/Messages.h"
#include "app/OpenURL.h"
#include "app/ScreenFit.h"
#include "app/Screens.h"
#include "app/Widgets.h"
#include "attachments/AllegaCartella.h"
#include "attachments/Cartella.h"
#include "cards/CardLooks.h"
#include "cards/ProvinceBox.h"
#include "checks/Carta.h"
#include "checks/CodeButton.h"
#include "checks/Iban.h"
#include "checks/PartitaIVA.h"
#include "customers/CustomerRules.h"
#include "customers/DaRinnovare.h"
#include "export/ExportScreen.h"
#include "import/Importa.h"
#include "records/CustomerRecord.h"
#include "search/ArchiveSearchScreen.h"
#include "storage/TextForms.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

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
const QStringList kCentred = names({ "txtSesso", "txtDataNasc", "txtScadeCarta", "txtDataRil",
    "txtDataSca", "txtDecorrenza", "txtScadenza", "txtPreavviso" });

// The record panel's widest: its two columns side by side need about 1270 pixels.
constexpr int kRecordPanelMaxWidth = 1500;

const CardSpec &customerConfig()
{
    static const CardSpec config {
        .id = CardId::Customer,
        .archive = &CustomerRecord::archive,
        .accessErrorKind = Notice::Kind::Error,
        .newRecord = &CustomerRules::newCustomer,
        .firstField = QStringLiteral("txtCognome"),
        // Every edit box in record order, txtRata back to txtCognome.
        .enterRing = names({ "txtCognome", "txtNome", "txtCodFisc", "txtSesso", "txtDataNasc",
            "txtComuneNasc", "txtProvNasc", "txtIva", "txtIndirizzo", "txtCap", "txtComuneRes",
            "txtProvRes", "txtStato", "txtFamiliari", "txtRecapito", "txtTelCasa", "txtTelCel",
            "txtTelUff", "txtFax", "txtEmail", "txtQualifiche", "txtProfessione", "txtIban",
            "txtIntestatario", "txtBanca", "txtCarta", "txtScadeCarta", "txtProdotti",
            "txtPagamento", "txtNote", "txtTipoDoc", "txtNumDoc", "txtEnteRil", "txtDataRil",
            "txtDataSca", "txtCodice", "txtCategoria", "txtZona", "txtAcquisto", "txtDecorrenza",
            "txtScadenza", "txtPreavviso", "txtTotale", "txtFrazionamento", "txtRata",
            "txtCognome" }),
        // The instalment amounts as digits and the comma; digits only where a number is
        // kept as typed; both take only what their keys let through.
        .amountFields = kAmountFields,
        .digitFields = kDigitFields,
        .upperCaseFields
        = names({ "txtCodFisc", "txtIban", "txtSesso", "txtProvNasc", "txtProvRes" }),
        // The e-mail address never keeps blanks at its ends.
        .trimmedFields = names({ "txtEmail" }),
        .keysOnlyFields = kDigitFields + kAmountFields,
        // The instalment amount holds 50 characters in the record, but is typed in 15.
        .typingLimits = { { QStringLiteral("txtRata"), 15 } },
        .hints = {
            { QStringLiteral("cmdCartella"),
                QStringLiteral("Gestisci la cartella abbinata alla scheda corrente.") },
            { QStringLiteral("cmdScaduti"),
                QStringLiteral("Visualizza il riepilogo delle rate in scadenza o scadute.") },
            { QStringLiteral("btnGrafici"),
                QStringLiteral(
                    "Visualizza i grafici, tra cui le rate in scadenza nei prossimi 12 mesi.") },
            { QStringLiteral("cmdGuida"), QStringLiteral("Visualizza la guida in linea.") },
        },
        .background = names({ "panStrumenti", "shpGruppo01", "shpGruppo02", "shpGruppo03",
            "shpFrecce", "shpGruppo05", "shpGruppo06", "scrScheda", "panScheda", "shpSezione01",
            "shpSezione02", "shpSezione03", "shpSezione04", "shpSezione05", "shpSezione06",
            "lblPosizione" }),
        .withoutButtons = names({ "cmdDuplica", "cmdPDF", "cmdAnteprima" }),
        .saveCheck = &CustomerRules::saveCheck,
        .printContent = &CustomerRules::cardContent,
        .find = &ArchiveSearchScreen::open,
        .attach = &TfrmAllegaCartella::openFor,
        .exportArchive = &ExportScreen::open,
        .importArchive = &TfrmImporta::open,
    };
    return config;
}

} // namespace

TfrmAnagrafica::TfrmAnagrafica(QWidget *parent)
    : CardScreen(customerConfig(), parent)
    , m_ui(std::make_unique<Ui::TfrmAnagrafica>())
{
    m_ui->setupUi(this);
    Provinces::setUpBox(m_ui->txtProvNasc);
    Provinces::setUpBox(m_ui->txtProvRes);
    setUpCard();
    // Fonts, style sheets and pictures when the card is first shown: it is created at
    // start-up.
    Widgets::onFirstPolish(this, [this] { setupLooks(); });
    wireButtons<TfrmAnagrafica>({
        { "cmdCartella", &TfrmAnagrafica::cmdCartellaClick },
        { "cmdScaduti", &TfrmAnagrafica::cmdScadutiClick },
        { "btnGrafici", &TfrmAnagrafica::btnGraficiClick },
        { "btnCodFisc", &TfrmAnagrafica::btnCodFiscClick },
        { "btnIva", &TfrmAnagrafica::btnIvaClick },
        { "btnIban", &TfrmAnagrafica::btnIbanClick },
        { "btnCarta", &TfrmAnagrafica::btnCartaClick },
        { "btnEmail", &TfrmAnagrafica::btnEmailClick },
    });
}

TfrmAnagrafica::~TfrmAnagrafica() = default;

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

    // The record panel scrolls on screens too small for it; it shows the card's background.
    m_ui->scrScheda->setStyleSheet(
        QStringLiteral("#scrScheda, #panScheda { background: transparent; }"));
    m_ui->scrScheda->viewport()->setAutoFillBackground(false);
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
    for (const QString &name : kAmountFields)
        findChild<QLineEdit *>(name)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    CardLooks::styleToolbarCard(
        { this, m_ui->panStrumenti, m_ui->shpFrecce,
            { m_ui->shpSezione01, m_ui->shpSezione02, m_ui->shpSezione03, m_ui->shpSezione04,
                m_ui->shpSezione05, m_ui->shpSezione06 },
            { m_ui->titSezione01, m_ui->titSezione02, m_ui->titSezione03, m_ui->titSezione04,
                m_ui->titSezione05, m_ui->titSezione06 },
            m_ui->panInfo, m_ui->lblPosizione },
        {
            { m_ui->cmdNuovo, "document-new.png", 32 },
            { m_ui->cmdSalva, "document-save.png", 32 },
            { m_ui->cmdTrova, "edit-find.png", 32 },
            { m_ui->cmdCartella, "folder.png", 32 },
            { m_ui->cmdFile, "mail-attachment.png", 32 },
            { m_ui->cmdStampa, "document-print.png", 32 },
            { m_ui->cmdPrimo, "go-first.png", 24 },
            { m_ui->cmdIndietro, "go-previous.png", 24 },
            { m_ui->cmdAvanti, "go-next.png", 24 },
            { m_ui->cmdUltimo, "go-last.png", 24 },
            { m_ui->cmdEsporta, "x-office-spreadsheet.png", 32 },
            { m_ui->cmdImporta, "document-open.png", 32 },
            { m_ui->cmdScaduti, "office-calendar.png", 32 },
            { m_ui->btnGrafici, "x-office-presentation.png", 32 },
            { m_ui->cmdGuida, "help-browser.png", 32 },
            { m_ui->cmdEsci, "system-log-out.png", 32 },
            { m_ui->btnCodFisc, "system-search.png", 20 },
            { m_ui->btnIva, "system-search.png", 20 },
            { m_ui->btnIban, "system-search.png", 20 },
            { m_ui->btnCarta, "system-search.png", 20 },
            { m_ui->btnEmail, "mail-message-new.png", 20 },
        });

    // On a wide screen the record panel keeps a readable width, centred; on a narrow one
    // (1366x768 at 125 %) its two columns go one under the other, so that it scrolls only
    // up and down, following the field being edited.
    m_ui->scrScheda->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_ui->panScheda->setMaximumWidth(kRecordPanelMaxWidth);
    ScreenFit::followFocus(m_ui->scrScheda);
    ScreenFit::stackWhenNarrow(m_ui->scrScheda, m_ui->layScheda);
}

QString TfrmAnagrafica::trimmedText(const QString &control) const
{
    const QWidget *w = findChild<QWidget *>(control);
    return w ? TrimControl(CardBinding::controlText(w)) : QString();
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

void TfrmAnagrafica::btnGraficiClick()
{
    Screens::openModal(QStringLiteral("TfrmGrafici"), this);
}

void TfrmAnagrafica::btnCodFiscClick()
{
    checkCodeField(this, trimmedText(QStringLiteral("txtCodFisc")));
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
    TMisc::OpenOrSay(this, TMisc::mailto(m_ui->txtEmail->text()));
}
