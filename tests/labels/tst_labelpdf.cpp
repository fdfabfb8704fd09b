#include "app/OpenURL.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/TempProgramFolder.h"
#include "labels/Etichette.h"
#include "labels/LabelSheet.h"
#include "labels/ZintBarcode.h"
#include "records/ProductRecord.h"
#include "report/ReportPreview.h"
#include "report/ReportRenderer.h"
#include "storage/Record.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

Record product(const QString &code, const QString &stock = QStringLiteral("1"))
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, code);
    r.setValue(ProductRecord::Descrizione, QStringLiteral("Articolo ") + code);
    r.setValue(ProductRecord::Prezzo_con_Iva, QStringLiteral("12,2"));
    r.setValue(ProductRecord::Giacenza, stock);
    return r;
}

// The codes a barcode reader finds on every page of a PDF, page by page, sorted.
QList<QStringList> readBack(const QString &pdf, const QString &workDir)
{
    QList<QStringList> pages;
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
        { QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"),
            QStringLiteral("-png"), pdf, workDir + QStringLiteral("/page") });
    if (!render.waitForFinished(120000) || render.exitCode() != 0)
        return pages;
    QDir dir(workDir);
    const QStringList images
        = dir.entryList({ QStringLiteral("page*.png") }, QDir::Files, QDir::Name);
    for (const QString &image : images) {
        QProcess reader;
        // UPC-A read back as itself, not as the EAN-13 with a leading zero.
        reader.start(QStringLiteral("zbarimg"),
            { QStringLiteral("-q"), QStringLiteral("--raw"), QStringLiteral("-Supca.enable"),
                dir.filePath(image) });
        reader.waitForFinished(120000);
        QStringList codes
            = QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        codes.sort();
        pages.append(codes);
    }
    return pages;
}

bool toolsPresent()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty();
}

// Enough labels for the work to take a while: the window handles its events many times
// while it lays them out and paints their pages.
QList<Labels::Product> manyProducts()
{
    QList<Labels::Product> products;
    for (int i = 0; i < 1500; ++i)
        products << Labels::productOf(product(QStringLiteral("PN-%1").arg(i)));
    return products;
}

// Presses Annulla of a running labels screen as soon as its progress bar reaches from
// (the products are counted first, then the pages), and says what the folder held then.
class CancelAt : public QObject
{
public:
    CancelAt(TfrmEtichette &screen, int from, const QString &folder)
        : m_screen(screen)
        , m_from(from)
        , m_folder(folder)
    {
        auto *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &CancelAt::check);
        timer->start(0);
    }
    bool pressed = false;
    int valueWhenPressed = -1;
    QStringList folderWhenPressed;

private:
    void check()
    {
        auto *bar = m_screen.findChild<QProgressBar *>(QStringLiteral("prgEtichette"));
        auto *cancel = m_screen.findChild<QPushButton *>(QStringLiteral("btnAnnulla"));
        if (pressed || !m_screen.isRunning() || bar->value() < m_from)
            return;
        pressed = true;
        valueWhenPressed = bar->value();
        folderWhenPressed = QDir(m_folder).entryList(QDir::Files);
        QVERIFY(bar->isVisibleTo(&m_screen));
        QVERIFY(cancel->isVisibleTo(&m_screen) && cancel->isEnabled());
        QVERIFY(!m_screen.findChild<QPushButton *>(QStringLiteral("btnPdf"))->isEnabled());
        QTest::mouseClick(cancel, Qt::LeftButton);
    }

    TfrmEtichette &m_screen;
    int m_from;
    QString m_folder;
};

// Counts the windows of a class (by default the preview) shown, and closes them.
class PreviewWatch : public QObject
{
public:
    explicit PreviewWatch(const char *className = "ReportPreviewDialog")
        : m_className(className)
    {
        qApp->installEventFilter(this);
    }
    ~PreviewWatch() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->inherits(m_className)) {
            ++shown;
            if (auto *dialog = qobject_cast<QDialog *>(watched))
                QTimer::singleShot(0, dialog, &QDialog::reject);
        }
        return false;
    }

private:
    const char *m_className;
};

} // namespace

class TestLabelPdf : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void barcodesReadBack_data();
    void barcodesReadBack();
    void encoderKeepsTheQuietZonesInside();
    void screenWritesThePdfAndAsks();
    void unwritablePdfIsAWarning();
    void previewNamesTheLabelsWithoutBarcode();
    void optionsFollowTheFormat();
    void cancelledPdfKeepsTheOldFile_data();
    void cancelledPdfKeepsTheOldFile();
    void cancelledPreviewShowsNothing_data();
    void cancelledPreviewShowsNothing();
    void cancelledPrintOpensNoPrintDialog();
};

void TestLabelPdf::init()
{
    if (!toolsPresent())
        QFAIL("pdftoppm (poppler-utils) and zbarimg (zbar-tools) are needed: run scripts/setup");
}

void TestLabelPdf::barcodesReadBack_data()
{
    QTest::addColumn<int>("format");
    for (int i = 0; i < Labels::formats().size(); ++i)
        QTest::newRow(qPrintable(Labels::formats()[i].name)) << i;
}

void TestLabelPdf::barcodesReadBack()
{
    QFETCH(int, format);
    const QStringList codes = { QStringLiteral("8001234567897"), QStringLiteral("96385074"),
        QStringLiteral("036000291452"), QStringLiteral("PN-000123"), QStringLiteral("ab-12"),
        QStringLiteral("8001234567890"), QStringLiteral("4006381333931"), QStringLiteral("X9") };
    QList<Labels::Product> products;
    for (const QString &code : codes)
        products << Labels::productOf(product(code));
    // A code with no barcode among them: it is printed, and read back by nobody.
    products << Labels::productOf(product(QStringLiteral("CAFÈ")));
    Labels::Options o;
    o.format = format;
    // One label a product: a reader gives each distinct code of a page once.
    o.copies = 1;
    o.firstLabel = 2;
    const Labels::Sheets sheets = Labels::build(products, o, ZintBarcode::encode);
    QCOMPARE(sheets.withoutBarcode, QStringList { QStringLiteral("CAFÈ") });

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("Etichette.pdf"));
    QVERIFY(Report::exportPdf(sheets.report, pdf));
    const QList<QStringList> pages = readBack(pdf, dir.path());
    QCOMPARE(pages.size(), sheets.report.pageCount());
    QStringList read;
    for (const QStringList &page : pages)
        read << page;
    read.sort();
    QStringList expected = codes;
    expected.sort();
    QCOMPARE(read, expected);
}

void TestLabelPdf::encoderKeepsTheQuietZonesInside()
{
    // The bars start after the left quiet zone (11 modules for EAN-13) and the digit
    // before them sits in it.
    const auto shape = ZintBarcode::encode(Barcode::Symbology::Ean13, u"8001234567897"_qs, 60, 20);
    QVERIFY(shape);
    QCOMPARE(shape->width, 113 * 0.33);
    double left = shape->width;
    for (const QRectF &bar : shape->bars)
        left = std::min(left, bar.left());
    QCOMPARE(left, 11 * 0.33);
    QCOMPARE(shape->texts.size(), 3);
    QCOMPARE(shape->texts.front().text, QStringLiteral("8"));
    QVERIFY(shape->texts.front().x < left);
    QVERIFY(shape->height <= 20 + 1e-9);
    // Too long for the smallest label at a readable module width: no barcode.
    QVERIFY(!ZintBarcode::encode(Barcode::Symbology::Code128, QString(30, u'W'), 43.5, 12));
    QVERIFY(!ZintBarcode::encode(Barcode::Symbology::Ean13, u"8001234567890"_qs, 60, 20));
}

void TestLabelPdf::screenWritesThePdfAndAsks()
{
    TempProgramFolder folder;
    MessageRecorder messages(Messages::Answer::Yes);
    QList<QUrl> opened;
    TMisc::setOpener([&opened](const QUrl &url) { opened << url; });
    TfrmEtichette screen({ Labels::productOf(product(QStringLiteral("8001234567897"))) }, false);
    QCOMPARE(screen.objectName(), QStringLiteral("TfrmEtichette"));
    QVERIFY(!screen.findChild<QCheckBox *>(QStringLiteral("chkGiacenza"))->isVisibleTo(&screen));
    screen.findChild<QSpinBox *>(QStringLiteral("spnCopie"))->setValue(3);
    QTest::mouseClick(screen.findChild<QPushButton *>(QStringLiteral("btnPdf")), Qt::LeftButton);
    TMisc::setOpener({});
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Confirmation);
    const QString pdf = folder.filePath(QStringLiteral("Etichette.pdf"));
    QCOMPARE(messages.lastText(),
        QStringLiteral("L'esportazione delle etichette in PDF è terminata con successo.\r\n\r\n"
                       "Il file è stato salvato in:\r\n")
            + QDir::toNativeSeparators(pdf) + QStringLiteral("\r\n\r\nSi vuole aprire il file?"));
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.front().toLocalFile(), pdf);
    QTemporaryDir work;
    const QList<QStringList> pages = readBack(pdf, work.path());
    QCOMPARE(pages, (QList<QStringList> { { QStringLiteral("8001234567897") } }));
    QCOMPARE(screen.sheets().labels, 3);
}

void TestLabelPdf::unwritablePdfIsAWarning()
{
    TempProgramFolder folder;
    MessageRecorder messages;
    // A folder in the place of the file: the file cannot be written there.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Etichette.pdf")));
    TfrmEtichette screen({ Labels::productOf(product(QStringLiteral("PN-1"))) }, false);
    QTest::mouseClick(screen.findChild<QPushButton *>(QStringLiteral("btnPdf")), Qt::LeftButton);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QVERIFY(messages.lastText().startsWith(
        QStringLiteral("Attenzione: impossibile salvare le etichette in PDF nel file")));
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Etichette.pdf"))).isDir());
}

void TestLabelPdf::previewNamesTheLabelsWithoutBarcode()
{
    TempProgramFolder folder;
    MessageRecorder messages;
    TfrmEtichette screen({ Labels::productOf(product(QStringLiteral("PN-1"))),
                             Labels::productOf(product(QStringLiteral("€-5"))) },
        true);
    QString note;
    bool shown = false;
    onNextModal([&](QWidget *modal) {
        shown = qobject_cast<ReportPreviewDialog *>(modal) != nullptr;
        if (auto *label = modal->findChild<QLabel *>(QStringLiteral("lblNota")))
            note = label->isVisibleTo(modal) ? label->text() : QString();
    });
    QTest::mouseClick(
        screen.findChild<QPushButton *>(QStringLiteral("btnAnteprima")), Qt::LeftButton);
    QVERIFY(shown);
    QVERIFY2(note.contains(QStringLiteral("€-5")), qPrintable(note));
    QVERIFY(!note.contains(QStringLiteral("PN-1")));
    QCOMPARE(messages.count(), 0);
}

void TestLabelPdf::optionsFollowTheFormat()
{
    TempProgramFolder folder;
    MessageRecorder messages;
    TfrmEtichette screen({ Labels::productOf(product(QStringLiteral("PN-1"), u"4"_qs)),
                             Labels::productOf(product(QStringLiteral("PN-2"), u"0"_qs)) },
        true);
    auto *format = screen.findChild<QComboBox *>(QStringLiteral("cboFormato"));
    auto *first = screen.findChild<QSpinBox *>(QStringLiteral("spnPrima"));
    auto *copies = screen.findChild<QSpinBox *>(QStringLiteral("spnCopie"));
    auto *stock = screen.findChild<QCheckBox *>(QStringLiteral("chkGiacenza"));
    QVERIFY(screen.findChild<QCheckBox *>(QStringLiteral("chkPrezzo"))->isChecked());
    QCOMPARE(format->count(), 5);
    QCOMPARE(copies->minimum(), 1);
    QCOMPARE(copies->maximum(), 999);
    format->setCurrentIndex(3);
    QCOMPARE(first->maximum(), 40);
    first->setValue(40);
    copies->setValue(2);
    QCOMPARE(screen.sheets().labels, 4);
    QCOMPARE(screen.sheets().report.pageCount(), 2);
    stock->setChecked(true);
    QVERIFY(!copies->isEnabled());
    QCOMPARE(screen.sheets().labels, 4);
    format->setCurrentIndex(4);
    QCOMPARE(first->maximum(), 1);
    QCOMPARE(screen.sheets().report.pageCount(), 4);
    // No label at all: a warning, and nothing written.
    TfrmEtichette empty({ Labels::productOf(product(QStringLiteral("PN-2"), u"0"_qs)) }, true);
    empty.findChild<QCheckBox *>(QStringLiteral("chkGiacenza"))->setChecked(true);
    QTest::mouseClick(empty.findChild<QPushButton *>(QStringLiteral("btnPdf")), Qt::LeftButton);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("Etichette.pdf"))));
}

void TestLabelPdf::cancelledPdfKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("painting"); // stopped while painting pages, or laying out
    QTest::newRow("while laying out") << false;
    QTest::newRow("while painting the pages") << true;
}

void TestLabelPdf::cancelledPdfKeepsTheOldFile()
{
    QFETCH(bool, painting);
    TempProgramFolder folder;
    MessageRecorder messages(Messages::Answer::No);
    const QByteArray old = QByteArrayLiteral("%PDF-1.4 the labels of yesterday\n%%EOF\n");
    {
        QFile f(folder.filePath(QStringLiteral("Etichette.pdf")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(old), old.size());
    }
    const QList<Labels::Product> products = manyProducts();
    TfrmEtichette screen(products, true);
    CancelAt cancel(screen, painting ? int(products.size()) + 1 : 0, folder.path());
    QTest::mouseClick(screen.findChild<QPushButton *>(QStringLiteral("btnPdf")), Qt::LeftButton);
    QVERIFY(cancel.pressed);
    // Stopped in the phase the row names: painting, the new file was being written (as a
    // temporary file beside the old one, or one without a name where the system has them).
    QCOMPARE(cancel.valueWhenPressed > products.size(), painting);
    QVERIFY(cancel.folderWhenPressed.contains(QStringLiteral("Etichette.pdf")));
    QVERIFY(!screen.isRunning());
    QCOMPARE(folder.readAll(QStringLiteral("Etichette.pdf")), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("Etichette.pdf") });
    QCOMPARE(messages.count(), 0);
    QCOMPARE(screen.findChild<QLabel *>(QStringLiteral("lblAvanzamento"))->text(),
        TfrmEtichette::pdfCancelledText());
    QVERIFY(
        !screen.findChild<QProgressBar *>(QStringLiteral("prgEtichette"))->isVisibleTo(&screen));
    QVERIFY(!screen.findChild<QPushButton *>(QStringLiteral("btnAnnulla"))->isVisibleTo(&screen));
    QVERIFY(screen.findChild<QPushButton *>(QStringLiteral("btnPdf"))->isEnabled());
    QVERIFY(screen.findChild<QComboBox *>(QStringLiteral("cboFormato"))->isEnabled());
    // Not stopped, the same button writes the file.
    TfrmEtichette one({ products.front() }, false);
    QTest::mouseClick(one.findChild<QPushButton *>(QStringLiteral("btnPdf")), Qt::LeftButton);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Confirmation);
    QVERIFY(folder.readAll(QStringLiteral("Etichette.pdf")).startsWith("%PDF-"));
    QVERIFY(folder.readAll(QStringLiteral("Etichette.pdf")) != old);
}

void TestLabelPdf::cancelledPreviewShowsNothing_data()
{
    QTest::addColumn<bool>("painting");
    QTest::newRow("while laying out") << false;
    QTest::newRow("while painting the pages") << true;
}

void TestLabelPdf::cancelledPreviewShowsNothing()
{
    QFETCH(bool, painting);
    TempProgramFolder folder;
    MessageRecorder messages;
    PreviewWatch previews;
    const QList<Labels::Product> products = manyProducts();
    TfrmEtichette screen(products, true);
    {
        CancelAt cancel(screen, painting ? int(products.size()) + 1 : 0, folder.path());
        QTest::mouseClick(
            screen.findChild<QPushButton *>(QStringLiteral("btnAnteprima")), Qt::LeftButton);
        QVERIFY(cancel.pressed);
        QCOMPARE(cancel.valueWhenPressed > products.size(), painting);
    }
    QCOMPARE(previews.shown, 0);
    QCOMPARE(messages.count(), 0);
    QVERIFY(!screen.isRunning());
    QCOMPARE(screen.findChild<QLabel *>(QStringLiteral("lblAvanzamento"))->text(),
        TfrmEtichette::previewCancelledText());
    QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    // Not stopped, the preview shows.
    QTest::mouseClick(
        screen.findChild<QPushButton *>(QStringLiteral("btnAnteprima")), Qt::LeftButton);
    QCOMPARE(previews.shown, 1);
    QCOMPARE(screen.findChild<QLabel *>(QStringLiteral("lblAvanzamento"))->text(), QString());
}

void TestLabelPdf::cancelledPrintOpensNoPrintDialog()
{
    TempProgramFolder folder;
    MessageRecorder messages;
    PreviewWatch printDialogs("QPrintDialog");
    const QList<Labels::Product> products = manyProducts();
    TfrmEtichette screen(products, true);
    CancelAt cancel(screen, 0, folder.path());
    QTest::mouseClick(screen.findChild<QPushButton *>(QStringLiteral("btnStampa")), Qt::LeftButton);
    QVERIFY(cancel.pressed);
    QCOMPARE(printDialogs.shown, 0);
    QCOMPARE(messages.count(), 0);
    QVERIFY(!screen.isRunning());
    QCOMPARE(screen.findChild<QLabel *>(QStringLiteral("lblAvanzamento"))->text(),
        TfrmEtichette::printCancelledText());
}

QTEST_MAIN(TestLabelPdf)
#include "tst_labelpdf.moc"
