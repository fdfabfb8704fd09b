#include "charts/Grafici.h"

#include "app/Screens.h"
#include "customers/Anagrafica.h"
#include "records/CustomerRecord.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/MenuRiepilogo.h"
#include "reports/MenuRiepilogoCarico.h"
#include "reports/MenuRiepilogoScarico.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include "common/CardFixture.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/TempProgramFolder.h"

#include <QAbstractBarSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLineSeries>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <numbers>

using namespace Qt::StringLiterals;

class TestGrafici : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void chartsAndTheirLabels_data();
    void chartsAndTheirLabels();
    void emptyStates_data();
    void emptyStates();
    void csvBytes();
    void pdfReadBack();
    void pdfThatCannotBeWrittenLeavesNoFile();
    void printsLandscape();
    void fitsSmallScreens_data();
    void fitsSmallScreens();
    void labelsNeverOverlap_data();
    void labelsNeverOverlap();
    void openedFromItsButtons_data();
    void openedFromItsButtons();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

namespace {

Record movement(
    const QString &date, const QString &code, const QString &quantity, const QString &amount)
{
    Record r(MovementRecord::layout());
    r.setValue(MovementRecord::Data, date);
    r.setValue(MovementRecord::Codice, code);
    r.setValue(MovementRecord::Quantita, quantity);
    r.setValue(MovementRecord::Importo, amount);
    r.setValue(MovementRecord::Marca, u"Pirelli"_s);
    return r;
}

Record product(const QString &code, const QString &type, const QString &value)
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, code);
    r.setValue(ProductRecord::Tipologia, type);
    r.setValue(ProductRecord::Valore, value);
    return r;
}

Record customer(const QString &surname, const QString &due, const QString &amount)
{
    Record r(CustomerRecord::layout());
    r.setValue(CustomerRecord::Cognome, surname);
    r.setValue(CustomerRecord::Scadenza, due);
    r.setValue(CustomerRecord::Preavviso, u"10"_s);
    r.setValue(CustomerRecord::Rata, amount);
    return r;
}

bool write(const TempProgramFolder &folder, const QString &name, const RecordLayout &layout,
    const QList<Record> &records)
{
    RecordFile file;
    if (!file.openPath(folder.filePath(name), layout))
        return false;
    for (const Record &r : records) {
        if (!file.append(r))
            return false;
    }
    return true;
}

// Loads: January 3 pieces for 30 €, March 1 piece for 2,50 €. Unloads: February 7 pieces
// for 115 €, December 1 piece for 20 €. Three product types; two instalments ahead of
// 15/06/2024. An empty load file of 2023.
bool writeFixture(const TempProgramFolder &folder)
{
    return write(folder, u"Carico_2024.mrv"_s, MovementRecord::layout(),
               { movement(u"10/01/2024"_s, u"A"_s, u"2"_s, u"10"_s),
                   movement(u"20/01/2024"_s, u"B"_s, u"1"_s, u"10"_s),
                   movement(u"05/03/2024"_s, u"A"_s, u"1"_s, u"2,5"_s) })
        && write(folder, u"Scarico_2024.mrv"_s, MovementRecord::layout(),
            { movement(u"11/02/2024"_s, u"A"_s, u"2"_s, u"20"_s),
                movement(u"12/02/2024"_s, u"B"_s, u"5"_s, u"15"_s),
                movement(u"01/12/2024"_s, u"A"_s, u"1"_s, u"20"_s) })
        && write(folder, u"Carico_2023.mrv"_s, MovementRecord::layout(), {})
        && write(folder, u"Magazzino.mrv"_s, ProductRecord::layout(),
            { product(u"P1"_s, u"Gomme"_s, u"100"_s), product(u"P2"_s, u"Cerchi"_s, u"250,5"_s),
                product(u"P3"_s, QString(), u"10"_s) })
        && write(folder, u"Clienti.mrv"_s, CustomerRecord::layout(),
            { customer(u"Rossi"_s, u"20/06/2024"_s, u"150"_s),
                customer(u"Bianchi"_s, u"10/01/2025"_s, u"99,90"_s) });
}

template <typename T = QWidget> T *child(const QWidget *screen, const char *name)
{
    return screen->findChild<T *>(QString::fromLatin1(name));
}

QBarCategoryAxis *categoryAxis(QChart *chart)
{
    for (QAbstractAxis *axis : chart->axes()) {
        if (auto *categories = qobject_cast<QBarCategoryAxis *>(axis))
            return categories;
    }
    return nullptr;
}

void choose(TfrmGrafici &screen, int chart, const QString &year = QString())
{
    if (!year.isEmpty())
        child<QComboBox>(&screen, "cboAnno")->setCurrentText(year);
    child<QComboBox>(&screen, "cboGrafico")->setCurrentIndex(chart);
}

} // namespace

void TestGrafici::initTestCase()
{
    TfrmGrafici::registerScreen();
}

void TestGrafici::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->isValid());
    Clock::setFixed(QDateTime(QDate(2024, 6, 15), QTime(10, 0)));
}

void TestGrafici::cleanup()
{
    Clock::reset();
    m_folder.reset();
}

void TestGrafici::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");
    static const struct
    {
        const char *name, *className, *text;
    } rows[] = {
        { "cboGrafico", "QComboBox", "" },
        { "cboAnno", "QComboBox", "" },
        { "chtGrafico", "QChartView", "" },
        { "btnStampa", "QPushButton", "Stampa" },
        { "btnPdf", "QPushButton", "Crea PDF" },
        { "btnEsporta", "QPushButton", "Esporta CSV" },
        { "btnChiudi", "QPushButton", "Chiudi" },
        { "imgGuida", "QToolButton", "" },
        { "lblVuoto", "QLabel", "" },
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name)
                                << QString::fromLatin1(row.className)
                                << QString::fromUtf8(row.text);
}

void TestGrafici::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);
    TfrmGrafici screen;
    QCOMPARE(screen.objectName(), u"TfrmGrafici"_s);
    QCOMPARE(screen.windowTitle(), u" Merventa 2.0 - Grafici"_s);
    QWidget *widget = screen.findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    if (auto *button = qobject_cast<QPushButton *>(widget))
        QCOMPARE(button->text(), text);
    auto *charts = child<QComboBox>(&screen, "cboGrafico");
    QStringList items;
    for (int i = 0; i < charts->count(); ++i)
        items.append(charts->itemText(i));
    QCOMPARE(items,
        (QStringList { u"Carichi e scarichi per mese"_s, u"Valore del magazzino per tipologia"_s,
            u"Articoli più scaricati"_s, u"Rate in scadenza nei prossimi 12 mesi"_s }));
}

void TestGrafici::chartsAndTheirLabels_data()
{
    QTest::addColumn<int>("chart");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("categories"); // as the axis holds them
    QTest::addColumn<QStringList>("barSets");
    QTest::addColumn<QList<double>>("firstSet");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("summary");

    QTest::newRow("movements by month")
        << 0 << u"Carichi e scarichi per mese - anno 2024"_s
        << QStringList { u"Gennaio"_s, u"Febbraio"_s, u"Marzo"_s, u"Aprile"_s, u"Maggio"_s,
               u"Giugno"_s, u"Luglio"_s, u"Agosto"_s, u"Settembre"_s, u"Ottobre"_s, u"Novembre"_s,
               u"Dicembre"_s }
        << QStringList { u"Pezzi caricati"_s, u"Pezzi scaricati"_s }
        << QList<double> { 3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0 }
        << QStringList { u"Valore carichi (€)"_s, u"Valore scarichi (€)"_s }
        << u"Carichi: 3 movimenti, 4 pezzi, 32,50 €.   Scarichi: 3 movimenti, 8 pezzi, 135,00 €."_s;
    // Horizontal bars stand from the bottom up: the largest is last on the axis, on top.
    QTest::newRow("value by type")
        << 1 << u"Valore del magazzino per tipologia"_s
        << QStringList { u"Senza tipologia  (10,00 €)"_s, u"Gomme  (100,00 €)"_s,
               u"Cerchi  (250,50 €)"_s }
        << QStringList { u"Valore (€)"_s } << QList<double> { 10, 100, 250.5 } << QStringList()
        << u"Valore totale del magazzino: 360,50 € (3 articoli, 3 tipologie)."_s;
    QTest::newRow("most unloaded")
        << 2 << u"Articoli più scaricati - anno 2024"_s
        << QStringList { u"A Pirelli  (3 pz)"_s, u"B Pirelli  (5 pz)"_s }
        << QStringList { u"Pezzi scaricati"_s } << QList<double> { 3, 5 } << QStringList()
        << u"Pezzi scaricati dagli articoli mostrati: 8 (3 movimenti di scarico nell'anno)."_s;
    QTest::newRow("instalments ahead")
        << 3 << u"Rate in scadenza nei prossimi 12 mesi"_s
        << QStringList { u"Giugno 2024"_s, u"Luglio 2024"_s, u"Agosto 2024"_s, u"Settembre 2024"_s,
               u"Ottobre 2024"_s, u"Novembre 2024"_s, u"Dicembre 2024"_s, u"Gennaio 2025"_s,
               u"Febbraio 2025"_s, u"Marzo 2025"_s, u"Aprile 2025"_s, u"Maggio 2025"_s }
        << QStringList { u"Importo rate (€)"_s }
        << QList<double> { 150, 0, 0, 0, 0, 0, 0, 99.9, 0, 0, 0, 0 }
        << QStringList { u"Numero rate"_s } << u"Totale: 2 rate, 249,90 €."_s;
}

void TestGrafici::chartsAndTheirLabels()
{
    QFETCH(int, chart);
    QFETCH(QString, title);
    QFETCH(QStringList, categories);
    QFETCH(QStringList, barSets);
    QFETCH(QList<double>, firstSet);
    QFETCH(QStringList, lines);
    QFETCH(QString, summary);
    QVERIFY(writeFixture(*m_folder));

    TfrmGrafici screen;
    QCOMPARE(child<QComboBox>(&screen, "cboAnno")->currentText(), u"2024"_s);
    choose(screen, chart);
    QChart *shown = screen.chart();
    QCOMPARE(shown->title(), title);
    QCOMPARE(child<QLabel>(&screen, "lblRiepilogo")->text(), summary);
    QVERIFY(!child<QChartView>(&screen, "chtGrafico")->isHidden());
    QVERIFY(child<QLabel>(&screen, "lblVuoto")->isHidden());
    QCOMPARE(child<QComboBox>(&screen, "cboAnno")->isEnabled(), chart == 0 || chart == 2);

    QBarCategoryAxis *axis = categoryAxis(shown);
    QVERIFY(axis);
    QCOMPARE(axis->categories(), categories);
    QStringList setNames;
    QStringList lineNames;
    QList<double> first;
    for (QAbstractSeries *series : shown->series()) {
        if (auto *bars = qobject_cast<QAbstractBarSeries *>(series)) {
            for (QBarSet *set : bars->barSets())
                setNames.append(set->label());
            for (int i = 0; i < bars->barSets().first()->count(); ++i)
                first.append(bars->barSets().first()->at(i));
        } else if (auto *line = qobject_cast<QLineSeries *>(series)) {
            lineNames.append(line->name());
            QCOMPARE(line->count(), axis->count());
        }
    }
    QCOMPARE(setNames, barSets);
    QCOMPARE(first, firstSet);
    QCOMPARE(lineNames, lines);
}

void TestGrafici::emptyStates_data()
{
    QTest::addColumn<bool>("fixture");
    QTest::addColumn<int>("chart");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("text");
    QTest::newRow("no movement file at all")
        << false << 0 << QString() << u"Nessun movimento nell'anno scelto."_s;
    QTest::newRow("a year whose file is empty")
        << true << 0 << u"2023"_s << u"Nessun movimento nell'anno scelto."_s;
    QTest::newRow("no unloads in the year")
        << true << 2 << u"2023"_s << u"Nessun movimento di scarico nell'anno scelto."_s;
    QTest::newRow("no products") << false << 1 << QString() << u"Nessun articolo in magazzino."_s;
    QTest::newRow("no customers") << false << 3 << QString()
                                  << u"Nessuna rata in scadenza nei prossimi 12 mesi."_s;
}

void TestGrafici::emptyStates()
{
    QFETCH(bool, fixture);
    QFETCH(int, chart);
    QFETCH(QString, year);
    QFETCH(QString, text);
    if (fixture)
        QVERIFY(writeFixture(*m_folder));
    MessageRecorder messages;
    TfrmGrafici screen;
    choose(screen, chart, year);
    QCOMPARE(child<QLabel>(&screen, "lblVuoto")->text(), text);
    QVERIFY(!child<QLabel>(&screen, "lblVuoto")->isHidden());
    QVERIFY(child<QChartView>(&screen, "chtGrafico")->isHidden());
    for (const char *button : { "btnStampa", "btnPdf", "btnEsporta" })
        QVERIFY2(!child<QPushButton>(&screen, button)->isEnabled(), button);
    QVERIFY(child<QPushButton>(&screen, "btnChiudi")->isEnabled());
    QCOMPARE(messages.count(), 0);
    // Looking creates no archive.
    if (!fixture)
        QVERIFY(QDir(m_folder->path()).entryList(QDir::Files).isEmpty());
}

void TestGrafici::csvBytes()
{
    QVERIFY(writeFixture(*m_folder));
    TfrmGrafici screen;
    screen.show();
    MessageRecorder messages(Messages::Answer::No);
    QTest::mouseClick(child<QPushButton>(&screen, "btnEsporta"), Qt::LeftButton);
    QCOMPARE(messages.lastText(),
        u"L'esportazione dei dati del grafico nel file Grafico.csv è terminata con successo."
        "\r\n\r\nSi vuole aprire il file?"_s);
    QCOMPARE(m_folder->readAll(u"Grafico.csv"_s),
        QByteArray("\xEF\xBB\xBFMese;Pezzi caricati;Pezzi scaricati;"
                   "Valore carichi (\xE2\x82\xAC);Valore scarichi (\xE2\x82\xAC)\r\n"
                   "Gennaio;3;0;30,00;0,00\r\n"
                   "Febbraio;0;7;0,00;115,00\r\n"
                   "Marzo;1;0;2,50;0,00\r\n"
                   "Aprile;0;0;0,00;0,00\r\n"
                   "Maggio;0;0;0,00;0,00\r\n"
                   "Giugno;0;0;0,00;0,00\r\n"
                   "Luglio;0;0;0,00;0,00\r\n"
                   "Agosto;0;0;0,00;0,00\r\n"
                   "Settembre;0;0;0,00;0,00\r\n"
                   "Ottobre;0;0;0,00;0,00\r\n"
                   "Novembre;0;0;0,00;0,00\r\n"
                   "Dicembre;0;1;0,00;20,00\r\n"));

    choose(screen, 1);
    QTest::mouseClick(child<QPushButton>(&screen, "btnEsporta"), Qt::LeftButton);
    QCOMPARE(m_folder->readAll(u"Grafico.csv"_s),
        QByteArray("\xEF\xBB\xBFTipologia;Valore (\xE2\x82\xAC)\r\n"
                   "Cerchi;250,50\r\nGomme;100,00\r\nSenza tipologia;10,00\r\n"));
}

void TestGrafici::pdfReadBack()
{
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QVERIFY(writeFixture(*m_folder));
    TfrmGrafici screen;
    screen.show();
    MessageRecorder messages(Messages::Answer::No);
    QTest::mouseClick(child<QPushButton>(&screen, "btnPdf"), Qt::LeftButton);
    QCOMPARE(messages.lastText(),
        u"L'esportazione del grafico in PDF è terminata con successo.\r\n\r\nSi vuole aprire "
        "il file?"_s);
    const QString path = m_folder->filePath(u"Grafico.pdf"_s);
    QVERIFY(m_folder->readAll(u"Grafico.pdf"_s).startsWith("%PDF"));

    QProcess process;
    process.start(pdftotext, { u"-layout"_s, path, u"-"_s });
    QVERIFY(process.waitForFinished(30000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    for (const QString &expected : { u"Carichi e scarichi per mese - anno 2024"_s, u"Gennaio"_s,
             u"Dicembre"_s, u"Pezzi caricati"_s, u"Valore scarichi (€)"_s, u"100 €"_s,
             u"Carichi: 3 movimenti, 4 pezzi, 32,50 €."_s, u"Merventa 2.0 - 15/06/2024"_s })
        QVERIFY2(text.contains(expected), qPrintable(expected + u"\n"_s + text));
    // One landscape page.
    QCOMPARE(text.count(u'\f'), 1);
    QProcess info;
    info.start(QStandardPaths::findExecutable(u"pdfinfo"_s), { path });
    QVERIFY(info.waitForFinished(30000));
    const QRegularExpression size(u"Page size: +([0-9.]+) x ([0-9.]+) pts \\(A4\\)"_s);
    const QRegularExpressionMatch page
        = size.match(QString::fromUtf8(info.readAllStandardOutput()));
    QVERIFY(page.hasMatch());
    QVERIFY(page.captured(1).toDouble() > page.captured(2).toDouble());
}

void TestGrafici::pdfThatCannotBeWrittenLeavesNoFile()
{
    QVERIFY(writeFixture(*m_folder));
    // A folder of that name stands where the file would go.
    QVERIFY(QDir(m_folder->path()).mkdir(u"Grafico.pdf"_s));
    TfrmGrafici screen;
    MessageRecorder messages;
    QTest::mouseClick(child<QPushButton>(&screen, "btnPdf"), Qt::LeftButton);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QVERIFY(messages.lastText().startsWith(
        u"Attenzione: impossibile salvare il grafico in PDF nel file\r\n"_s));
    QVERIFY(QFileInfo(m_folder->filePath(u"Grafico.pdf"_s)).isDir());
}

void TestGrafici::printsLandscape()
{
    QVERIFY(writeFixture(*m_folder));
    TfrmGrafici screen;
    screen.show();
    QString title;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    onNextModal([&](QWidget *modal) {
        if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
            title = dialog->windowTitle();
            orientation = dialog->printer()->pageLayout().orientation();
            dialog->reject();
        }
    });
    QTest::mouseClick(child<QPushButton>(&screen, "btnStampa"), Qt::LeftButton);
    QCOMPARE(title, u"Stampa"_s);
    QCOMPARE(orientation, QPageLayout::Landscape);
}

void TestGrafici::fitsSmallScreens_data()
{
    QTest::addColumn<int>("chart");
    for (int chart = 0; chart < 4; ++chart)
        QTest::newRow(qPrintable(QString::number(chart))) << chart;
}

// Every chart fits the logical 1093x614 of a 1366x768 screen at 125 %, with room for the
// title bar (1280x720 is larger both ways).
void TestGrafici::fitsSmallScreens()
{
    QFETCH(int, chart);
    QVERIFY(writeFixture(*m_folder));
    TfrmGrafici screen;
    choose(screen, chart);
    screen.ensurePolished();
    screen.layout()->activate();
    const QSize minimum = screen.minimumSize().expandedTo(screen.minimumSizeHint());
    QVERIFY2(minimum.width() <= 1093 && minimum.height() <= 614 - 30,
        qPrintable(u"%1x%2"_s.arg(minimum.width()).arg(minimum.height())));
}

void TestGrafici::labelsNeverOverlap_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("upright");
    QTest::newRow("wide window") << 1900 << true;
    QTest::newRow("narrow window") << 520 << false;
}

void TestGrafici::labelsNeverOverlap()
{
    QFETCH(int, width);
    QFETCH(bool, upright);
    QVERIFY(writeFixture(*m_folder));
    TfrmGrafici screen;
    screen.setWindowState(Qt::WindowNoState);
    screen.setMinimumSize(0, 0);
    screen.resize(width, 700);
    screen.show();
    choose(screen, 3);
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QChart *chart = screen.chart();
    QBarCategoryAxis *axis = categoryAxis(chart);
    QTRY_VERIFY(chart->plotArea().width() > 0);
    QTRY_COMPARE(axis->labelsAngle() == 0, upright);
    // Side by side every label fits its slot; slanted ones stand a line apart.
    const QFontMetricsF metrics(axis->labelsFont());
    const double slot = chart->plotArea().width() / axis->count();
    double widest = 0;
    for (const QString &label : axis->categories())
        widest = std::max(widest, metrics.horizontalAdvance(label));
    // Across the axis a label takes its width side by side, (width + height) * sin 45
    // slanted, its height upright: never more than its slot.
    const double across = axis->labelsAngle() == 0 ? widest
        : axis->labelsAngle() == -45 ? (widest + metrics.height()) * std::sin(std::numbers::pi / 4)
                                     : metrics.height();
    QVERIFY(across <= slot);
}

void TestGrafici::openedFromItsButtons_data()
{
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("chart");
    QTest::addColumn<QString>("shownYear");
    QTest::newRow("inventory selection") << u"TfrmMenuRiepilogo"_s << QString()
                                         << u"Valore del magazzino per tipologia"_s << u"2024"_s;
    QTest::newRow("load summary selection, its year")
        << u"TfrmMenuRiepilogoCarico"_s << u"2023"_s << u"Carichi e scarichi per mese"_s
        << u"2023"_s;
    QTest::newRow("unload summary selection, a year without files")
        << u"TfrmMenuRiepilogoScarico"_s << u"1999"_s << u"Carichi e scarichi per mese"_s
        << u"2024"_s;
    QTest::newRow("customer card") << u"TfrmAnagrafica"_s << QString()
                                   << u"Rate in scadenza nei prossimi 12 mesi"_s << u"2024"_s;
}

void TestGrafici::openedFromItsButtons()
{
    QFETCH(QString, opener);
    QFETCH(QString, year);
    QFETCH(QString, chart);
    QFETCH(QString, shownYear);
    QVERIFY(writeFixture(*m_folder));

    std::unique_ptr<QWidget> screen;
    if (opener == u"TfrmMenuRiepilogo")
        screen = std::make_unique<TfrmMenuRiepilogo>();
    else if (opener == u"TfrmMenuRiepilogoCarico")
        screen = std::make_unique<TfrmMenuRiepilogoCarico>();
    else if (opener == u"TfrmMenuRiepilogoScarico")
        screen = std::make_unique<TfrmMenuRiepilogoScarico>();
    else
        screen = std::make_unique<TfrmAnagrafica>();
    MessageRecorder messages(Messages::Answer::No);
    screen->show();
    if (!year.isEmpty())
        child<QLineEdit>(screen.get(), "txtAnno")->setText(year);

    QString seenClass, seenChart, seenYear;
    onNextModal([&](QWidget *modal) {
        seenClass = modal->objectName();
        seenChart = child<QComboBox>(modal, "cboGrafico")->currentText();
        seenYear = child<QComboBox>(modal, "cboAnno")->currentText();
    });
    auto *button = child<QAbstractButton>(screen.get(), "btnGrafici");
    QVERIFY(button);
    QCOMPARE(button->text(), u"Grafici"_s);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(seenClass, u"TfrmGrafici"_s);
    QCOMPARE(seenChart, chart);
    QCOMPARE(seenYear, shownYear);
}

QTEST_MAIN(TestGrafici)
#include "tst_grafici.moc"
