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
#include "storage/Storage.h"
#include "storage/TextForms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QPdfWriter>
#include <QPointer>
#include <QPrinter>

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

// How often a long work lets the window handle its events (repaint, Annulla).
constexpr int kEventsEveryMs = 25;
// The steps of a work on the bar: laying out a label is one, painting one about sixteen
// (as measured for the PDF); a page counts for its labels painted.
constexpr qint64 kPageWeightPerLabel = 16;
// The most units the bar counts in.
constexpr qint64 kBarUnits = 1000000000;

} // namespace

// A long work of the screen from start to end: the options and the buttons are off, the
// progress bar and Annulla are on; all back as they were at the end.
class TfrmEtichette::Running
{
public:
    Running(TfrmEtichette *screen, qint64 total)
        : m_screen(screen)
        , m_focus(QApplication::focusWidget())
    {
        Ui::TfrmEtichette &ui = *screen->m_ui;
        screen->m_running = true;
        screen->m_cancel = false;
        screen->m_sinceEvents.invalidate();
        for (QWidget *w : controls(ui))
            w->setEnabled(false);
        setTotal(total);
        ui.prgEtichette->setValue(0);
        ui.prgEtichette->show();
        ui.btnAnnulla->setEnabled(true);
        ui.btnAnnulla->show();
        ui.btnAnnulla->setFocus(Qt::OtherFocusReason);
        ui.lblAvanzamento->setText(QStringLiteral("Preparazione delle etichette in corso..."));
    }
    ~Running() { finish(); }
    Running(const Running &) = delete;
    Running &operator=(const Running &) = delete;

    // The bar's range in steps of the work; a huge work moves it by many steps at a time.
    void setTotal(qint64 total)
    {
        m_screen->m_stepsPerUnit = total / kBarUnits + 1;
        m_screen->m_ui->prgEtichette->setRange(
            0, int(std::max<qint64>(total / m_screen->m_stepsPerUnit, 1)));
    }
    // The work is over (the window it opens next, a preview or a question, comes after).
    void finish(const QString &said = QString())
    {
        if (!m_screen->m_running)
            return;
        Ui::TfrmEtichette &ui = *m_screen->m_ui;
        m_screen->m_running = false;
        ui.prgEtichette->hide();
        ui.btnAnnulla->hide();
        for (QWidget *w : controls(ui))
            w->setEnabled(true);
        ui.spnCopie->setEnabled(!(m_screen->m_forList && ui.chkGiacenza->isChecked()));
        m_screen->cboFormatoChange();
        ui.lblAvanzamento->setText(said);
        m_screen->growToFit();
        if (m_focus && m_focus->isEnabled())
            m_focus->setFocus(Qt::OtherFocusReason);
    }

private:
    static QList<QWidget *> controls(Ui::TfrmEtichette &ui)
    {
        return { ui.cboFormato, ui.spnCopie, ui.chkGiacenza, ui.spnPrima, ui.chkPrezzo,
            ui.btnAnteprima, ui.btnStampa, ui.btnPdf, ui.btnChiudi, ui.imgGuida };
    }

    TfrmEtichette *m_screen;
    QPointer<QWidget> m_focus;
};

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
    connect(m_ui->btnAnnulla, &QPushButton::clicked, this, &TfrmEtichette::btnAnnullaClick);
    connect(m_ui->btnChiudi, &QPushButton::clicked, this, &TfrmEtichette::btnChiudiClick);
    // The bar and Annulla show only while a work runs; their room stays, so the window
    // does not change its size.
    for (QWidget *w :
        { static_cast<QWidget *>(m_ui->prgEtichette), static_cast<QWidget *>(m_ui->btnAnnulla) }) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
        w->hide();
    }
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
    std::optional<QList<Labels::Product>> products;
    Storage::Failure failure = Storage::Failure::None;
    if (const auto archive
        = Storage::open(ProductRecord::archive(), Storage::Access::ReadOnly, nullptr, &failure)) {
        products = Labels::productsOfLines(*archive, lines, lineOf);
        if (!products)
            failure = archive->failure();
    }
    if (!products) {
        Messages::warning(parent, Storage::failureText(failure));
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

void TfrmEtichette::growToFit()
{
    // The lines under the options wrap: their height depends on the window's width.
    const int wanted = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width())
                                                     : sizeHint().height();
    if (isVisible() && height() < wanted)
        resize(width(), wanted);
}

int TfrmEtichette::labelCount() const
{
    const Labels::Options o = options();
    int labels = 0;
    for (const Labels::Product &p : std::as_const(m_products))
        labels += Labels::labelCount(p.stock, o.copies, o.onePerPiece);
    return labels;
}

void TfrmEtichette::updateSummary()
{
    const Labels::Options o = options();
    const Labels::Format &format = Labels::formats().at(std::max(o.format, 0));
    const int labels = labelCount();
    const QList<Labels::Placement> places = Labels::place(format, labels, o.firstLabel - 1);
    const int pages = places.isEmpty() ? 0 : places.back().page + 1;
    m_ui->lblRiepilogo->setText(QStringLiteral("Da stampare: %1 su %2.")
                                    .arg(counted(labels, "etichetta", "etichette"),
                                        counted(pages, format.perPage() > 1 ? "foglio" : "pagina",
                                            format.perPage() > 1 ? "fogli" : "pagine")));
}

QString TfrmEtichette::previewCancelledText()
{
    return QStringLiteral("Anteprima annullata.");
}

QString TfrmEtichette::printCancelledText()
{
    return QStringLiteral("Stampa annullata: nessuna pagina è stata inviata alla stampante.");
}

QString TfrmEtichette::printInterruptedText()
{
    return QStringLiteral("Stampa interrotta: il sistema di stampa non permette di ritirare il "
                          "lavoro già avviato, le pagine preparate fino all'interruzione "
                          "potrebbero essere stampate.");
}

QString TfrmEtichette::pdfCancelledText()
{
    return QStringLiteral("Creazione del PDF annullata: il file %1 non è stato modificato.")
        .arg(pdfFileName());
}

qint64 TfrmEtichette::pageWeight() const
{
    return kPageWeightPerLabel * Labels::formats().at(std::max(options().format, 0)).perPage();
}

qint64 TfrmEtichette::workSteps(qint64 pages) const
{
    return m_products.size() + pages * pageWeight();
}

int TfrmEtichette::pageCount() const
{
    const Labels::Options o = options();
    const int perPage = std::max(Labels::formats().at(std::max(o.format, 0)).perPage(), 1);
    const int labels = labelCount();
    if (labels == 0)
        return 0;
    const int first = o.firstLabel - 1 < perPage ? std::max(o.firstLabel - 1, 0) : 0;
    return int((qint64(labels) + first + perPage - 1) / perPage);
}

bool TfrmEtichette::step(qint64 steps)
{
    m_ui->prgEtichette->setValue(
        int(std::min<qint64>(steps / m_stepsPerUnit, m_ui->prgEtichette->maximum())));
    // Painting a page or laying out a product is short: the window's events (the bar's
    // repaint, a press of Annulla) are handled every few milliseconds, not at every step.
    if (!m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= kEventsEveryMs) {
        QApplication::processEvents();
        m_sinceEvents.start();
    }
    return !m_cancel;
}

bool TfrmEtichette::readyToStart()
{
    if (m_running)
        return false;
    if (labelCount() == 0) {
        Messages::warning(this, noLabelsText());
        return false;
    }
    return true;
}

std::optional<Labels::Sheets> TfrmEtichette::sheetsToPrint(
    Running &running, const QString &cancelledText)
{
    std::optional<Labels::Sheets> s = Labels::build(m_products, options(), ZintBarcode::encode,
        [this](qsizetype done, qsizetype) { return step(done); });
    if (!s) {
        running.finish(cancelledText);
        return std::nullopt;
    }
    m_ui->lblSenzaCodice->setText(Labels::withoutBarcodeText(s->withoutBarcode));
    growToFit();
    // The pages follow the products on the bar.
    running.setTotal(workSteps(s->report.pageCount()));
    return s;
}

void TfrmEtichette::btnAnteprimaClick()
{
    if (!readyToStart())
        return;
    Running running(this, workSteps(pageCount()));
    const std::optional<Labels::Sheets> s = sheetsToPrint(running, previewCancelledText());
    if (!s)
        return;
    ReportPreviewDialog preview(s->report, this);
    preview.setNote(Labels::withoutBarcodeText(s->withoutBarcode));
    const qint64 laidOut = m_products.size();
    // The pages are painted here, with the bar moving; stopped, the preview never shows.
    const qint64 weight = pageWeight();
    if (!preview.prepare([&](int done, int) { return step(laidOut + done * weight); })) {
        running.finish(m_cancel ? previewCancelledText() : QString());
        if (!m_cancel)
            Messages::warning(this,
                QStringLiteral("Attenzione: impossibile preparare l'anteprima delle etichette."));
        return;
    }
    running.finish();
    preview.exec();
}

void TfrmEtichette::btnStampaClick()
{
    if (!readyToStart())
        return;
    std::optional<Labels::Sheets> s;
    {
        // Laid out before the print dialog: stopped here, nothing reaches the printer.
        Running running(this, workSteps(pageCount()));
        s = sheetsToPrint(running, printCancelledText());
        if (!s)
            return;
    }
    QPrinter printer(QPrinter::HighResolution);
    Report::setUpPrinter(printer, s->report);
    bool stopped = false;
    Report::printWith(
        this, printer, s->report.pageCount(), [&](QPrinter &device, int first, int last) {
            const int pages = (first > 0 && last > 0) ? last - first + 1 : s->report.pageCount();
            Running running(this, pages);
            bool withdrawn = false;
            const bool done = Report::render(s->report, device, first, last, [&](int page, int) {
                if (step(page))
                    return true;
                // While the painter is still on: the job is withdrawn, not sent, where the
                // printing system allows it.
                withdrawn = device.abort();
                stopped = true;
                return false;
            });
            running.finish(
                stopped ? (withdrawn ? printCancelledText() : printInterruptedText()) : QString());
            return done || stopped;
        });
}

void TfrmEtichette::btnPdfClick()
{
    if (!readyToStart())
        return;
    Running running(this, workSteps(pageCount()));
    const std::optional<Labels::Sheets> s = sheetsToPrint(running, pdfCancelledText());
    if (!s)
        return;
    const QString path = ProgramFolder::filePath(pdfFileName());
    const qint64 laidOut = m_products.size();
    const qint64 weight = pageWeight();
    // Written whole to a new file that takes the old one's place only when complete: a
    // stop or a failure leaves the old file as it was and no new one.
    const bool written = Report::writePdf(path, s->report.info, [&](QPdfWriter &writer) {
        return Report::render(
            s->report, writer, 0, 0, [&](int done, int) { return step(laidOut + done * weight); });
    });
    if (m_cancel) {
        running.finish(pdfCancelledText());
        return;
    }
    running.finish();
    // The file is written already; this says how it went and offers to open it.
    Report::saveAndAsk(this, path, QStringLiteral("le etichette in PDF"),
        QStringLiteral("L'esportazione delle etichette in PDF è terminata con successo."),
        [written](const QString &) { return written; });
}

void TfrmEtichette::btnAnnullaClick()
{
    if (m_running)
        m_cancel = true;
}

void TfrmEtichette::reject()
{
    if (m_running) {
        m_cancel = true;
        return;
    }
    QDialog::reject();
}

void TfrmEtichette::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        m_cancel = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmEtichette::btnChiudiClick()
{
    close();
}

void TfrmEtichette::imgGuidaClick()
{
    showHelpFor(this, QStringLiteral("TfrmEtichette"));
}
