#include "catalogue/Magazzino.h"

#include "ui_Magazzino.h"

#include "app/Messages.h"
#include "app/OpenURL.h"
#include "app/ScreenFit.h"
#include "app/Widgets.h"
#include "attachments/AllegaCartella.h"
#include "cards/CardLooks.h"
#include "cards/CardNavigation.h"
#include "catalogue/DatiPneumatici.h"
#include "catalogue/Giacenza.h"
#include "catalogue/Prices.h"
#include "catalogue/ProductCard.h"
#include "catalogue/ProductCardReport.h"
#include "catalogue/StockMovement.h"
#include "export/ExportScreen.h"
#include "import/Importa.h"
#include "labels/Etichette.h"
#include "labels/ScanBox.h"
#include "records/ProductRecord.h"
#include "reports/Sottoscorta.h"
#include "search/ArchiveSearchScreen.h"
#include "search/WebSearch.h"
#include "storage/Record.h"
#include "storage/TextForms.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QToolButton>

#include <cmath>

namespace {

// Screens shorter than this (in logical pixels) leave out the button column's picture.
constexpr int kShortScreen = 680;

const CardSpec &productConfig()
{
    using namespace ProductRecord;
    static const CardSpec config {
        .id = CardId::Product,
        .archive = &ProductRecord::archive,
        .accessErrorKind = Notice::Kind::Warning,
        .newRecord = &ProductCard::newProduct,
        .firstField = QStringLiteral("txtCodice"),
        // The attachments and the folder belong to the record duplicated, not to the copy;
        // the stock and its value come only from the copy's own movements.
        .duplicaEmpties = { File01, File02, File03, Desc01, Desc02, Desc03, Cartella, CartellaDesc,
            Giacenza, Valore },
        .enterRing = { QStringLiteral("txtCodice"), QStringLiteral("txtTipologia"),
            QStringLiteral("txtMarca"), QStringLiteral("txtModello"),
            QStringLiteral("txtDescrizione"), QStringLiteral("txtAccessori"),
            QStringLiteral("txtFornitore"), QStringLiteral("txtRecapiti"),
            QStringLiteral("txtData"), QStringLiteral("txtDocumento"), QStringLiteral("txtOrdine"),
            QStringLiteral("txtGiacenza"), QStringLiteral("txtSottoscorta"),
            QStringLiteral("txtCosto"), QStringLiteral("txtValore"), QStringLiteral("txtPrezzo"),
            QStringLiteral("txtPercIva"), QStringLiteral("txtPrezzo_con_Iva"),
            QStringLiteral("txtCollocazione"), QStringLiteral("txtNote"),
            QStringLiteral("txtCodice") },
        .amountFields = { QStringLiteral("txtCosto"), QStringLiteral("txtValore"),
            QStringLiteral("txtPrezzo"), QStringLiteral("txtPrezzo_con_Iva") },
        .countFields = { QStringLiteral("txtGiacenza"), QStringLiteral("txtSottoscorta"),
            QStringLiteral("txtPercIva") },
        .hints = {
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
            { QStringLiteral("impFornitore"),
                QStringLiteral("Importa i dati dall'archivio anagrafico dei Fornitori.") },
            { QStringLiteral("btnPneumatici"),
                QStringLiteral("Registra ulteriori informazioni sul prodotto corrente.") },
            { QStringLiteral("btnAggiungi"),
                QStringLiteral("Registra l'operazione di carico e aggiorna la giacenza "
                               "aggiungendo una certa quantità.") },
            { QStringLiteral("btnSottrai"),
                QStringLiteral("Registra l'operazione di scarico e aggiorna la giacenza "
                               "sottraendo una certa quantità.") },
            { QStringLiteral("btnValore"),
                QStringLiteral("Calcola il valore totale della merce in magazzino moltiplicando "
                               "il costo per la giacenza.") },
            { QStringLiteral("btnCalcola"),
                QStringLiteral("Calcola il prezzo IVA inclusa dell'articolo corrente in base "
                               "all'aliquota indicata.") },
            { QStringLiteral("btnScorpora"),
                QStringLiteral("Scorpora il prezzo lordo dell'articolo corrente calcolando "
                               "l'imponibile in base all'aliquota IVA indicata.") },
        },
        .background = { QStringLiteral("panContainer"), QStringLiteral("shpContainer"),
            QStringLiteral("shpSezione01"), QStringLiteral("shpSezione02"),
            QStringLiteral("shpSezione03"), QStringLiteral("shpSezione04"),
            QStringLiteral("panControlli"), QStringLiteral("shpFrecce"),
            QStringLiteral("lblPosizione"), QStringLiteral("imgDecoro") },
        // F3 from every control goes to the scan box.
        .focusKeys = { { Qt::Key_F3, QStringLiteral("txtBarcode") } },
        .withoutButtons = { QStringLiteral("cmdAnteprima") },
        .saveCheck = &ProductCard::saveCheck,
        .printContent = &productCardContent,
        .pdfName = QStringLiteral("Articolo.pdf"),
        .find = &ArchiveSearchScreen::open,
        .attach = &TfrmAllegaCartella::openFor,
        .exportArchive = &ExportScreen::open,
        .importArchive = &TfrmImporta::open,
        .scanBox = &ScanBox::attach,
    };
    return config;
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
    : CardScreen(productConfig(), parent)
    , m_ui(std::make_unique<Ui::TfrmMagazzino>())
{
    m_ui->setupUi(this);
    m_ui->txtGiacenza->setReadOnly(true);
    setUpCard();
    // Fonts, style sheets and pictures when the card is first shown: it is created at
    // start-up.
    Widgets::onFirstPolish(this, [this] { setupLooks(); });
    wireButtons<TfrmMagazzino>({
        { "btnCalcola", &TfrmMagazzino::btnCalcolaClick },
        { "btnScorpora", &TfrmMagazzino::btnScorporaClick },
        { "btnValore", &TfrmMagazzino::btnValoreClick },
        { "btnPneumatici", &TfrmMagazzino::btnPneumaticiClick },
        { "btnAggiungi", &TfrmMagazzino::btnAggiungiClick },
        { "btnSottrai", &TfrmMagazzino::btnSottraiClick },
        { "cmdSottoscorta", &TfrmMagazzino::cmdSottoscortaClick },
        { "impFornitore", &TfrmMagazzino::impFornitoreClick },
        { "cmdWeb", &TfrmMagazzino::cmdWebClick },
        { "cmdEtichette", &TfrmMagazzino::cmdEtichetteClick },
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
            { m_ui->cmdEtichette, "document-print-preview.png" },
            { m_ui->cmdWeb, "internet-web-browser.png" },
            { m_ui->cmdSottoscorta, "emblem-important.png" },
            { m_ui->cmdEsporta, "x-office-spreadsheet.png" },
            { m_ui->cmdImporta, "document-open.png" },
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
    // On a short screen (1366x768 at 125 %) the picture gives its room to the buttons, so
    // that the column shows every one of them down to Esci without scrolling.
    if (const QScreen *screen = this->screen();
        screen && screen->availableGeometry().height() < kShortScreen)
        m_ui->imgDecoro->hide();
}

void TfrmMagazzino::cmdSottoscortaClick()
{
    TfrmSottoscorta dlg(this);
    dlg.exec();
}

void TfrmMagazzino::impFornitoreClick()
{
    // The supplier search writes the chosen supplier's data into this card.
    ArchiveSearchScreen::open(this, ArchiveId::Suppliers, CardId::Product);
}

void TfrmMagazzino::cmdEtichetteClick()
{
    TfrmEtichette::openForProduct(this, recordFromControls());
}

void TfrmMagazzino::cmdWebClick()
{
    if (TrimControl(m_ui->txtMarca->text()).isEmpty()) {
        Messages::warning(this, WebSearch::emptyBrandText());
        m_ui->txtMarca->setFocus(Qt::OtherFocusReason);
        return;
    }
    const QString address = WebSearch::address(m_ui->txtMarca->text(), m_ui->txtModello->text());
    // An address that cannot even be read, or no browser to show it: the user is told.
    if (!TMisc::UrlFor(address).isValid() || !TMisc::Open(u'"' + address + u'"'))
        Messages::warning(this, WebSearch::shellFailureText());
}

QString TfrmMagazzino::saveFirstText()
{
    return QStringLiteral(
        "Per registrare un movimento occorre prima salvare la scheda. Salvarla adesso?");
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

void TfrmMagazzino::cmdSalvaClick()
{
    if (!passesSaveCheck())
        return;
    for (QLineEdit *edit : { m_ui->txtGiacenza, m_ui->txtSottoscorta, m_ui->txtPercIva })
        fillIfEmpty(edit, ProductCard::kZeroCount);
    for (QLineEdit *edit :
        { m_ui->txtCosto, m_ui->txtValore, m_ui->txtPrezzo, m_ui->txtPrezzo_con_Iva })
        fillIfEmpty(edit, ProductCard::kZeroAmount);
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

    saveCard();
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
    // The movement changes the stored product: a card that is not stored as it shows
    // (new, or its code changed) is saved first.
    const auto storedAsShown = [this] {
        const qint64 position = CardNavigation::positionOf(positionText());
        return position > 0
            && StockMovement::storedCode(position - 1) == fieldText(QStringLiteral("Codice"));
    };
    if (!storedAsShown()) {
        if (!Messages::confirm(this, saveFirstText()))
            return;
        cmdSalvaClick();
        if (!storedAsShown())
            return;
    }
    fillIfEmpty(m_ui->txtGiacenza, ProductCard::kZeroCount);
    const bool load = kind == MovementRecord::Kind::Load;
    const MovementInput input { fieldText(QStringLiteral("Codice")),
        fieldText(QStringLiteral("Tipologia")), fieldText(QStringLiteral("Marca")),
        fieldText(QStringLiteral("Modello")), fieldText(QStringLiteral("Giacenza")),
        fieldText(load ? QStringLiteral("Costo") : QStringLiteral("Prezzo")),
        CardNavigation::positionOf(positionText()) - 1 };
    Record product(ProductRecord::layout());
    if (TfrmGiacenza::run(this, kind, input, &product)) {
        storedMeanwhile(product);
        setStock(product.value(ProductRecord::Giacenza));
        m_ui->txtValore->setText(product.value(ProductRecord::Valore));
        // Stored with the movement: leaving the card does not ask about them.
        takeAsShown({ ProductRecord::Giacenza, ProductRecord::Valore });
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
