#include "app/OpenURL.h"
#include "catalogue/ProductCardReport.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/TempProgramFolder.h"
#include "records/ProductRecord.h"
#include "report/CardReport.h"
#include "report/ListContent.h"
#include "report/ListReport.h"
#include "report/ReportPreview.h"
#include "report/ReportRenderer.h"
#include "storage/Record.h"
#include "storage/TextForms.h"

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QDir>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QString runTool(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        qFatal("%s is missing: install poppler-utils", qPrintable(tool));
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(tool), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of a PDF as poppler reads it, page by page.
QStringList pdfPages(const QString &path)
{
    QStringList pages = runTool(QStringLiteral("pdftotext"),
        { QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path,
            QStringLiteral("-") })
                            .split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QStringList linesContaining(const QString &text, const QString &part)
{
    QStringList found;
    for (const QString &line : text.split(u'\n')) {
        if (line.contains(part))
            found.append(line);
    }
    return found;
}

Record sampleProduct(const QString &code)
{
    Record product(ProductRecord::layout());
    for (int field = 0; field < ProductRecord::layout().fieldCount(); ++field)
        product.setValue(field, QStringLiteral("v%1-%2").arg(field).arg(code));
    product.setValue(ProductRecord::Codice, code);
    product.setValue(ProductRecord::Sottoscorta, QStringLiteral("5"));
    product.setValue(ProductRecord::Note, QStringLiteral("Più è meglio: perché sì"));
    return product;
}

CardContent sampleCard(const QString &code)
{
    return productCardContent(
        sampleProduct(code), QStringLiteral("07/06/2024"), QStringLiteral("09:05:01"));
}

QStringList folderEntries(const QString &path)
{
    return QDir(path).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

class TestReportPdf : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void templateColours();
    void cardPdf();
    void longValueIsCut();
    void listPdfAcrossPages();
    void failedExportLeavesNothing_data();
    void failedExportLeavesNothing();
    void exportAndAsk_data();
    void exportAndAsk();
    void exportFailureWarnsWithoutQuestion();
    void secondExportReplacesFirst();
    void printDialog_data();
    void printDialog();
    void previewWindow();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    QList<QUrl> m_opened;
};

void TestReportPdf::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_opened.clear();
    TMisc::setOpener([this](const QUrl &url) { m_opened.append(url); });
    Clock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30)));
}

void TestReportPdf::cleanup()
{
    Clock::reset();
    TMisc::setOpener({});
    m_folder.reset();
}

void TestReportPdf::templateColours()
{
    for (const char *resource : { CardTemplate::kResource, ListTemplate::kResource }) {
        const auto t = Report::ReportTemplate::load(QString::fromLatin1(resource));
        QVERIFY(t);
        QList<Report::Item> items = t->pageItems();
        for (const Report::Band &band : t->bands())
            items += band.items;
        for (const Report::Item &it : std::as_const(items)) {
            QVERIFY2(QColor::fromString(it.color).isValid(), qPrintable(it.name));
            if (!it.fill.isEmpty())
                QVERIFY2(QColor::fromString(it.fill).isValid(), qPrintable(it.name));
        }
    }
    const auto list = Report::ReportTemplate::load(QString::fromLatin1(ListTemplate::kResource));
    QCOMPARE(QColor::fromString(list->findItem(u"txtTitolo")->fill), QColor(0x70, 0x80, 0x90));
}

void TestReportPdf::cardPdf()
{
    const CardContent card = sampleCard(QStringLiteral("ART-001"));
    const QString path = m_folder->filePath(QStringLiteral("Articolo.pdf"));
    QString error;
    QVERIFY2(CardReport::exportPdf(card, path, &error), qPrintable(error));

    const QStringList pages = pdfPages(path);
    QCOMPARE(pages.size(), 1);
    const QString text = pages.first();
    QCOMPARE(linesContaining(text, QStringLiteral("SCHEDA ARTICOLO")).size(), 1);
    for (const auto &[caption, value] : card.rows) {
        const QStringList lines = linesContaining(text, caption);
        QVERIFY2(lines.size() == 1, qPrintable(caption));
        // The value stands on the caption's line, to its right.
        QVERIFY2(lines.first().indexOf(value) > lines.first().indexOf(caption),
            qPrintable(lines.first()));
    }
    QVERIFY(text.contains(QStringLiteral("5 pezzi rimasti")));
    QCOMPARE(linesContaining(text, card.footer).size(), 1);
    // The logo: one opaque picture on the page (no transparency mask).
    const QString images = runTool(QStringLiteral("pdfimages"), { QStringLiteral("-list"), path });
    QCOMPARE(images.count(QRegularExpression(QStringLiteral("\\n +1 +\\d+ +image "))), 1);
    QVERIFY(!images.contains(QStringLiteral("smask")));

    const QString info = runTool(QStringLiteral("pdfinfo"), { path });
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Title: +Scheda informativa\n"))));
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Creator: +Dravello Software\n"))));
    QVERIFY(info.contains(QRegularExpression(
        QStringLiteral("Page size: +595(\\.\\d+)? x 842(\\.\\d+)? pts \\(A4\\)"))));
    const QString meta = runTool(QStringLiteral("pdfinfo"), { QStringLiteral("-meta"), path });
    QVERIFY2(meta.contains(QStringLiteral("<dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">"
                                          "Scheda informativa</rdf:li>")),
        qPrintable(meta));
    QVERIFY(meta.contains(QStringLiteral("<dc:creator><rdf:Seq><rdf:li>Dravello Software")));
}

void TestReportPdf::longValueIsCut()
{
    Record product = sampleProduct(QStringLiteral("LUNGO"));
    QString description;
    while (description.size() < 246)
        description += QStringLiteral("0123456789");
    description = description.left(246) + QStringLiteral("CODA");
    QCOMPARE(description.size(), 250);
    product.setValue(ProductRecord::Descrizione, description);
    const QString path = m_folder->filePath(QStringLiteral("Articolo.pdf"));
    QVERIFY(CardReport::exportPdf(productCardContent(product, Today(), Now()), path));

    const QString text = pdfPages(path).join(u'\f');
    const QStringList lines = linesContaining(text, QStringLiteral("0123"));
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.first().contains(QStringLiteral("Descrizione:")));
    // Cut at the box's edge: the start shows, the end does not, nothing wraps.
    QVERIFY(lines.first().contains(QStringLiteral("01234567890123456789")));
    QVERIFY(!text.contains(QStringLiteral("CODA")));
    // The value box ends 10 + 60 + 128 = 198 mm from the paper's left edge; a glyph cut by
    // the edge may start just before it.
    const QString boxes = runTool(
        QStringLiteral("pdftotext"), { QStringLiteral("-bbox"), path, QStringLiteral("-") });
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"[^>]*>0123"));
    const auto match = word.match(boxes);
    QVERIFY2(match.hasMatch(), qPrintable(boxes.left(2000)));
    const double pointsPerMm = 72 / 25.4;
    QVERIFY(match.captured(1).toDouble() >= 70 * pointsPerMm);
    QVERIFY2(match.captured(2).toDouble() <= 198 * pointsPerMm + 8, qPrintable(match.captured(0)));
}

void TestReportPdf::listPdfAcrossPages()
{
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines.append(QStringLiteral("COD%1  Marca Modello  Giacenza: %2")
                         .arg(i, 3, 10, QLatin1Char('0'))
                         .arg(i * 7));
    const QStringList extra { QStringLiteral("-----"), QStringLiteral("Totale articoli: 200") };
    const QString path = m_folder->filePath(QStringLiteral("Riepilogo.pdf"));
    QString error;
    QVERIFY2(ListReport::exportPdf(
                 QStringLiteral("Materiali in esaurimento"), lines, extra, path, &error),
        qPrintable(error));

    const QStringList pages = pdfPages(path);
    QCOMPARE(pages.size(), 4);
    // pdftotext places words by their position, so runs of blanks may widen.
    static const QRegularExpression listLine(
        QStringLiteral("COD\\d{3} +Marca Modello +Giacenza: \\d+"));
    QStringList read;
    QList<int> pageOf;
    for (int page = 0; page < pages.size(); ++page) {
        for (const QString &line : pages.at(page).split(u'\n')) {
            const auto match = listLine.match(line);
            if (match.hasMatch()) {
                read.append(match.captured(0).simplified());
                pageOf.append(page);
            }
        }
    }
    QStringList expected;
    for (const QString &line : std::as_const(lines))
        expected.append(line.simplified());
    QCOMPARE(read, expected);
    QCOMPARE(pageOf.first(), 0);
    QCOMPARE(pageOf.last(), 3);

    QCOMPARE(linesContaining(pages.at(0), QStringLiteral("Materiali in esaurimento")).size(), 1);
    for (int page = 1; page < pages.size(); ++page)
        QVERIFY(!pages.at(page).contains(QStringLiteral("Materiali in esaurimento")));
    const QString footer = QStringLiteral("Stampa eseguita in data 05/03/2024");
    for (int page = 0; page < 3; ++page)
        QVERIFY(!pages.at(page).contains(footer));
    const QString last = pages.at(3);
    QVERIFY(last.indexOf(footer) > last.indexOf(QStringLiteral("Totale articoli: 200")));
    QVERIFY(last.indexOf(QStringLiteral("Totale articoli: 200"))
        > last.indexOf(QStringLiteral("COD200")));

    // Every page says which it is, once, under everything else on it.
    for (int page = 0; page < pages.size(); ++page) {
        const QString number = QStringLiteral("Pagina %1 di 4").arg(page + 1);
        QCOMPARE(linesContaining(pages.at(page), number).size(), 1);
        QCOMPARE(pages.at(page).count(QStringLiteral("Pagina ")), 1);
        const QString text = pages.at(page).trimmed();
        QVERIFY2(text.endsWith(number), qPrintable(text.right(80)));
    }
}

void TestReportPdf::failedExportLeavesNothing_data()
{
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<bool>("folderInTheWay");
    QTest::addColumn<QString>("systemFolder");

    QTest::newRow("folder that does not exist") << QStringLiteral("manca") << false << QString();
    QTest::newRow("a folder where the file should be") << QString() << true << QString();
    // A folder no one may create files in, root included.
    QTest::newRow("read-only folder") << QString() << false << QStringLiteral("/sys");
}

void TestReportPdf::failedExportLeavesNothing()
{
    QFETCH(QString, subfolder);
    QFETCH(bool, folderInTheWay);
    QFETCH(QString, systemFolder);

    QString folder = m_folder->path();
    if (!systemFolder.isEmpty()) {
        if (!QFileInfo::exists(systemFolder))
            QSKIP("this system has no such folder");
        folder = systemFolder;
    }
    if (folderInTheWay) {
        QVERIFY(QDir(folder).mkpath(QStringLiteral("Articolo.pdf/dentro")));
    }
    const QString path
        = QDir(folder).filePath(subfolder.isEmpty() ? QStringLiteral("Articolo.pdf")
                                                    : subfolder + QStringLiteral("/Articolo.pdf"));
    const QStringList before = folderEntries(folder);

    QString error;
    QVERIFY(!CardReport::exportPdf(sampleCard(QStringLiteral("X")), path, &error));
    QVERIFY(error.startsWith(QStringLiteral("Attenzione: impossibile salvare la scheda in PDF")));
    QVERIFY(error.contains(QDir::toNativeSeparators(path)));
    QCOMPARE(folderEntries(folder), before);
    QVERIFY(!QFileInfo(path).isFile());
}

void TestReportPdf::exportAndAsk_data()
{
    QTest::addColumn<Messages::Answer>("answer");
    QTest::addColumn<bool>("opens");
    QTest::newRow("yes opens the file") << Messages::Answer::Yes << true;
    QTest::newRow("no leaves it") << Messages::Answer::No << false;
}

void TestReportPdf::exportAndAsk()
{
    QFETCH(Messages::Answer, answer);
    QFETCH(bool, opens);

    MessageRecorder messages;
    messages.answers = { answer };
    CardReport::exportPdfAndAsk(
        nullptr, sampleCard(QStringLiteral("ART-9")), QStringLiteral("Articolo.pdf"));

    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Confirmation);
    const QString path = m_folder->filePath(QStringLiteral("Articolo.pdf"));
    // The question says where the file was written.
    QCOMPARE(messages.lastText(),
        QStringLiteral("L'esportazione della scheda in PDF è terminata con successo.\r\n\r\n"
                       "Il file è stato salvato in:\r\n")
            + QDir::toNativeSeparators(path) + QStringLiteral("\r\n\r\nSi vuole aprire il file?"));
    QVERIFY(m_folder->readAll(QStringLiteral("Articolo.pdf")).startsWith("%PDF-"));
    QCOMPARE(folderEntries(m_folder->path()), QStringList { QStringLiteral("Articolo.pdf") });
    if (opens)
        QCOMPARE(m_opened, QList<QUrl> { QUrl::fromLocalFile(path) });
    else
        QVERIFY(m_opened.isEmpty());
}

void TestReportPdf::exportFailureWarnsWithoutQuestion()
{
    QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("Articolo.pdf/aperto")));
    MessageRecorder messages(Messages::Answer::Yes);
    CardReport::exportPdfAndAsk(
        nullptr, sampleCard(QStringLiteral("ART-9")), QStringLiteral("Articolo.pdf"));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QVERIFY(messages.lastText().startsWith(
        QStringLiteral("Attenzione: impossibile salvare la scheda in PDF")));
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(folderEntries(m_folder->path()), QStringList { QStringLiteral("Articolo.pdf") });
}

void TestReportPdf::secondExportReplacesFirst()
{
    MessageRecorder messages(Messages::Answer::No);
    CardReport::exportPdfAndAsk(
        nullptr, sampleCard(QStringLiteral("PRIMO-111")), QStringLiteral("Articolo.pdf"));
    CardReport::exportPdfAndAsk(
        nullptr, sampleCard(QStringLiteral("SECONDO-222")), QStringLiteral("Articolo.pdf"));
    const QString text = pdfPages(m_folder->filePath(QStringLiteral("Articolo.pdf"))).join(u'\f');
    QVERIFY(text.contains(QStringLiteral("SECONDO-222")));
    QVERIFY(!text.contains(QStringLiteral("PRIMO-111")));
    QCOMPARE(folderEntries(m_folder->path()), QStringList { QStringLiteral("Articolo.pdf") });
}

void TestReportPdf::printDialog_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("cancelled prints nothing") << false;
    QTest::newRow("accepted prints every page") << true;
}

void TestReportPdf::printDialog()
{
    QFETCH(bool, accept);

    const auto report = ListTemplate::prepare(QStringLiteral("Riepilogo Clienti in archivio"),
        QStringList(120, QStringLiteral("Rossi Mario")), {});
    QVERIFY(report);
    const QString output = m_folder->filePath(QStringLiteral("stampa.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(output);

    MessageRecorder messages;
    QString title;
    onNextModal([&](QWidget *dialog) {
        title = dialog->windowTitle();
        QVERIFY(qobject_cast<QPrintDialog *>(dialog));
        if (accept)
            static_cast<QDialog *>(dialog)->accept();
        else
            static_cast<QDialog *>(dialog)->reject();
    });
    QCOMPARE(Report::print(nullptr, *report, printer), accept);
    QCOMPARE(title, QStringLiteral("Stampa"));
    QCOMPARE(messages.count(), 0);
    QCOMPARE(QFileInfo::exists(output), accept);
    if (accept) {
        const QStringList pages = pdfPages(output);
        QCOMPARE(pages.size(), report->pageCount());
        QCOMPARE(pages.join(u'\f').count(QStringLiteral("Rossi Mario")), 120);
    }
}

void TestReportPdf::previewWindow()
{
    const auto report = ListTemplate::prepare(QStringLiteral("Riepilogo articoli in magazzino"),
        QStringList(200, QStringLiteral("riga")), {});
    QVERIFY(report);
    ReportPreviewDialog dialog(*report);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.previewWidget()->pageCount(), report->pageCount());

    for (const char *name : { "actStampa", "actIngrandisci", "actRiduci", "actPaginaIntera",
             "actSchermoIntero", "actChiudi" }) {
        QAction *action = dialog.findChild<QAction *>(QString::fromLatin1(name));
        QVERIFY2(action && !action->text().isEmpty(), name);
        QVERIFY2(!action->icon().pixmap(16).isNull(), name);
    }
    const qreal zoom = dialog.previewWidget()->zoomFactor();
    dialog.findChild<QAction *>(QStringLiteral("actIngrandisci"))->trigger();
    QVERIFY(dialog.previewWidget()->zoomFactor() > zoom);
    dialog.findChild<QAction *>(QStringLiteral("actSchermoIntero"))->trigger();
    QVERIFY(dialog.isFullScreen());
    dialog.findChild<QAction *>(QStringLiteral("actSchermoIntero"))->trigger();
    QVERIFY(!dialog.isFullScreen());
    dialog.findChild<QAction *>(QStringLiteral("actChiudi"))->trigger();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestReportPdf)
#include "tst_reportpdf.moc"
