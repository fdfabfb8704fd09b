#include "suppliers/Fornitori.h"

#include "ui_Fornitori.h"

#include "app/FieldEntry.h"
#include "app/OpenURL.h"
#include "app/Widgets.h"
#include "attachments/AllegaCartella.h"
#include "cards/CardLooks.h"
#include "cards/ProvinceBox.h"
#include "checks/Carta.h"
#include "checks/CodeButton.h"
#include "checks/Iban.h"
#include "checks/PartitaIVA.h"
#include "export/ExportScreen.h"
#include "import/Importa.h"
#include "records/SupplierRecord.h"
#include "search/ArchiveSearchScreen.h"
#include "storage/TextForms.h"
#include "suppliers/RicontattaFor.h"
#include "suppliers/SupplierCard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

const CardSpec &supplierConfig()
{
    using namespace SupplierRecord;
    static const CardSpec config {
        .id = CardId::Supplier,
        .archive = &SupplierRecord::archive,
        .accessErrorKind = Notice::Kind::Error,
        .newRecord = &SupplierCard::newSupplier,
        .firstField = QStringLiteral("txtDitta"),
        // The attached files belong to the record duplicated, not to the copy.
        .duplicaEmpties = { File01, File02, File03, Desc01, Desc02, Desc03 },
        .enterRing = { QStringLiteral("txtDitta"), QStringLiteral("txtTitolare"),
            QStringLiteral("txtRecapito"), QStringLiteral("txtIndirizzoRes"),
            QStringLiteral("txtProvRes"), QStringLiteral("txtComuneRes"),
            QStringLiteral("txtCapRes"), QStringLiteral("txtPagamento"),
            QStringLiteral("txtTelCasa"), QStringLiteral("txtTelUff"), QStringLiteral("txtTelCel"),
            QStringLiteral("txtFax"), QStringLiteral("txtEmail"), QStringLiteral("txtCodFisc"),
            QStringLiteral("txtCarta"), QStringLiteral("txtScadeCarta"),
            QStringLiteral("txtPartitaIva"), QStringLiteral("txtIban"),
            QStringLiteral("txtArticoli"), QStringLiteral("txtOfferte"),
            QStringLiteral("txtOrdine"), QStringLiteral("txtQuestioni"), QStringLiteral("txtNote"),
            QStringLiteral("txtDitta") },
        // Card and VAT numbers take digits only, kept as typed when the field is left.
        .digitFields = { QStringLiteral("txtCarta"), QStringLiteral("txtPartitaIva") },
        .upperCaseFields = { QStringLiteral("txtCodFisc"), QStringLiteral("txtIban"),
            QStringLiteral("txtProvRes") },
        .trimmedFields = { QStringLiteral("txtEmail") },
        .hints = {
            { QStringLiteral("cmdRicontatta"),
                QStringLiteral("Visualizza l'elenco dei Fornitori da ricontattare.") },
            { QStringLiteral("chkRicontatta"),
                QStringLiteral("Annota che il Fornitore è da ricontattare per questioni in "
                               "sospeso.") },
        },
        .background = { QStringLiteral("panContainer"), QStringLiteral("shpContainer"),
            QStringLiteral("shpSezione01"), QStringLiteral("shpSezione02"),
            QStringLiteral("shpSezione03"), QStringLiteral("shpSezione04"),
            QStringLiteral("shpSezione05"), QStringLiteral("imgSezione01"),
            QStringLiteral("imgSezione02"), QStringLiteral("imgSezione03"),
            QStringLiteral("imgSezione04"), QStringLiteral("imgSezione05"),
            QStringLiteral("panControlli"), QStringLiteral("shpFrecce"),
            QStringLiteral("lblPosizione") },
        // A record of an older archive whose flag is neither text shows the box unchecked:
        // keeping the previous supplier's flag would show, and save, someone else's.
        .binding = { .unbound = {},
            .checks = { { QStringLiteral("Ricontatta"),
                         { SupplierCard::recontactText(true), SupplierCard::recontactText(false),
                             CardBinding::OtherText::Unchecked } } } },
        .saveCheck = &SupplierCard::saveCheck,
        .printContent = &SupplierCard::cardContent,
        .pdfName = QStringLiteral("Fornitore.pdf"),
        .find = &ArchiveSearchScreen::open,
        .attach = &TfrmAllegaCartella::openFor,
        .exportArchive = &ExportScreen::open,
        .importArchive = &TfrmImporta::open,
    };
    return config;
}

} // namespace

TfrmFornitori::TfrmFornitori(QWidget *parent)
    : CardScreen(supplierConfig(), parent)
    , m_ui(std::make_unique<Ui::TfrmFornitori>())
{
    m_ui->setupUi(this);
    Provinces::setUpBox(m_ui->txtProvRes);
    setUpCard();
    fieldEntry()->setLeavingRule(QStringLiteral("txtEmail"),
        [](QLineEdit *edit) { edit->setText(TrimControl(edit->text())); });
    // Fonts, style sheets and pictures when the card is first shown: it is created at
    // start-up.
    Widgets::onFirstPolish(this, [this] { setupLooks(); });
    wireButtons<TfrmFornitori>({
        { "cmdRicontatta", &TfrmFornitori::cmdRicontattaClick },
        { "btnEmail", &TfrmFornitori::btnEmailClick },
        { "btnCodFisc", &TfrmFornitori::btnCodFiscClick },
        { "btnPartitaIva", &TfrmFornitori::btnPartitaIvaClick },
        { "btnIban", &TfrmFornitori::btnIbanClick },
        { "btnCarta", &TfrmFornitori::btnCartaClick },
    });
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
}

QString TfrmFornitori::trimmedText(int field) const
{
    return TrimControl(binding().text(field));
}

void TfrmFornitori::cmdRicontattaClick()
{
    TfrmRicontattaFor list(this);
    list.exec();
}

void TfrmFornitori::btnEmailClick()
{
    TMisc::OpenOrSay(this, TMisc::mailto(m_ui->txtEmail->text()));
}

void TfrmFornitori::btnCodFiscClick()
{
    checkCodeField(this, trimmedText(SupplierRecord::CodFisc));
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
