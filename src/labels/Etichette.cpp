#include "labels/Etichette.h"

#include "ui_Etichette.h"

#include "app/Guida.h"
#include "app/Messages.h"
#include "app/Widgets.h"
#include "labels/ZintBarcode.h"
#include "records/ProductRecord.h"
#include "report/ReportPreview.h"
#include "report/ReportRenderer.h"
#include "report/SaveAndAsk.h"
#include "storage/ProgramFolder.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QFont>

namespace {

QString noLabelsText()
{
    return QStringLiteral("Attenzione: con le scelte fatte non c'è alcuna etichetta da stampare.");
}

// "1 foglio", "3 fogli"; "1 etichetta", "24 etichette".
QString counted(int n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

} // namespace

TfrmEtichette::TfrmEtichette(const QList<Labels::Product> &products, bool forList, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TfrmEtichette>())
    , m_products(products)
    , m_forList(forList)
{
    m_ui->setupUi(this);
    Widgets::applyItalianConventions(this);
    QFont screenFont(QStringLiteral("Tahoma"));
    screenFont.setPointSize(10);
    setFont(screenFont);
    QFont titleFont = screenFont;
    titleFont.setPointSize(13);
    titleFont.setBold(true);
    m_ui->titEtichette->setFont(titleFont);
    Widgets::makeImageButton(m_ui->imgGuida, QStringLiteral("help-browser.png"));

    for (const Labels::Format &format : Labels::formats())
        m_ui->cboFormato->addItem(format.name);
    m_ui->chkGiacenza->setVisible(forList);
    m_ui->spnCopie->setValue(1);
    m_ui->lblArticoli->setText(products.size() == 1
            ? QStringLiteral("Articolo: %1 - %2")
                  .arg(products.front().content.code, products.front().content.description)
            : QStringLiteral("Articoli in elenco: %1").arg(products.size()));

    connect(
        m_ui->cboFormato, &QComboBox::currentIndexChanged, this, &TfrmEtichette::cboFormatoChange);
    connect(m_ui->spnCopie, &QSpinBox::valueChanged, this, &TfrmEtichette::updateSummary);
    connect(m_ui->spnPrima, &QSpinBox::valueChanged, this, &TfrmEtichette::updateSummary);
    connect(m_ui->chkGiacenza, &QCheckBox::toggled, this, [this](bool on) {
        m_ui->spnCopie->setEnabled(!on);
        updateSummary();
    });
    connect(m_ui->btnAnteprima, &QPushButton::clicked, this, &TfrmEtichette::btnAnteprimaClick);
    connect(m_ui->btnStampa, &QPushButton::clicked, this, &TfrmEtichette::btnStampaClick);
    connect(m_ui->btnPdf, &QPushButton::clicked, this, &TfrmEtichette::btnPdfClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmEtichette::btnChiudiClick);
    connect(m_ui->imgGuida, &QToolButton::clicked, this, &TfrmEtichette::imgGuidaClick);
    cboFormatoChange();
}

TfrmEtichette::~TfrmEtichette() = default;

void TfrmEtichette::openForProduct(QWidget *parent, const Record &product)
{
    const Labels::Product p = Labels::productOf(product);
    if (p.content.code.isEmpty()) {
        Messages::warning(parent,
            QStringLiteral("Attenzione: per stampare le etichette è necessario indicare il "
                           "codice articolo."));
        return;
    }
    TfrmEtichette dialog({ p }, false, parent);
    dialog.exec();
}

void TfrmEtichette::openForList(QWidget *parent, const QStringList &lines,
    const std::function<QString(QByteArrayView recordBytes)> &lineOf)
{
    if (lines.isEmpty()) {
        Messages::warning(parent, QStringLiteral("Attenzione: nessun articolo in elenco."));
        return;
    }
    RecordFile file;
    std::optional<QList<Labels::Product>> products;
    if (file.open(ProductRecord::archive(), RecordFile::Access::ReadOnly))
        products = Labels::productsOfLines(file, lines, lineOf);
    file.close();
    if (!products) {
        Messages::warning(parent, accessErrorText());
        return;
    }
    if (products->isEmpty()) {
        Messages::warning(parent,
            QStringLiteral("Attenzione: gli articoli in elenco non sono più in archivio così "
                           "come sono elencati. Aggiornare l'elenco e riprovare."));
        return;
    }
    TfrmEtichette dialog(*products, true, parent);
    dialog.exec();
}

Labels::Options TfrmEtichette::options() const
{
    Labels::Options o;
    o.format = m_ui->cboFormato->currentIndex();
    o.copies = m_ui->spnCopie->value();
    o.onePerPiece = m_forList && m_ui->chkGiacenza->isChecked();
    o.firstLabel = m_ui->spnPrima->value();
    o.price = m_ui->chkPrezzo->isChecked();
    return o;
}

Labels::Sheets TfrmEtichette::sheets() const
{
    return Labels::build(m_products, options(), ZintBarcode::encode);
}

void TfrmEtichette::cboFormatoChange()
{
    const int index = std::max(m_ui->cboFormato->currentIndex(), 0);
    const int perPage = Labels::formats().at(index).perPage();
    m_ui->spnPrima->setMaximum(perPage);
    m_ui->spnPrima->setEnabled(perPage > 1);
    updateSummary();
}

void TfrmEtichette::updateSummary()
{
    const Labels::Options o = options();
    const Labels::Format &format = Labels::formats().at(std::max(o.format, 0));
    int labels = 0;
    for (const Labels::Product &p : std::as_const(m_products))
        labels += Labels::labelCount(p.stock, o.copies, o.onePerPiece);
    const QList<Labels::Placement> places = Labels::place(format, labels, o.firstLabel - 1);
    const int pages = places.isEmpty() ? 0 : places.back().page + 1;
    m_ui->lblRiepilogo->setText(QStringLiteral("Da stampare: %1 su %2.")
                                    .arg(counted(labels, "etichetta", "etichette"),
                                        counted(pages, format.perPage() > 1 ? "foglio" : "pagina",
                                            format.perPage() > 1 ? "fogli" : "pagine")));
}

std::optional<Labels::Sheets> TfrmEtichette::sheetsToPrint()
{
    Labels::Sheets s = sheets();
    m_ui->lblSenzaCodice->setText(Labels::withoutBarcodeText(s.withoutBarcode));
    if (s.labels == 0) {
        Messages::warning(this, noLabelsText());
        return std::nullopt;
    }
    return s;
}

void TfrmEtichette::btnAnteprimaClick()
{
    const std::optional<Labels::Sheets> s = sheetsToPrint();
    if (!s)
        return;
    ReportPreviewDialog preview(s->report, this);
    preview.setNote(Labels::withoutBarcodeText(s->withoutBarcode));
    preview.exec();
}

void TfrmEtichette::btnStampaClick()
{
    if (const std::optional<Labels::Sheets> s = sheetsToPrint())
        Report::print(this, s->report);
}

void TfrmEtichette::btnPdfClick()
{
    const std::optional<Labels::Sheets> s = sheetsToPrint();
    if (!s)
        return;
    Report::saveAndAsk(this, ProgramFolder::filePath(pdfFileName()),
        QStringLiteral("le etichette in PDF"),
        QStringLiteral("L'esportazione delle etichette in PDF è terminata con successo."),
        [&s](const QString &path) { return Report::exportPdf(s->report, path); });
}

void TfrmEtichette::btnChiudiClick()
{
    close();
}

void TfrmEtichette::imgGuidaClick()
{
    showHelpFor(this, QStringLiteral("TfrmEtichette"));
}
