#include "suppliers/Fornitori.h"

#include "ui_Fornitori.h"

#include "app/FieldEntry.h"
#include "app/Guida.h"
#include "app/Messages.h"
#include "app/OpenURL.h"
#include "app/Widgets.h"
#include "attachments/AllegaCartella.h"
#include "cards/CardLooks.h"
#include "cards/Provinces.h"
#include "checks/Carta.h"
#include "checks/CodFisc.h"
#include "checks/Iban.h"
#include "checks/PartitaIVA.h"
#include "export/ExportScreen.h"
#include "import/Importa.h"
#include "report/CardReport.h"
#include "search/TrovaFornitori.h"
#include "storage/TextForms.h"
#include "suppliers/RicontattaFor.h"
#include "suppliers/SupplierCard.h"
#include "suppliers/SupplierRecord.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>

namespace {

// A new supplier as a new card shows it: every text empty, the flag unchecked.
Record newSupplier()
{
    Record supplier(SupplierRecord::layout());
    supplier.setValue(SupplierRecord::Ricontatta, SupplierCard::recontactText(false));
    return supplier;
}

} // namespace

TfrmFornitori::TfrmFornitori(QWidget *parent)
    : CardScreen(SupplierRecord::archive(), Notice::Kind::Error, parent)
    , m_ui(std::make_unique<Ui::TfrmFornitori>())
{
    m_ui->setupUi(this);
    Widgets::applyItalianConventions(this);
    Widgets::fillScreen(this);

    // A record of an older archive whose flag is neither text shows the box unchecked:
    // keeping the previous supplier's flag would show, and save, someone else's.
    CardBinding::Config config;
    config.checks.insert(QStringLiteral("Ricontatta"),
        { SupplierCard::recontactText(true), SupplierCard::recontactText(false),
            CardBinding::OtherText::Unchecked });
    bindCard(m_ui->lblPosizione, config);

    m_ui->txtProvRes->addItems(Provinces::codes());
    m_ui->txtProvRes->setInsertPolicy(QComboBox::NoInsert);
    m_ui->txtProvRes->installEventFilter(this);

    // The edit boxes take no more characters than their fields hold; field entry makes
    // these limits limits of typing only.
    const RecordLayout &layout = SupplierRecord::layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        QWidget *control = binding().control(i);
        QLineEdit *edit = qobject_cast<QLineEdit *>(control);
        if (auto *box = qobject_cast<QComboBox *>(control))
            edit = box->lineEdit();
        if (edit)
            edit->setMaxLength(layout.field(i).capacity);
    }

    // Fonts, style sheets and pictures when the card is first shown: it is created at
    // start-up.
    Widgets::onFirstPolish(this, [this] { setupLooks(); });
    setupFieldEntry();
    connectButtons();
}

TfrmFornitori::~TfrmFornitori() = default;

void TfrmFornitori::setupLooks()
{
    const CardLooks::ColumnCard parts { this, m_ui->panContainer,
        { m_ui->shpSezione01, m_ui->shpSezione02, m_ui->shpSezione03, m_ui->shpSezione04,
            m_ui->shpSezione05 },
        m_ui->panInfo, m_ui->panControlli, m_ui->shpFrecce, m_ui->lblPosizione };
    const QFont cardFont = CardLooks::startColumnCard(parts, {});

    // Every edit box in bold 12 points; the check box's caption in bold.
    QFont fieldFont = cardFont;
    fieldFont.setPointSize(12);
    fieldFont.setBold(true);
    const RecordLayout &layout = SupplierRecord::layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        if (QWidget *control = binding().control(i);
            control && control->objectName().startsWith(u"txt"))
            control->setFont(fieldFont);
    }
    QFont checkFont = cardFont;
    checkFont.setBold(true);
    m_ui->chkRicontatta->setFont(checkFont);

    // Short codes get boxes sized for them; the rest of their cell stays empty.
    const QFontMetrics metrics(fieldFont);
    m_ui->txtProvRes->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("WWW")) + 40);
    m_ui->txtCapRes->setMaximumWidth(metrics.horizontalAdvance(QStringLiteral("000000")) + 16);

    // The check and e-mail buttons beside their fields are small pictures, so that the
    // fields keep their room; the info bar says what each one does.
    const struct
    {
        QPushButton *button;
        const char *icon;
        const char16_t *tip;
    } fieldButtons[] = {
        { m_ui->btnEmail, "mail-message-new.png", u"Scrivi" },
        { m_ui->btnCodFisc, "system-search.png", u"Verifica" },
        { m_ui->btnCarta, "system-search.png", u"Verifica" },
        { m_ui->btnPartitaIva, "system-search.png", u"Verifica" },
        { m_ui->btnIban, "system-search.png", u"Verifica" },
    };
    for (const auto &b : fieldButtons) {
        b.button->setIcon(QIcon(QStringLiteral(":/icons/") + QLatin1StringView(b.icon)));
        b.button->setIconSize(QSize(20, 20));
        b.button->setToolTip(QString::fromUtf16(b.tip));
        b.button->setAccessibleName(QString::fromUtf16(b.tip));
        b.button->setFixedWidth(b.button->sizeHint().height() + 8);
    }

    // A picture at the left edge of each section tells what it holds.
    static const char *const pictures[] = { "x-office-address-book-128.png",
        "internet-mail-128.png", "accessories-calculator-128.png", "package-x-generic-128.png",
        "emblem-important-128.png" };
    const QList<QLabel *> images = { m_ui->imgSezione01, m_ui->imgSezione02, m_ui->imgSezione03,
        m_ui->imgSezione04, m_ui->imgSezione05 };
    for (qsizetype i = 0; i < images.size(); ++i) {
        images[i]->setPixmap(QPixmap(QStringLiteral(":/icons/") + QLatin1StringView(pictures[i]))
                                 .scaled(40, 40, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    // The pictures stand in column 0; the captions and fields start at column 1.
    CardLooks::finishColumnCard(parts,
        { { m_ui->cmdNuovo, "document-new.png" }, { m_ui->cmdDuplica, "edit-copy.png" },
            { m_ui->cmdFile, "mail-attachment.png" }, { m_ui->cmdSalva, "document-save.png" },
            { m_ui->cmdTrova, "edit-find.png" },
            { m_ui->cmdAnteprima, "document-print-preview.png" },
            { m_ui->cmdStampa, "document-print.png" }, { m_ui->cmdPDF, "x-office-document.png" },
            { m_ui->cmdRicontatta, "emblem-important.png" },
            { m_ui->cmdEsporta, "x-office-spreadsheet.png" },
            { m_ui->cmdImporta, "document-open.png" }, { m_ui->cmdGuida, "help-browser.png" },
            { m_ui->cmdEsci, "system-log-out.png" } },
        { { m_ui->cmdPrimo, "go-first.png" }, { m_ui->cmdIndietro, "go-previous.png" },
            { m_ui->cmdAvanti, "go-next.png" }, { m_ui->cmdUltimo, "go-last.png" } },
        1);

    for (QLabel *hidden : { m_ui->lblFile01, m_ui->lblFile02, m_ui->lblFile03, m_ui->lblDesc01,
             m_ui->lblDesc02, m_ui->lblDesc03 })
        hidden->hide();
}

void TfrmFornitori::connectButtons()
{
    const struct
    {
        QAbstractButton *button;
        void (TfrmFornitori::*handler)();
    } handlers[] = {
        { m_ui->cmdNuovo, &TfrmFornitori::cmdNuovoClick },
        { m_ui->cmdDuplica, &TfrmFornitori::cmdDuplicaClick },
        { m_ui->cmdFile, &TfrmFornitori::cmdFileClick },
        { m_ui->cmdSalva, &TfrmFornitori::cmdSalvaClick },
        { m_ui->cmdAnteprima, &TfrmFornitori::cmdAnteprimaClick },
        { m_ui->cmdStampa, &TfrmFornitori::cmdStampaClick },
        { m_ui->cmdTrova, &TfrmFornitori::cmdTrovaClick },
        { m_ui->cmdPDF, &TfrmFornitori::cmdPDFClick },
        { m_ui->cmdRicontatta, &TfrmFornitori::cmdRicontattaClick },
        { m_ui->cmdEsporta, &TfrmFornitori::cmdEsportaClick },
        { m_ui->cmdImporta, &TfrmFornitori::cmdImportaClick },
        { m_ui->cmdGuida, &TfrmFornitori::cmdGuidaClick },
        { m_ui->cmdEsci, &TfrmFornitori::cmdEsciClick },
        { m_ui->cmdPrimo, &TfrmFornitori::cmdPrimoClick },
        { m_ui->cmdIndietro, &TfrmFornitori::cmdIndietroClick },
        { m_ui->cmdAvanti, &TfrmFornitori::cmdAvantiClick },
        { m_ui->cmdUltimo, &TfrmFornitori::cmdUltimoClick },
        { m_ui->btnEmail, &TfrmFornitori::btnEmailClick },
        { m_ui->btnCodFisc, &TfrmFornitori::btnCodFiscClick },
        { m_ui->btnPartitaIva, &TfrmFornitori::btnPartitaIvaClick },
        { m_ui->btnIban, &TfrmFornitori::btnIbanClick },
        { m_ui->btnCarta, &TfrmFornitori::btnCartaClick },
    };
    for (const auto &h : handlers)
        connect(h.button, &QAbstractButton::clicked, this, h.handler);
}

bool TfrmFornitori::eventFilter(QObject *watched, QEvent *event)
{
    // The province list opens with no code chosen, whatever the field shows.
    if (watched == m_ui->txtProvRes && event->type() == QEvent::FocusIn) {
        const QString shown = m_ui->txtProvRes->currentText();
        m_ui->txtProvRes->setCurrentIndex(-1);
        m_ui->txtProvRes->setEditText(shown);
    }
    return CardScreen::eventFilter(watched, event);
}

void TfrmFornitori::showEvent(QShowEvent *event)
{
    CardScreen::showEvent(event);
    // Restoring a minimised card is not showing it anew: the work on it stays.
    if (!event->spontaneous())
        FormShow();
}

void TfrmFornitori::FormShow()
{
    cmdNuovoClick();
}

QString TfrmFornitori::trimmedText(int field) const
{
    return TrimControl(binding().text(field));
}

void TfrmFornitori::cmdNuovoClick()
{
    binding().load(newSupplier());
    m_ui->txtProvRes->setCurrentIndex(-1);
    m_ui->txtProvRes->clearEditText();
    setPosition(0);
    m_ui->txtDitta->setFocus(Qt::OtherFocusReason);
}

void TfrmFornitori::cmdDuplicaClick()
{
    using namespace SupplierRecord;
    // The attached files belong to the record duplicated, not to the copy.
    if (duplicateCard({ File01, File02, File03, Desc01, Desc02, Desc03 }))
        m_ui->txtDitta->setFocus(Qt::OtherFocusReason);
}

void TfrmFornitori::cmdFileClick()
{
    TfrmAllegaCartella::openFor(this, QStringLiteral("fornitori"));
}

void TfrmFornitori::cmdSalvaClick()
{
    const QString warning = SupplierCard::saveWarning(recordFromControls());
    if (!warning.isEmpty()) {
        Messages::warning(this, warning);
        m_ui->txtDitta->setFocus(Qt::OtherFocusReason);
        return;
    }
    saveCard();
}

void TfrmFornitori::cmdAnteprimaClick()
{
    CardReport::preview(this, SupplierCard::cardContent(recordFromControls(), Today(), Now()));
}

void TfrmFornitori::cmdTrovaClick()
{
    TfrmTrovaFornitori dlg(this);
    dlg.setCallerTag(QStringLiteral("fornitori"));
    dlg.exec();
}

void TfrmFornitori::cmdStampaClick()
{
    CardReport::print(this, SupplierCard::cardContent(recordFromControls(), Today(), Now()));
}

void TfrmFornitori::cmdPDFClick()
{
    CardReport::exportPdfAndAsk(this,
        SupplierCard::cardContent(recordFromControls(), Today(), Now()),
        QStringLiteral("Fornitore.pdf"));
}

void TfrmFornitori::cmdRicontattaClick()
{
    TfrmRicontattaFor list(this);
    list.exec();
}

void TfrmFornitori::cmdEsportaClick()
{
    ExportScreen::open(this, Export::Kind::Suppliers);
}

void TfrmFornitori::cmdImportaClick()
{
    TfrmImporta::open(this, ImportFields::Target::Suppliers);
}

void TfrmFornitori::cmdGuidaClick()
{
    showHelpFor(this, QStringLiteral("TfrmFornitori"));
}

void TfrmFornitori::cmdEsciClick()
{
    close();
}

void TfrmFornitori::btnEmailClick()
{
    TMisc::Open(SupplierCard::mailtoCommand(m_ui->txtEmail->text()));
}

void TfrmFornitori::btnCodFiscClick()
{
    const QString code = trimmedText(SupplierRecord::CodFisc);
    if (SupplierCard::taxCheckFor(code) == SupplierCard::TaxCheck::VatNumber)
        TfrmPartitaIva::check(this, code);
    else
        TfrmCodFisc::check(this, code);
}

void TfrmFornitori::btnPartitaIvaClick()
{
    TfrmPartitaIva::check(this, trimmedText(SupplierRecord::PartitaIva));
}

void TfrmFornitori::btnIbanClick()
{
    TfrmIban::check(this, trimmedText(SupplierRecord::Iban));
}

void TfrmFornitori::btnCartaClick()
{
    TfrmCarta::check(this, trimmedText(SupplierRecord::Carta));
}

void TfrmFornitori::setupFieldEntry()
{
    m_fieldEntry = new FieldEntry(this);
    m_fieldEntry->setEnterOrder({
        QStringLiteral("txtDitta"),
        QStringLiteral("txtTitolare"),
        QStringLiteral("txtRecapito"),
        QStringLiteral("txtIndirizzoRes"),
        QStringLiteral("txtProvRes"),
        QStringLiteral("txtComuneRes"),
        QStringLiteral("txtCapRes"),
        QStringLiteral("txtPagamento"),
        QStringLiteral("txtTelCasa"),
        QStringLiteral("txtTelUff"),
        QStringLiteral("txtTelCel"),
        QStringLiteral("txtFax"),
        QStringLiteral("txtEmail"),
        QStringLiteral("txtCodFisc"),
        QStringLiteral("txtCarta"),
        QStringLiteral("txtScadeCarta"),
        QStringLiteral("txtPartitaIva"),
        QStringLiteral("txtIban"),
        QStringLiteral("txtArticoli"),
        QStringLiteral("txtOfferte"),
        QStringLiteral("txtOrdine"),
        QStringLiteral("txtQuestioni"),
        QStringLiteral("txtNote"),
        QStringLiteral("txtDitta"),
    });
    // Card and VAT numbers take digits only, kept as typed when the field is left.
    m_fieldEntry->addNumberFields(
        { QStringLiteral("txtCarta"), QStringLiteral("txtPartitaIva") }, false);
    m_fieldEntry->addUpperCaseFields(
        { QStringLiteral("txtCodFisc"), QStringLiteral("txtIban"), QStringLiteral("txtProvRes") });
    m_fieldEntry->addTrimmedFields({ QStringLiteral("txtEmail") });
    m_fieldEntry->setLeavingRule(QStringLiteral("txtEmail"),
        [](QLineEdit *edit) { edit->setText(TrimControl(edit->text())); });

    m_fieldEntry->setInfoBar(m_ui->panInfo);
    m_fieldEntry->setHints({
        { QStringLiteral("cmdNuovo"),
            QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda.") },
        { QStringLiteral("cmdDuplica"),
            QStringLiteral("Prepara la schermata per la registrazione di una nuova scheda "
                           "duplicando i dati correnti.") },
        { QStringLiteral("cmdFile"), QStringLiteral("Allega file alla scheda corrente.") },
        { QStringLiteral("cmdSalva"), QStringLiteral("Salva la scheda corrente in archivio.") },
        { QStringLiteral("cmdTrova"), QStringLiteral("Trova una scheda in archivio.") },
        { QStringLiteral("cmdAnteprima"), QStringLiteral("Visualizza l'anteprima di stampa.") },
        { QStringLiteral("cmdStampa"), QStringLiteral("Stampa la scheda corrente.") },
        { QStringLiteral("cmdPDF"), QStringLiteral("Esporta la scheda in formato PDF.") },
        { QStringLiteral("cmdRicontatta"),
            QStringLiteral("Visualizza l'elenco dei Fornitori da ricontattare.") },
        { QStringLiteral("cmdEsporta"),
            QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel.") },
        { QStringLiteral("cmdImporta"),
            QStringLiteral("Importa schede in archivio da un foglio di calcolo (Excel, "
                           "OpenDocument) o da un file CSV.") },
        { QStringLiteral("cmdGuida"),
            QStringLiteral("Visualizza la pagina della guida sensibile al contesto.") },
        { QStringLiteral("cmdEsci"), QStringLiteral("Esci da questa schermata di lavoro.") },
        { QStringLiteral("cmdPrimo"), QStringLiteral("Visualizza la prima scheda in archivio.") },
        { QStringLiteral("cmdIndietro"),
            QStringLiteral("Visualizza la scheda precedente in archivio.") },
        { QStringLiteral("cmdAvanti"),
            QStringLiteral("Visualizza la scheda successiva in archivio.") },
        { QStringLiteral("cmdUltimo"), QStringLiteral("Visualizza l'ultima scheda in archivio.") },
        { QStringLiteral("btnEmail"), QStringLiteral("Invia una e-mail all'indirizzo indicato.") },
        { QStringLiteral("btnCodFisc"), QStringLiteral("Controlla il codice fiscale.") },
        { QStringLiteral("btnPartitaIva"), QStringLiteral("Controlla il numero di partita IVA.") },
        { QStringLiteral("btnIban"), QStringLiteral("Controlla l'IBAN.") },
        { QStringLiteral("btnCarta"), QStringLiteral("Controlla il numero di carta di credito.") },
        { QStringLiteral("chkRicontatta"),
            QStringLiteral("Annota che il Fornitore è da ricontattare per questioni in "
                           "sospeso.") },
    });
    m_fieldEntry->addBackground({
        QStringLiteral("panContainer"),
        QStringLiteral("shpContainer"),
        QStringLiteral("shpSezione01"),
        QStringLiteral("shpSezione02"),
        QStringLiteral("shpSezione03"),
        QStringLiteral("shpSezione04"),
        QStringLiteral("shpSezione05"),
        QStringLiteral("imgSezione01"),
        QStringLiteral("imgSezione02"),
        QStringLiteral("imgSezione03"),
        QStringLiteral("imgSezione04"),
        QStringLiteral("imgSezione05"),
        QStringLiteral("panControlli"),
        QStringLiteral("shpFrecce"),
        QStringLiteral("lblPosizione"),
    });
}
