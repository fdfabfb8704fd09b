#include "export/ExpCarico.h"
#include "export/ExpClienti.h"
#include "export/ExpFornitori.h"
#include "export/ExpMagazzino.h"
#include "export/ExpScarico.h"
#include "export/ExportGrid.h"

#include "app/OpenURL.h"
#include "catalogue/Magazzino.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/TempProgramFolder.h"
#include "common/UserInput.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/MenuRiepilogoCarico.h"
#include "storage/RecordFile.h"
#include "suppliers/Fornitori.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <functional>
#include <memory>

using Messages::Answer;
using Messages::Kind;

namespace {

const QString kAskExport = QStringLiteral(
    "L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
    "schede presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?");
const QString kAskOpen = QStringLiteral("Le schede in archivio sono state esportate con "
                                        "successo.\r\n\r\nSi vuole aprire il file di Excel?");
const QString kFailure
    = QStringLiteral("Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
                     "Accertarsi che il file di Excel non sia già aperto.");

template <typename T> T *child(QWidget *screen, const char *name)
{
    T *w = screen->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qWarning("no %s", name);
    return w;
}

void writeProducts(const QList<QStringList> &rows)
{
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    for (const QStringList &values : rows) {
        Record r(ProductRecord::layout());
        r.setValue(ProductRecord::Codice, values.value(0));
        r.setValue(ProductRecord::Accessori, values.value(1));
        r.setValue(ProductRecord::Costo, values.value(2));
        QVERIFY(file.append(r));
    }
}

void writeMovements(const QString &path, int count)
{
    RecordFile file;
    QVERIFY(file.openPath(path, MovementRecord::layout()));
    for (int i = 1; i <= count; ++i) {
        Record r(MovementRecord::layout());
        r.setValue(MovementRecord::Data, QStringLiteral("0%1/03/2021").arg(i));
        r.setValue(MovementRecord::Codice, QStringLiteral("ART-%1").arg(i));
        r.setValue(MovementRecord::Quantita, QString::number(i));
        QVERIFY(file.append(r));
    }
}

// Shows a screen as its caller does (the grid is filled on showing).
void showScreen(QDialog *screen)
{
    screen->show();
    QVERIFY(QTest::qWaitForWindowActive(screen));
}

// Types into the grid as a user does: the first key opens the cell's editor, the others go
// to the editor, which then has the focus.
void typeIntoGrid(QTableView *grid, const QString &text)
{
    for (const QChar ch : text) {
        QWidget *target = QApplication::focusWidget();
        if (!target || !grid->isAncestorOf(target))
            target = grid;
        QTest::keyClick(target, ch.toLatin1());
    }
}

QString cell(QDialog *screen, int row, int column)
{
    QAbstractItemModel *model = child<QTableView>(screen, "grdRecords")->model();
    return model->data(model->index(row, column)).toString();
}

} // namespace

class TestExportScreens : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void contract_data();
    void contract();
    void gridShowsArchive();
    void emptyArchiveShowsDesignRows();
    void editedCellIsExportedNotStored();
    void questions_data();
    void questions();
    void folderInPlaceOfFile();
    void hints();
    void productCardOpensExport();
    void supplierCardOpensExport();
    void movementYearFromSelection();
    void missingYearLeavesEmptyFile();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    QList<QUrl> m_opened;
};

void TestExportScreens::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    m_opened.clear();
    TMisc::setOpener([this](const QUrl &url) { m_opened.append(url); });
}

void TestExportScreens::cleanup()
{
    TMisc::setOpener({});
    m_folder.reset();
}

void TestExportScreens::contract_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("screenClass");
    QTest::addColumn<QString>("caption");
    QTest::newRow("products") << int(ArchiveId::Products) << QStringLiteral("TfrmExpMagazzino")
                              << QStringLiteral(
                                     " Esporta archivio prodotti e servizi in Microsoft Excel");
    QTest::newRow("customers") << int(ArchiveId::Customers) << QStringLiteral("TfrmExpClienti")
                               << QStringLiteral(" Esporta archivio Clienti in Microsoft Excel");
    QTest::newRow("suppliers") << int(ArchiveId::Suppliers) << QStringLiteral("TfrmExpFornitori")
                               << QStringLiteral(" Esporta archivio Fornitori in Microsoft Excel");
    QTest::newRow("loads") << int(ArchiveId::Loads) << QStringLiteral("TfrmExpCarico")
                           << QStringLiteral(
                                  " Esporta archivio movimenti di carico merce in Microsoft Excel");
    QTest::newRow("unloads")
        << int(ArchiveId::Unloads) << QStringLiteral("TfrmExpScarico")
        << QStringLiteral(" Esporta archivio movimenti di scarico merce in Microsoft Excel");
}

void TestExportScreens::contract()
{
    QFETCH(int, kind);
    QFETCH(QString, screenClass);
    QFETCH(QString, caption);
    std::unique_ptr<QDialog> screen;
    switch (ArchiveId(kind)) {
    case ArchiveId::Products:
        screen = std::make_unique<TfrmExpMagazzino>();
        break;
    case ArchiveId::Customers:
        screen = std::make_unique<TfrmExpClienti>();
        break;
    case ArchiveId::Suppliers:
        screen = std::make_unique<TfrmExpFornitori>();
        break;
    case ArchiveId::Loads:
        screen = std::make_unique<TfrmExpCarico>();
        break;
    default:
        screen = std::make_unique<TfrmExpScarico>();
        break;
    }
    QCOMPARE(screen->objectName(), screenClass);
    QCOMPARE(QString::fromLatin1(screen->metaObject()->className()), screenClass);
    QCOMPARE(screen->windowTitle(), caption);
    QCOMPARE(screen->minimumSize(), QSize(862, 560));
    QCOMPARE(screen->maximumSize(), QSize(862, 560));
    QVERIFY(child<QTableView>(screen.get(), "grdRecords"));
    QCOMPARE(child<QLabel>(screen.get(), "panInfo")->text(),
        QStringLiteral("Esportazione archivio in Microsoft Excel."));
    for (const char *name : { "cmdEsporta", "cmdEsportaXlsx", "cmdGuida", "cmdEsci" }) {
        auto *button = child<QToolButton>(screen.get(), name);
        QVERIFY2(button, name);
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(button->isEnabled());
    }
}

void TestExportScreens::gridShowsArchive()
{
    writeProducts({ { "ART-1", "Valvola", "12,50" }, { "ART-2", "", "0,00" } });
    TfrmExpMagazzino screen;
    showScreen(&screen);
    auto *grid = child<QTableView>(&screen, "grdRecords");
    QAbstractItemModel *model = grid->model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->columnCount(), 24);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("N."));
    QCOMPARE(model->headerData(10, Qt::Horizontal).toString(),
        QStringLiteral("Estremi documento di acquisto"));
    QCOMPARE(cell(&screen, 0, 0), QStringLiteral("1"));
    QCOMPARE(cell(&screen, 1, 0), QStringLiteral("2"));
    QCOMPARE(cell(&screen, 0, 1), QStringLiteral("ART-1"));
    QCOMPARE(cell(&screen, 0, 6), QStringLiteral("Valvola"));
    QCOMPARE(cell(&screen, 0, 13), QStringLiteral("12,50"));
    QVERIFY(grid->alternatingRowColors());
    QCOMPARE(grid->rowHeight(0), 21);
    QCOMPARE(grid->columnWidth(0), 60);
    QCOMPARE(grid->columnWidth(5), 350);
    QCOMPARE(grid->columnWidth(23), 350);
}

void TestExportScreens::emptyArchiveShowsDesignRows()
{
    TfrmExpMagazzino screen;
    showScreen(&screen);
    QAbstractItemModel *model = child<QTableView>(&screen, "grdRecords")->model();
    QCOMPARE(model->rowCount(), 10);
    QCOMPARE(cell(&screen, 0, 0), QString());
    // The archive is created empty when missing.
    QVERIFY(QFile::exists(m_folder->filePath(QStringLiteral("Magazzino.mrv"))));
}

// Typing into an editable cell changes the file, not the archive; a read-only cell takes
// no typing; the next opening shows the stored text again.
void TestExportScreens::editedCellIsExportedNotStored()
{
    writeProducts({ { "ART-1", "Valvola", "12,50" } });
    const QByteArray archive = m_folder->readAll(QStringLiteral("Magazzino.mrv"));
    {
        TfrmExpMagazzino screen;
        showScreen(&screen);
        auto *grid = child<QTableView>(&screen, "grdRecords");
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 6)); // Accessori
        typeIntoGrid(grid, QStringLiteral("Cerchio"));
        grid->setCurrentIndex(grid->model()->index(0, 1)); // Codice articolo, read-only
        grid->setFocus();
        typeIntoGrid(grid, QStringLiteral("ZZ"));
        QCOMPARE(cell(&screen, 0, 1), QStringLiteral("ART-1"));
        grid->setCurrentIndex(grid->model()->index(0, 22)); // Scadenza
        typeIntoGrid(grid, QStringLiteral("12/2030"));
        // Still being edited when the export starts: the text typed so far goes out.
        QVERIFY(grid->findChild<QLineEdit *>());

        MessageRecorder messages(Answer::Yes);
        messages.answers = { Answer::Yes, Answer::No };
        screen.cmdEsportaClick();
        QCOMPARE(messages.count(), 2);
        const QByteArray file = m_folder->readAll(QStringLiteral("Magazzino.xls"));
        QVERIFY(file.contains("<td style=\"text-align: left;\">Cerchio</td>"));
        QVERIFY(file.contains("<td style=\"text-align: left;\">12/2030</td>"));
        QVERIFY(file.contains("<td style=\"text-align: left;\">ART-1</td>"));
        QVERIFY(!file.contains("Valvola"));
    }
    QCOMPARE(m_folder->readAll(QStringLiteral("Magazzino.mrv")), archive);
    TfrmExpMagazzino again;
    showScreen(&again);
    QCOMPARE(cell(&again, 0, 6), QStringLiteral("Valvola"));
}

void TestExportScreens::questions_data()
{
    QTest::addColumn<bool>("xlsx");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("opened");
    for (const bool xlsx : { false, true }) {
        const QByteArray suffix = xlsx ? " (.xlsx)" : " (.xls)";
        QTest::newRow(("No: nothing written" + suffix).constData())
            << xlsx << QList<Answer> { Answer::No } << QStringList { kAskExport } << false << false;
        QTest::newRow(("Sì, No: written, not opened" + suffix).constData())
            << xlsx << QList<Answer> { Answer::Yes, Answer::No }
            << QStringList { kAskExport, kAskOpen } << true << false;
        QTest::newRow(("Sì, Sì: written and opened" + suffix).constData())
            << xlsx << QList<Answer> { Answer::Yes, Answer::Yes }
            << QStringList { kAskExport, kAskOpen } << true << true;
    }
}

void TestExportScreens::questions()
{
    QFETCH(bool, xlsx);
    QFETCH(QList<Answer>, answers);
    QFETCH(QStringList, asked);
    QFETCH(bool, written);
    QFETCH(bool, opened);

    writeProducts({ { "ART-1", "", "1,00" } });
    TfrmExpMagazzino screen;
    showScreen(&screen);
    MessageRecorder messages;
    messages.answers = answers;
    QTest::mouseClick(
        child<QToolButton>(&screen, xlsx ? "cmdEsportaXlsx" : "cmdEsporta"), Qt::LeftButton);
    QStringList texts;
    for (const MessageRecorder::Shown &shown : std::as_const(messages.shown)) {
        QCOMPARE(shown.kind, Kind::Confirmation);
        texts.append(shown.text);
    }
    QCOMPARE(texts, asked);
    const QString name = xlsx ? QStringLiteral("Magazzino.xlsx") : QStringLiteral("Magazzino.xls");
    const QString path = m_folder->filePath(name);
    QCOMPARE(QFile::exists(path), written);
    QCOMPARE(QFile::exists(m_folder->filePath(
                 xlsx ? QStringLiteral("Magazzino.xls") : QStringLiteral("Magazzino.xlsx"))),
        false);
    if (opened)
        QCOMPARE(m_opened, QList<QUrl> { QUrl::fromLocalFile(path) });
    else
        QVERIFY(m_opened.isEmpty());
}

// The file cannot be replaced (here a folder stands in its place, as a file locked by
// Excel would refuse it): the plain message, nothing opened, the folder as it was and no
// temporary file left in the program folder.
void TestExportScreens::folderInPlaceOfFile()
{
    writeProducts({ { "ART-1", "", "1,00" } });
    QDir dir(m_folder->path());
    QVERIFY(dir.mkdir(QStringLiteral("Magazzino.xls")));
    QVERIFY(dir.mkdir(QStringLiteral("Magazzino.xlsx")));
    const QStringList before
        = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    TfrmExpMagazzino screen;
    showScreen(&screen);
    for (const char *button : { "cmdEsporta", "cmdEsportaXlsx" }) {
        MessageRecorder messages(Answer::Yes);
        QTest::mouseClick(child<QToolButton>(&screen, button), Qt::LeftButton);
        QCOMPARE(messages.count(), 2);
        QCOMPARE(messages.shown[0].text, kAskExport);
        QCOMPARE(messages.lastKind(), Kind::Plain);
        QCOMPARE(messages.lastText(), kFailure);
    }
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("Magazzino.xls"))).isDir());
}

void TestExportScreens::hints()
{
    TfrmExpMagazzino screen;
    showScreen(&screen);
    auto *info = child<QLabel>(&screen, "panInfo");
    const struct
    {
        const char *button;
        QString hint;
    } rows[] = {
        { "cmdEsporta", QStringLiteral("Esporta l'archivio in formato Microsoft Excel.") },
        { "cmdEsportaXlsx",
            QStringLiteral(
                "Esporta l'archivio in formato Excel .xlsx, con importi e quantità come numeri.") },
        { "cmdGuida", QStringLiteral("Visualizza la pagina della guida sensibile al contesto.") },
        { "cmdEsci", QStringLiteral("Esci da questo ambiente di lavoro.") },
    };
    for (const auto &row : rows) {
        hover(child<QToolButton>(&screen, row.button));
        QCOMPARE(info->text(), row.hint);
        // The free space of the button strip between the spreadsheet icons and Guida.
        hover(child<QWidget>(&screen, "panPulsanti"));
        QCOMPARE(info->text(), QString());
    }
}

void TestExportScreens::productCardOpensExport()
{
    writeProducts({ { "ART-1", "", "1,00" } });
    TfrmMagazzino card;
    card.show();
    QVERIFY(QTest::qWaitForWindowExposed(&card));
    QString screenClass;
    int rows = -1;
    onNextModal([&](QWidget *modal) {
        if (auto *screen = qobject_cast<QDialog *>(modal)) {
            screenClass = screen->objectName();
            rows = child<QTableView>(screen, "grdRecords")->model()->rowCount();
            screen->close();
        }
    });
    QTest::mouseClick(child<QToolButton>(&card, "cmdEsporta"), Qt::LeftButton);
    QCOMPARE(screenClass, QStringLiteral("TfrmExpMagazzino"));
    QCOMPARE(rows, 1);
}

void TestExportScreens::supplierCardOpensExport()
{
    TfrmFornitori card;
    card.show();
    QVERIFY(QTest::qWaitForWindowExposed(&card));
    QString screenClass;
    int rows = -1;
    onNextModal([&](QWidget *modal) {
        if (auto *screen = qobject_cast<QDialog *>(modal)) {
            screenClass = screen->objectName();
            rows = child<QTableView>(screen, "grdRecords")->model()->rowCount();
            screen->close();
        }
    });
    QTest::mouseClick(child<QToolButton>(&card, "cmdEsporta"), Qt::LeftButton);
    QCOMPARE(screenClass, QStringLiteral("TfrmExpFornitori"));
    QCOMPARE(rows, 10);
}

// The load selection's Esporta opens the load export over the year it names.
void TestExportScreens::movementYearFromSelection()
{
    writeMovements(m_folder->filePath(QStringLiteral("Carico_2021.mrv")), 3);
    TfrmMenuRiepilogoCarico menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    auto *year = child<QLineEdit>(&menu, "txtAnno");
    year->setText(QStringLiteral("2021"));
    QString screenClass;
    int rows = -1;
    QString code;
    onNextModal([&](QWidget *modal) {
        if (auto *screen = qobject_cast<QDialog *>(modal)) {
            screenClass = screen->objectName();
            QAbstractItemModel *model = child<QTableView>(screen, "grdRecords")->model();
            rows = model->rowCount();
            code = model->data(model->index(2, 3)).toString();
            screen->close();
        }
    });
    menu.cmdEsportaClick();
    QCOMPARE(screenClass, QStringLiteral("TfrmExpCarico"));
    QCOMPARE(rows, 3);
    QCOMPARE(code, QStringLiteral("ART-3"));
}

// A year without movements: the design rows, and the empty file the opening leaves.
void TestExportScreens::missingYearLeavesEmptyFile()
{
    QWidget selection;
    auto *lblFile = new QLabel(
        QStringLiteral("  ") + m_folder->filePath(QStringLiteral("Scarico_2019.mrv")), &selection);
    lblFile->setObjectName(QStringLiteral("lblFile"));
    TfrmExpScarico screen(&selection);
    showScreen(&screen);
    QCOMPARE(child<QTableView>(&screen, "grdRecords")->model()->rowCount(), 10);
    const QFileInfo file(m_folder->filePath(QStringLiteral("Scarico_2019.mrv")));
    QVERIFY(file.exists());
    QCOMPARE(file.size(), 0);

    MessageRecorder messages(Answer::Yes);
    screen.cmdEsportaClick();
    const QByteArray text = m_folder->readAll(QStringLiteral("Registro_Scarico.xls"));
    QCOMPARE(text.count("<tr>"), 11);
    QCOMPARE(m_opened,
        QList<QUrl> {
            QUrl::fromLocalFile(m_folder->filePath(QStringLiteral("Registro_Scarico.xls"))) });
}

QTEST_MAIN(TestExportScreens)
#include "tst_exportscreens.moc"
