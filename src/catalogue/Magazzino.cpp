#include "catalogue/Magazzino.h"

#include "ui_Magazzino.h"

#include "app/CardBinding.h"
#include "app/FieldEntry.h"
#include "app/Guida.h"
#include "app/Messages.h"
#include "app/Widgets.h"
#include "catalogue/DatiPneumatici.h"
#include "catalogue/Giacenza.h"
#include "catalogue/Prices.h"
#include "catalogue/ProductCardReport.h"
#include "catalogue/ProductRecord.h"
#include "report/CardReport.h"
#include "reports/Sottoscorta.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::TfrmMagazzino>())
{
    m_ui->setupUi(this);
    Widgets::applyItalianConventions(this);
    setWindowState(Qt::WindowMaximized);

    const RecordLayout &layout = ProductRecord::layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        QWidget *control = CardBinding::controlFor(this, layout.fieldName(i));
        Q_ASSERT_X(control, "TfrmMagazzino", "every product field has its control");
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            edit->setMaxLength(layout.field(i).capacity);
        else if (control)
            control->hide();
    }
    m_ui->txtGiacenza->setReadOnly(true);

    setupLooks();
    setupFieldEntry();
    connectButtons();
}

TfrmMagazzino::~TfrmMagazzino() = default;

void TfrmMagazzino::setupLooks()
{
    QFont cardFont(QStringLiteral("Arial"));
    cardFont.setPointSize(11);
    setFont(cardFont);
    // Below the style sheets of the card and of its sections the font is not inherited:
    // every control gets it explicitly.
    for (QWidget *control : findChildren<QWidget *>())
        control->setFont(cardFont);

    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral(
        "#TfrmMagazzino { background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 #E3E8F0, stop:1 #BCC7D8); }"
        "#shpContainer, #panControlli { background-color: #F8F9FB; border: 1px solid #9FAABD;"
        " border-radius: 8px; }"
        "#shpFrecce { background-color: #6A5ACD; border-radius: 4px; }"
        "#lblPosizione { background-color: white; color: #1E1E50; border: 1px solid #483D8B;"
        " border-radius: 3px; padding: 2px 6px; }"));
    for (QWidget *section :
        { m_ui->shpSezione01, m_ui->shpSezione02, m_ui->shpSezione03, m_ui->shpSezione04 })
        Widgets::styleSection(section);
    for (QLabel *title :
        { m_ui->titSezione01, m_ui->titSezione02, m_ui->titSezione03, m_ui->titSezione04 }) {
        title->setStyleSheet(QStringLiteral("color: #3B3486;"));
        QFont font = cardFont;
        font.setBold(true);
        font.setPointSize(cardFont.pointSize() + 1);
        title->setFont(font);
    }
    Widgets::styleInfoBar(m_ui->panInfo);

    // Amounts and counts are short: their boxes are sized for their texts.
    const QFontMetrics metrics(font());
    const int amountWidth = metrics.horizontalAdvance(QStringLiteral("0000000000,0000")) + 16;
    for (QLineEdit *edit : { m_ui->txtGiacenza, m_ui->txtSottoscorta, m_ui->txtCosto,
             m_ui->txtValore, m_ui->txtPrezzo, m_ui->txtPrezzo_con_Iva }) {
        edit->setFixedWidth(amountWidth);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_ui->txtPercIva->setFixedWidth(metrics.horizontalAdvance(QStringLiteral("000")) + 16);
    m_ui->txtPercIva->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_ui->txtData->setMaximumWidth(amountWidth);
    const int signWidth = metrics.height() + 14;
    m_ui->btnAggiungi->setFixedWidth(signWidth);
    m_ui->btnSottrai->setFixedWidth(signWidth);

    // The four sections share their column widths, so captions and fields line up from
    // one section to the next.
    const QList<QGridLayout *> grids = { qobject_cast<QGridLayout *>(m_ui->shpSezione01->layout()),
        qobject_cast<QGridLayout *>(m_ui->shpSezione02->layout()),
        qobject_cast<QGridLayout *>(m_ui->shpSezione03->layout()),
        qobject_cast<QGridLayout *>(m_ui->shpSezione04->layout()) };
    int columnWidths[4] = { 0, 0, 0, 0 };
    for (QGridLayout *grid : grids) {
        for (int i = 0; i < grid->count(); ++i) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
            if (columnSpan != 1)
                continue;
            // Captions keep their natural width; fields only their minimum.
            const QLayoutItem *item = grid->itemAt(i);
            const int width = column == 1 || column == 3 ? item->minimumSize().width()
                                                         : item->sizeHint().width();
            columnWidths[column] = std::max(columnWidths[column], width);
        }
    }
    for (QGridLayout *grid : grids) {
        for (int column = 0; column < 4; ++column)
            grid->setColumnMinimumWidth(column, columnWidths[column]);
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(3, 1);
    }

    QPixmap decoration(QStringLiteral(":/icons/package-x-generic-128.png"));
    m_ui->imgDecoro->setPixmap(
        decoration.scaled(56, 56, Qt::KeepAspectRatio, Qt::SmoothTransformation));

    static const struct
    {
        QToolButton *Ui::TfrmMagazzino::*button;
        const char *icon;
    } imageButtons[] = {
        { &Ui::TfrmMagazzino::cmdNuovo, "document-new.png" },
        { &Ui::TfrmMagazzino::cmdDuplica, "edit-copy.png" },
        { &Ui::TfrmMagazzino::cmdFile, "mail-attachment.png" },
        { &Ui::TfrmMagazzino::cmdSalva, "document-save.png" },
        { &Ui::TfrmMagazzino::cmdTrova, "edit-find.png" },
        { &Ui::TfrmMagazzino::cmdStampa, "document-print.png" },
        { &Ui::TfrmMagazzino::cmdPDF, "x-office-document.png" },
        { &Ui::TfrmMagazzino::cmdWeb, "internet-web-browser.png" },
        { &Ui::TfrmMagazzino::cmdSottoscorta, "emblem-important.png" },
        { &Ui::TfrmMagazzino::cmdEsporta, "x-office-spreadsheet.png" },
        { &Ui::TfrmMagazzino::cmdGuida, "help-browser.png" },
        { &Ui::TfrmMagazzino::cmdEsci, "system-log-out.png" },
    };
    QFont buttonFont = font();
    buttonFont.setBold(true);
    for (const auto &b : imageButtons) {
        QToolButton *button = m_ui.get()->*b.button;
        Widgets::makeImageButton(button, QString::fromLatin1(b.icon));
        // The column reads like a menu: picture on the left, word beside it.
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setFont(buttonFont);
    }
    static const struct
    {
        QToolButton *Ui::TfrmMagazzino::*button;
        const char *icon;
    } arrows[] = {
        { &Ui::TfrmMagazzino::cmdPrimo, "go-first.png" },
        { &Ui::TfrmMagazzino::cmdIndietro, "go-previous.png" },
        { &Ui::TfrmMagazzino::cmdAvanti, "go-next.png" },
        { &Ui::TfrmMagazzino::cmdUltimo, "go-last.png" },
    };
    for (const auto &a : arrows)
        Widgets::makeImageButton(m_ui.get()->*a.button, QString::fromLatin1(a.icon), 24);
    Widgets::makeImageButton(m_ui->impFornitore, QStringLiteral("x-office-address-book.png"), 22);

    QFont positionFont = font();
    positionFont.setBold(true);
    positionFont.setPointSize(12);
    m_ui->lblPosizione->setFont(positionFont);
    m_ui->lblPosizione->setAlignment(Qt::AlignCenter);
    m_ui->lblPosizione->setMinimumWidth(
        QFontMetrics(positionFont).horizontalAdvance(QStringLiteral("0000000")) + 16);
    m_ui->lblPosizione->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    // The button column and the navigation strip below it keep their natural width; the
    // sections take the rest of the screen.
    m_ui->panControlli->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_ui->shpFrecce->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const int columnWidth
        = std::max(m_ui->panControlli->sizeHint().width(), m_ui->shpFrecce->sizeHint().width());
    m_ui->panControlli->setFixedWidth(columnWidth);
    m_ui->shpFrecce->setFixedWidth(columnWidth);
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
    connect(m_ui->cmdSottoscorta, &QToolButton::clicked, this,
        &TfrmMagazzino::cmdSottoscortaClick);

    // Their screens are not part of the program yet.
    const QList<QWidget *> later = { m_ui->cmdTrova, m_ui->cmdWeb, m_ui->cmdEsporta,
        m_ui->cmdFile, m_ui->impFornitore };
    for (QWidget *button : later)
        button->setEnabled(false);
}

void TfrmMagazzino::cmdSottoscortaClick()
{
    TfrmSottoscorta dlg(this);
    dlg.exec();
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
    cmdNuovoClick();
}

void TfrmMagazzino::loadRecord(const Record &product, qint64 position)
{
    CardBinding::loadRecord(this, product);
    m_ui->lblPosizione->setText(QString::number(position));
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
    const QWidget *control = CardBinding::controlFor(this, fieldName);
    return control ? TrimControl(CardBinding::controlText(control)) : QString();
}

Record TfrmMagazzino::recordFromControls() const
{
    Record product(ProductRecord::layout());
    CardBinding::storeRecord(this, product);
    return product;
}

void TfrmMagazzino::showAccessError()
{
    Messages::warning(this, accessErrorText());
}

void TfrmMagazzino::cmdNuovoClick()
{
    CardBinding::loadRecord(this, newProduct());
    m_ui->lblPosizione->clear();
    m_ui->txtCodice->setFocus(Qt::OtherFocusReason);
}

void TfrmMagazzino::cmdDuplicaClick()
{
    if (TrimControl(m_ui->lblPosizione->text()).isEmpty()) {
        Messages::warning(this, CardNavigation::duplicateNewCardText());
        return;
    }
    for (QLabel *label :
        { m_ui->lblFile01, m_ui->lblFile02, m_ui->lblFile03, m_ui->lblDesc01, m_ui->lblDesc02,
            m_ui->lblDesc03, m_ui->lblCartella, m_ui->lblCartellaDesc, m_ui->lblPosizione })
        label->clear();

    RecordFile archive;
    if (!archive.open(ProductRecord::archive())) {
        showAccessError();
        return;
    }
    archive.close();
    m_ui->txtCodice->setFocus(Qt::OtherFocusReason);
    Messages::information(this, CardNavigation::duplicatedText());
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

    RecordFile archive;
    if (!archive.open(ProductRecord::archive())) {
        showAccessError();
        return;
    }
    const CardNavigation::Save save = CardNavigation::decideSave(m_ui->lblPosizione->text());
    const Record product = recordFromControls();
    const bool written
        = save.append ? archive.append(product) : archive.writeAt(save.index, product);
    if (!written) {
        showAccessError();
        return;
    }
    const qint64 position = save.append ? archive.recordCount() : save.index + 1;
    archive.close();
    m_ui->lblPosizione->setText(QString::number(position));
    Messages::information(this, save.message);
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

void TfrmMagazzino::navigate(CardNavigation::Move move)
{
    RecordFile archive;
    if (!archive.open(ProductRecord::archive())) {
        showAccessError();
        return;
    }
    const CardNavigation::Step step
        = CardNavigation::decide(move, m_ui->lblPosizione->text(), archive.recordCount());
    switch (step.action) {
    case CardNavigation::Step::Action::Stay:
        return;
    case CardNavigation::Step::Action::EmptyArchive:
        archive.close();
        if (step.clearPosition)
            m_ui->lblPosizione->clear();
        Messages::information(this, CardNavigation::emptyArchiveText());
        return;
    case CardNavigation::Step::Action::Read: {
        // The record is read whole before any control changes.
        Record product(ProductRecord::layout());
        if (!archive.readAt(step.index, product)) {
            showAccessError();
            return;
        }
        archive.close();
        loadRecord(product, step.position());
        return;
    }
    }
}

void TfrmMagazzino::cmdPrimoClick()
{
    navigate(CardNavigation::Move::First);
}

void TfrmMagazzino::cmdIndietroClick()
{
    navigate(CardNavigation::Move::Previous);
}

void TfrmMagazzino::cmdAvantiClick()
{
    navigate(CardNavigation::Move::Next);
}

void TfrmMagazzino::cmdUltimoClick()
{
    navigate(CardNavigation::Move::Last);
}

void TfrmMagazzino::btnCalcolaClick()
{
    const Prices::PriceResult result = Prices::calcola(
        { m_ui->txtPrezzo->text(), m_ui->txtPercIva->text(), m_ui->txtPrezzo_con_Iva->text() });
    if (!result.ok)
        Messages::warning(this, Prices::calcolaWarning());
    m_ui->txtPrezzo->setText(result.fields.prezzo);
    m_ui->txtPercIva->setText(result.fields.percIva);
    m_ui->txtPrezzo_con_Iva->setText(result.fields.prezzoConIva);
    if (!result.ok)
        m_ui->txtPrezzo_con_Iva->setFocus(Qt::OtherFocusReason);
}

void TfrmMagazzino::btnScorporaClick()
{
    const Prices::PriceResult result = Prices::scorpora(
        { m_ui->txtPrezzo->text(), m_ui->txtPercIva->text(), m_ui->txtPrezzo_con_Iva->text() });
    if (!result.ok)
        Messages::warning(this, Prices::scorporaWarning());
    m_ui->txtPrezzo->setText(result.fields.prezzo);
    m_ui->txtPercIva->setText(result.fields.percIva);
    m_ui->txtPrezzo_con_Iva->setText(result.fields.prezzoConIva);
    if (!result.ok)
        m_ui->txtPrezzo_con_Iva->setFocus(Qt::OtherFocusReason);
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
    if (TfrmGiacenza::run(this, kind, input, &newStock))
        setStock(newStock);
}

void TfrmMagazzino::btnAggiungiClick()
{
    recordMovement(MovementRecord::Kind::Load);
}

void TfrmMagazzino::btnSottraiClick()
{
    recordMovement(MovementRecord::Kind::Unload);
}
