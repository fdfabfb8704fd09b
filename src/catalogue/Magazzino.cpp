#include "catalogue/Magazzino.h"

#include "ui_Magazzino.h"

#include "app/FieldEntry.h"
#include "app/Guida.h"
#include "app/Messages.h"
#include "app/OpenURL.h"
#include "app/ScreenFit.h"
#include "app/Widgets.h"
#include "attachments/AllegaCartella.h"
#include "cards/CardBinding.h"
#include "cards/CardLooks.h"
#include "catalogue/DatiPneumatici.h"
#include "catalogue/Giacenza.h"
#include "catalogue/Prices.h"
#include "catalogue/ProductCardReport.h"
#include "catalogue/ProductRecord.h"
#include "export/ExportScreen.h"
#include "labels/Etichette.h"
#include "labels/ScanBox.h"
#include "report/CardReport.h"
#include "reports/Sottoscorta.h"
#include "search/TrovaFornitori.h"
#include "search/TrovaMagazzino.h"
#include "search/WebSearch.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QToolButton>

#include <cmath>

namespace {

const QString kZeroAmount = QStringLiteral("0,00");
const QString kZeroCount = QStringLiteral("0");

const QStringList kAmountFields = { QStringLiteral("txtCosto"), QStringLiteral("txtValore"),
    QStringLiteral("txtPrezzo"), QStringLiteral("txtPrezzo_con_Iva") };
const QStringList kCountFields = { QStringLiteral("txtGiacenza"), QStringLiteral("txtSottoscorta"),
    QStringLiteral("txtPercIva") };

// A product as a new card shows it: amounts "0,00", counts "0", everything else empty.
Record newProduct()
{
    using namespace ProductRecord;
    Record product(layout());
    for (int field : { Costo, Valore, Prezzo, Prezzo_con_Iva })
        product.setValue(field, kZeroAmount);
    for (int field : { PercIva, Giacenza, Sottoscorta })
        product.setValue(field, kZeroCount);
    return product;
}

void fillIfEmpty(QLineEdit *edit, const QString &zero)
{
    if (TrimControl(edit->text()).isEmpty())
        edit->setText(zero);
}

// The stock and the minimum stock are whole numbers when stored; false when the text is
// not a number at all.
bool roundToWhole(QLineEdit *edit)
{
    const std::optional<double> n = TextToNumber(edit->text());
    if (!n || !std::isfinite(*n))
        return false;
    edit->setText(NumberToText(RoundDecimals(*n, 0)));
    return true;
}

} // namespace

TfrmMagazzino::TfrmMagazzino(QWidget *parent)
    : CardScreen(ProductRecord::archive(), Notice::Kind::Warning, parent)
    , m_ui(std::make_unique<Ui::TfrmMagazzino>())
{
    m_ui->setupUi(this);
    Widgets::applyItalianConventions(this);
    Widgets::fillScreen(this);
    bindCard(m_ui->lblPosizione);

    const RecordLayout &layout = ProductRecord::layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        QWidget *control = binding().control(i);
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            edit->setMaxLength(layout.field(i).capacity);
        else if (control)
            control->hide();
    }
    m_ui->txtGiacenza->setReadOnly(true);

    // Fonts, style sheets and pictures when the card is first shown: it is created at
    // start-up.
    Widgets::onFirstPolish(this, [this] { setupLooks(); });
    setupFieldEntry();
    connectButtons();
    // A code typed or scanned into txtBarcode shows its product; an unknown one may start
    // a new card with it.
    new ScanBox(this, m_ui->txtBarcode, m_ui->panInfo, m_fieldEntry, [this](const QString &code) {
        cmdNuovoClick();
        if (!positionText().isEmpty() || !fieldText(QStringLiteral("Codice")).isEmpty())
            return false;
        m_ui->txtCodice->setText(code);
        m_ui->txtTipologia->setFocus(Qt::OtherFocusReason);
        return true;
    });
}

TfrmMagazzino::~TfrmMagazzino() = default;

void TfrmMagazzino::setupLooks()
{
    const CardLooks::ColumnCard parts { this, m_ui->panContainer,
        { m_ui->shpSezione01, m_ui->shpSezione02, m_ui->shpSezione03, m_ui->shpSezione04 },
        m_ui->panInfo, m_ui->panControlli, m_ui->shpFrecce, m_ui->lblPosizione };
    CardLooks::startColumnCard(
        parts, { m_ui->titSezione01, m_ui->titSezione02, m_ui->titSezione03, m_ui->titSezione04 });

    // Amounts and counts are short: their boxes are sized for their usual texts (a longer
    // one scrolls inside its box).
    const QFontMetrics metrics(font());
    const int amountWidth = metrics.horizontalAdvance(QStringLiteral("000000,0000")) + 16;
    for (QLineEdit *edit : { m_ui->txtGiacenza, m_ui->txtSottoscorta, m_ui->txtCosto,
             m_ui->txtValore, m_ui->txtPrezzo, m_ui->txtPrezzo_con_Iva }) {
        edit->setFixedWidth(amountWidth);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_ui->txtPercIva->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("000")) + 16);
    m_ui->txtPercIva->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_ui->txtData->setMaximumWidth(amountWidth);
    m_ui->txtBarcode->setMinimumWidth(
        metrics.horizontalAdvance(QStringLiteral("00000000000000")) + 16);
    const int signWidth = metrics.height() + 14;
    m_ui->btnAggiungi->setFixedWidth(signWidth);
    m_ui->btnSottrai->setFixedWidth(signWidth);

    QPixmap decoration(QStringLiteral(":/icons/package-x-generic-128.png"));
    m_ui->imgDecoro->setPixmap(
        decoration.scaled(56, 56, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Widgets::makeImageButton(m_ui->impFornitore, QStringLiteral("x-office-address-book.png"), 22);

    // On a small screen the sections and the button column scroll; on a large one the
    // sections keep a readable width.
    QScrollArea *sections = CardLooks::finishColumnCard(parts,
        {
            { m_ui->cmdNuovo, "document-new.png" },
            { m_ui->cmdDuplica, "edit-copy.png" },
            { m_ui->cmdFile, "mail-attachment.png" },
            { m_ui->cmdSalva, "document-save.png" },
            { m_ui->cmdTrova, "edit-find.png" },
            { m_ui->cmdStampa, "document-print.png" },
            { m_ui->cmdPDF, "x-office-document.png" },
            { m_ui->cmdEtichette, "document-print-preview.png" },
            { m_ui->cmdWeb, "internet-web-browser.png" },
            { m_ui->cmdSottoscorta, "emblem-important.png" },
            { m_ui->cmdEsporta, "x-office-spreadsheet.png" },
            { m_ui->cmdGuida, "help-browser.png" },
            { m_ui->cmdEsci, "system-log-out.png" },
        },
        {
            { m_ui->cmdPrimo, "go-first.png" },
            { m_ui->cmdIndietro, "go-previous.png" },
            { m_ui->cmdAvanti, "go-next.png" },
            { m_ui->cmdUltimo, "go-last.png" },
        });
    // Narrower still (1366x768 at 125 %), the second field of each row goes under the
    // first, so that the sections scroll only up and down.
    QList<QGridLayout *> grids;
    for (QWidget *section : parts.sections)
        grids.append(qobject_cast<QGridLayout *>(section->layout()));
    if (sections)
        ScreenFit::pairsUnderWhenNarrow(sections, grids);
}

void TfrmMagazzino::setupFieldEntry()
{
    m_fieldEntry = new FieldEntry(this);
    m_fieldEntry->setEnterOrder({
        QStringLiteral("txtCodice"),
        QStringLiteral("txtTipologia"),
        QStringLiteral("txtMarca"),
        QStringLiteral("txtModello"),
        QStringLiteral("txtDescrizione"),
        QStringLiteral("txtAccessori"),
        QStringLiteral("txtFornitore"),
        QStringLiteral("txtRecapiti"),
        QStringLiteral("txtData"),
        QStringLiteral("txtDocumento"),
        QStringLiteral("txtOrdine"),
        QStringLiteral("txtGiacenza"),
        QStringLiteral("txtSottoscorta"),
        QStringLiteral("txtCosto"),
        QStringLiteral("txtValore"),
        QStringLiteral("txtPrezzo"),
        QStringLiteral("txtPercIva"),
        QStringLiteral("txtPrezzo_con_Iva"),
        QStringLiteral("txtCollocazione"),
        QStringLiteral("txtNote"),
        QStringLiteral("txtCodice"),
    });
    m_fieldEntry->addAmountFields(kAmountFields);
    m_fieldEntry->addNumberFields(kCountFields);
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
        { QStringLiteral("cmdStampa"), QStringLiteral("Stampa la scheda corrente.") },
        { QStringLiteral("cmdPDF"), QStringLiteral("Esporta la scheda in formato PDF.") },
        { QStringLiteral("cmdEtichette"),
            QStringLiteral("Stampa le etichette con il codice a barre dell'articolo corrente.") },
        { QStringLiteral("txtBarcode"),
            QStringLiteral("Codice a barre (F3): digitare un codice e premere Invio, oppure "
                           "leggerlo con il lettore di codici a barre.") },
        { QStringLiteral("cmdWeb"),
            QStringLiteral("Cerca sul Web, tramite Google, informazioni relative all'articolo "
                           "corrente.") },
        { QStringLiteral("cmdSottoscorta"),
            QStringLiteral("Visualizza l'elenco dei materiali in esaurimento.") },
        { QStringLiteral("cmdEsporta"),
            QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel.") },
        { QStringLiteral("cmdGuida"),
            QStringLiteral("Visualizza la pagina della guida sensibile al contesto.") },
        { QStringLiteral("cmdEsci"), QStringLiteral("Esci da questa schermata di lavoro.") },
        { QStringLiteral("cmdPrimo"), QStringLiteral("Visualizza la prima scheda in archivio.") },
        { QStringLiteral("cmdIndietro"),
            QStringLiteral("Visualizza la scheda precedente in archivio.") },
        { QStringLiteral("cmdAvanti"),
            QStringLiteral("Visualizza la scheda successiva in archivio.") },
        { QStringLiteral("cmdUltimo"), QStringLiteral("Visualizza l'ultima scheda in archivio.") },
        { QStringLiteral("impFornitore"),
            QStringLiteral("Importa i dati dall'archivio anagrafico dei Fornitori.") },
        { QStringLiteral("btnPneumatici"),
            QStringLiteral("Registra ulteriori informazioni sul prodotto corrente.") },
        { QStringLiteral("btnAggiungi"),
            QStringLiteral("Registra l'operazione di carico e aggiorna la giacenza aggiungendo "
                           "una certa quantità.") },
        { QStringLiteral("btnSottrai"),
            QStringLiteral("Registra l'operazione di scarico e aggiorna la giacenza sottraendo "
                           "una certa quantità.") },
        { QStringLiteral("btnValore"),
            QStringLiteral("Calcola il valore totale della merce in magazzino moltiplicando il "
                           "costo per la giacenza.") },
        { QStringLiteral("btnCalcola"),
            QStringLiteral("Calcola il prezzo IVA inclusa dell'articolo corrente in base "
                           "all'aliquota indicata.") },
        { QStringLiteral("btnScorpora"),
            QStringLiteral("Scorpora il prezzo lordo dell'articolo corrente calcolando "
                           "l'imponibile in base all'aliquota IVA indicata.") },
    });
    m_fieldEntry->addBackground({
        QStringLiteral("panContainer"),
        QStringLiteral("shpContainer"),
        QStringLiteral("shpSezione01"),
        QStringLiteral("shpSezione02"),
        QStringLiteral("shpSezione03"),
        QStringLiteral("shpSezione04"),
        QStringLiteral("panControlli"),
        QStringLiteral("shpFrecce"),
        QStringLiteral("lblPosizione"),
        QStringLiteral("imgDecoro"),
    });
}

void TfrmMagazzino::connectButtons()
{
    connect(m_ui->cmdNuovo, &QToolButton::clicked, this, &TfrmMagazzino::cmdNuovoClick);
    connect(m_ui->cmdDuplica, &QToolButton::clicked, this, &TfrmMagazzino::cmdDuplicaClick);
    connect(m_ui->cmdSalva, &QToolButton::clicked, this, &TfrmMagazzino::cmdSalvaClick);
    connect(m_ui->cmdStampa, &QToolButton::clicked, this, &TfrmMagazzino::cmdStampaClick);
    connect(m_ui->cmdPDF, &QToolButton::clicked, this, &TfrmMagazzino::cmdPDFClick);
    connect(m_ui->cmdGuida, &QToolButton::clicked, this, &TfrmMagazzino::cmdGuidaClick);
    connect(m_ui->cmdEsci, &QToolButton::clicked, this, &TfrmMagazzino::cmdEsciClick);
    connect(m_ui->cmdPrimo, &QToolButton::clicked, this, &TfrmMagazzino::cmdPrimoClick);
    connect(m_ui->cmdIndietro, &QToolButton::clicked, this, &TfrmMagazzino::cmdIndietroClick);
    connect(m_ui->cmdAvanti, &QToolButton::clicked, this, &TfrmMagazzino::cmdAvantiClick);
    connect(m_ui->cmdUltimo, &QToolButton::clicked, this, &TfrmMagazzino::cmdUltimoClick);
    connect(m_ui->btnCalcola, &QPushButton::clicked, this, &TfrmMagazzino::btnCalcolaClick);
    connect(m_ui->btnScorpora, &QPushButton::clicked, this, &TfrmMagazzino::btnScorporaClick);
    connect(m_ui->btnValore, &QPushButton::clicked, this, &TfrmMagazzino::btnValoreClick);
    connect(m_ui->btnPneumatici, &QPushButton::clicked, this, &TfrmMagazzino::btnPneumaticiClick);
    connect(m_ui->btnAggiungi, &QPushButton::clicked, this, &TfrmMagazzino::btnAggiungiClick);
    connect(m_ui->btnSottrai, &QPushButton::clicked, this, &TfrmMagazzino::btnSottraiClick);
    connect(m_ui->cmdSottoscorta, &QToolButton::clicked, this, &TfrmMagazzino::cmdSottoscortaClick);
    connect(m_ui->cmdEsporta, &QToolButton::clicked, this, &TfrmMagazzino::cmdEsportaClick);
    connect(m_ui->cmdTrova, &QToolButton::clicked, this, &TfrmMagazzino::cmdTrovaClick);
    connect(m_ui->impFornitore, &QToolButton::clicked, this, &TfrmMagazzino::impFornitoreClick);
    connect(m_ui->cmdWeb, &QToolButton::clicked, this, &TfrmMagazzino::cmdWebClick);
    connect(m_ui->cmdFile, &QToolButton::clicked, this, &TfrmMagazzino::cmdFileClick);
    connect(m_ui->cmdEtichette, &QToolButton::clicked, this, &TfrmMagazzino::cmdEtichetteClick);
}

void TfrmMagazzino::cmdEtichetteClick()
{
    TfrmEtichette::openForProduct(this, recordFromControls());
}

void TfrmMagazzino::cmdSottoscortaClick()
{
    TfrmSottoscorta dlg(this);
    dlg.exec();
}

void TfrmMagazzino::cmdEsportaClick()
{
    ExportScreen::open(this, Export::Kind::Products);
}

void TfrmMagazzino::cmdTrovaClick()
{
    TfrmTrovaMagazzino dlg(this);
    dlg.setCallerTag(QStringLiteral("magazzino"));
    dlg.exec();
}

void TfrmMagazzino::impFornitoreClick()
{
    // The supplier search writes the chosen supplier's data into this card.
    TfrmTrovaFornitori dlg(this);
    dlg.setCallerTag(QStringLiteral("magazzino"));
    dlg.exec();
}

void TfrmMagazzino::cmdWebClick()
{
    if (TrimControl(m_ui->txtMarca->text()).isEmpty()) {
        Messages::warning(this, WebSearch::emptyBrandText());
        m_ui->txtMarca->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QString address = WebSearch::address(m_ui->txtMarca->text(), m_ui->txtModello->text());
    // The shell open reports nothing; an address it could not even read is the one
    // failure the card can see.
    if (!TMisc::UrlFor(address).isValid()) {
        Messages::warning(this, WebSearch::shellFailureText());
        return;
    }
    TMisc::Open(u'"' + address + u'"');
}

void TfrmMagazzino::cmdFileClick()
{
    TfrmAllegaCartella::openFor(this, QStringLiteral("magazzino"));
}

void TfrmMagazzino::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Restoring a minimised card is not showing it anew: the work on it stays.
    if (!event->spontaneous())
        FormShow();
}

void TfrmMagazzino::FormShow()
{
    m_stockUnsaved = false;
    cmdNuovoClick();
}

void TfrmMagazzino::closeEvent(QCloseEvent *event)
{
    if (!leaveProduct()) {
        event->ignore();
        return;
    }
    CardScreen::closeEvent(event);
}

void TfrmMagazzino::loadRecord(const Record &record, qint64 position)
{
    if (!leaveProduct())
        return;
    CardScreen::loadRecord(record, position);
}

QString TfrmMagazzino::stockNotSavedText()
{
    return QStringLiteral(
        "Attenzione: la giacenza dell'articolo è stata aggiornata da un movimento di magazzino, "
        "ma la scheda non è stata ancora salvata.\n\nSi vuole salvare la scheda ora?");
}

bool TfrmMagazzino::leaveProduct()
{
    if (!m_stockUnsaved)
        return true;
    // The movement is already in its yearly file; the new stock reaches the archive only
    // with Salva. Leaving without it would keep the movement and lose the stock.
    if (!Messages::confirm(this, stockNotSavedText())) {
        m_stockUnsaved = false;
        return true;
    }
    cmdSalvaClick();
    return !m_stockUnsaved;
}

void TfrmMagazzino::setStock(const QString &text)
{
    m_ui->txtGiacenza->setText(text);
}

void TfrmMagazzino::setOtherInformation(
    const QString &consumo, const QString &aderenza, const QString &rumore, const QString &onde)
{
    m_ui->memConsumo->setText(consumo);
    m_ui->memAderenza->setText(aderenza);
    m_ui->memRumore->setText(rumore);
    m_ui->memOnde->setText(onde);
}

QString TfrmMagazzino::fieldText(const QString &fieldName) const
{
    const int field = ProductRecord::layout().indexOf(fieldName);
    return field >= 0 ? TrimControl(binding().text(field)) : QString();
}

void TfrmMagazzino::cmdNuovoClick()
{
    if (!leaveProduct())
        return;
    binding().load(newProduct());
    setPosition(0);
    m_ui->txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmMagazzino::cmdDuplicaClick()
{
    using namespace ProductRecord;
    // The attachments and the folder belong to the record duplicated, not to the copy.
    if (duplicateCard({ File01, File02, File03, Desc01, Desc02, Desc03, Cartella, CartellaDesc }))
        m_ui->txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmMagazzino::cmdSalvaClick()
{
    if (TrimControl(m_ui->txtCodice->text()).isEmpty()) {
        Messages::warning(this,
            QStringLiteral("Attenzione: per salvare la scheda è necessario "
                           "indicare il codice articolo."));
        m_ui->txtCodice->setFocus(Qt::OtherFocusReason);
        return;
    }
    for (QLineEdit *edit : { m_ui->txtGiacenza, m_ui->txtSottoscorta, m_ui->txtPercIva })
        fillIfEmpty(edit, kZeroCount);
    for (QLineEdit *edit :
        { m_ui->txtCosto, m_ui->txtValore, m_ui->txtPrezzo, m_ui->txtPrezzo_con_Iva })
        fillIfEmpty(edit, kZeroAmount);
    if (!roundToWhole(m_ui->txtGiacenza) || !roundToWhole(m_ui->txtSottoscorta)) {
        showAccessError();
        return;
    }
    btnCalcolaClick();
    // A cost that is not a number (pasted, the field not left before Salva) resets the
    // cost and the value; the stock, already checked above, is kept rather than stored
    // as 0 without a word.
    const QString stock = m_ui->txtGiacenza->text();
    btnValoreClick();
    m_ui->txtGiacenza->setText(stock);

    if (saveCard())
        m_stockUnsaved = false;
}

void TfrmMagazzino::cmdStampaClick()
{
    CardReport::print(this, productCardContent(recordFromControls(), Today(), Now()));
}

void TfrmMagazzino::cmdPDFClick()
{
    CardReport::exportPdfAndAsk(this, productCardContent(recordFromControls(), Today(), Now()),
        QStringLiteral("Articolo.pdf"));
}

void TfrmMagazzino::cmdGuidaClick()
{
    showHelpFor(this, QStringLiteral("TfrmMagazzino"));
}

void TfrmMagazzino::cmdEsciClick()
{
    close();
}

void TfrmMagazzino::applyPrices(const Prices::PriceResult &result, const QString &warning)
{
    if (!result.ok)
        Messages::warning(this, warning);
    m_ui->txtPrezzo->setText(result.fields.prezzo);
    m_ui->txtPercIva->setText(result.fields.percIva);
    m_ui->txtPrezzo_con_Iva->setText(result.fields.prezzoConIva);
    if (!result.ok)
        m_ui->txtPrezzo_con_Iva->setFocus(Qt::OtherFocusReason);
}

void TfrmMagazzino::btnCalcolaClick()
{
    applyPrices(Prices::calcola({ m_ui->txtPrezzo->text(), m_ui->txtPercIva->text(),
                    m_ui->txtPrezzo_con_Iva->text() }),
        Prices::calcolaWarning());
}

void TfrmMagazzino::btnScorporaClick()
{
    applyPrices(Prices::scorpora({ m_ui->txtPrezzo->text(), m_ui->txtPercIva->text(),
                    m_ui->txtPrezzo_con_Iva->text() }),
        Prices::scorporaWarning());
}

void TfrmMagazzino::btnValoreClick()
{
    const Prices::ValueResult result = Prices::calcolaValore(
        { m_ui->txtCosto->text(), m_ui->txtGiacenza->text(), m_ui->txtValore->text() });
    m_ui->txtCosto->setText(result.fields.costo);
    m_ui->txtGiacenza->setText(result.fields.giacenza);
    m_ui->txtValore->setText(result.fields.valore);
}

void TfrmMagazzino::btnPneumaticiClick()
{
    TfrmDatiPneumatici dialog(this);
    dialog.setValues(
        { TrimControl(m_ui->memConsumo->text()), TrimControl(m_ui->memAderenza->text()),
            TrimControl(m_ui->memRumore->text()), TrimControl(m_ui->memOnde->text()) });
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TfrmDatiPneumatici::Values values = dialog.values();
    setOtherInformation(values.consumo, values.aderenza, values.rumore, values.onde);
}

void TfrmMagazzino::recordMovement(MovementRecord::Kind kind)
{
    if (TrimControl(m_ui->txtCodice->text()).isEmpty()) {
        Messages::warning(this,
            QStringLiteral("Attenzione: per aggiornare la giacenza è "
                           "necessario indicare il codice articolo."));
        m_ui->txtCodice->setFocus(Qt::OtherFocusReason);
        return;
    }
    fillIfEmpty(m_ui->txtGiacenza, kZeroCount);
    const bool load = kind == MovementRecord::Kind::Load;
    const MovementInput input { fieldText(QStringLiteral("Codice")),
        fieldText(QStringLiteral("Tipologia")), fieldText(QStringLiteral("Marca")),
        fieldText(QStringLiteral("Modello")), fieldText(QStringLiteral("Giacenza")),
        fieldText(load ? QStringLiteral("Costo") : QStringLiteral("Prezzo")) };
    QString newStock;
    if (TfrmGiacenza::run(this, kind, input, &newStock)) {
        setStock(newStock);
        m_stockUnsaved = true;
    }
}

void TfrmMagazzino::btnAggiungiClick()
{
    recordMovement(MovementRecord::Kind::Load);
}

void TfrmMagazzino::btnSottraiClick()
{
    recordMovement(MovementRecord::Kind::Unload);
}
