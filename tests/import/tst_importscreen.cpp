#include "catalogue/Magazzino.h"
#include "common/CardFixture.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/StoredRecords.h"
#include "common/TempProgramFolder.h"
#include "common/UserInput.h"
#include "customers/Anagrafica.h"
#include "import/Importa.h"
#include "records/ProductRecord.h"
#include "storage/TextForms.h"
#include "suppliers/Fornitori.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {

QString comboText(const TfrmImporta &screen, const QString &field)
{
    const auto *combo = screen.findChild<QComboBox *>(QStringLiteral("cboColonna") + field);
    return combo ? combo->currentText() : QStringLiteral("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// What a card's cmdImporta opens: the screen's name and title.
template <typename Card> void checkCardButton(const QString &title)
{
    CardFixture<Card> f;
    QVERIFY(f.ready());
    auto *button = f.template find<QToolButton>(QStringLiteral("cmdImporta"));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("Importa"));
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    QVERIFY(!button->icon().isNull());
    QString name, windowTitle;
    onNextModal([&](QWidget *modal) {
        name = modal->objectName();
        windowTitle = modal->windowTitle();
    });
    f.click(QStringLiteral("cmdImporta"));
    QCOMPARE(name, QStringLiteral("TfrmImporta"));
    QVERIFY2(windowTitle.contains(title), qPrintable(windowTitle));
}

// The archive after a new card had these fields typed into it (each left for the next, as
// the user does) and Salva pressed. Empty when the card did not save.
template <typename Card> QByteArray typedCard(const QStringList &fields, const QStringList &values)
{
    CardFixture<Card> f;
    if (!f.ready())
        return {};
    for (qsizetype i = 0; i < fields.size(); ++i) {
        QWidget *control = f.find(QStringLiteral("txt") + fields[i]);
        auto *edit = qobject_cast<QLineEdit *>(control);
        if (auto *box = qobject_cast<QComboBox *>(control))
            edit = box->lineEdit();
        if (!edit)
            return {};
        edit->setFocus();
        edit->selectAll();
        typeText(edit, values[i]);
    }
    // The last field is left too.
    f.find(QStringLiteral("txt") + fields[0])->setFocus();
    f.messages.answers = { Messages::Answer::Yes, Messages::Answer::Yes };
    f.click(QStringLiteral("cmdSalva"));
    return f.bytes();
}

// The archive after a file holding these fields (named by the headers) was imported into
// an empty one.
QByteArray importedCard(
    ImportFields::Target target, const QStringList &fields, const QStringList &values)
{
    TempProgramFolder folder;
    MessageRecorder messages;
    const QString path = folder.filePath(QStringLiteral("scheda.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write((fields.join(u';') + u'\n' + values.join(u';') + u'\n').toUtf8());
    file.close();
    TfrmImporta screen(target);
    if (!screen.loadFile(path))
        return {};
    messages.answers = { Messages::Answer::Yes };
    QTest::mouseClick(
        screen.findChild<QPushButton *>(QStringLiteral("btnImporta")), Qt::LeftButton);
    return folder.readAll(ImportFields::archiveOf(target).fileName);
}

} // namespace

class TestImportScreen : public QObject
{
    Q_OBJECT
private slots:
    void cardsOpenTheScreen();
    void importedCardEqualsTypedCard_data();
    void importedCardEqualsTypedCard();
    void controls();
    void fileTypedAndEnterPresetsAndPreviews();
    void importsAndSays();
    void headerUnchecked();
    void unreadableFileIsSaid();
};

void TestImportScreen::cardsOpenTheScreen()
{
    checkCardButton<TfrmMagazzino>(QStringLiteral("Magazzino Prodotti"));
    checkCardButton<TfrmAnagrafica>(QStringLiteral("Anagrafica Clienti"));
    checkCardButton<TfrmFornitori>(QStringLiteral("Archivio Fornitori"));
}

void TestImportScreen::importedCardEqualsTypedCard_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("values");
    // Only what the card lets be typed: its stock changes by loads and unloads alone.
    using ImportFields::Target;
    QTest::newRow("product") << int(Target::Products)
                             << QStringList { "Codice", "Descrizione", "Sottoscorta", "Costo",
                                    "Prezzo", "PercIva", "Data", "Note" }
                             << QStringList { "a-7", "Vite à testa piana", "3", "1234,5", "10",
                                    "22", "05/03/2021", "  spazi  " };
    QTest::newRow("product price with VAT only")
        << int(Target::Products) << QStringList { "Codice", "Prezzo_con_Iva", "PercIva" }
        << QStringList { "B1", "12,2", "22" };
    QTest::newRow("customer, dates of a new card")
        << int(Target::Customers) << QStringList { "Cognome", "Nome", "ProvRes", "Totale" }
        << QStringList { "Rossi", "Mario", "rm", "100" };
    QTest::newRow("customer") << int(Target::Customers)
                              << QStringList { "Cognome", "Nome", "CodFisc", "Decorrenza",
                                     "Scadenza", "Preavviso", "Rata" }
                              << QStringList { "Bianchi", "Anna", "bnc", "01/01/2021", "01/02/2021",
                                     "30", "15,5" };
    QTest::newRow("supplier") << int(Target::Suppliers)
                              << QStringList { "Ditta", "ProvRes", "PartitaIva", "Note" }
                              << QStringList { "Città Forniture", "to", "01234567890", "nota" };
}

void TestImportScreen::importedCardEqualsTypedCard()
{
    QFETCH(int, target);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, values);
    // The new customer card takes today's date.
    Clock::setFixed(QDateTime(QDate(2021, 3, 15), QTime(10, 20, 30)));
    const auto t = ImportFields::Target(target);
    const QByteArray typed = t == ImportFields::Target::Products
        ? typedCard<TfrmMagazzino>(fields, values)
        : t == ImportFields::Target::Customers ? typedCard<TfrmAnagrafica>(fields, values)
                                               : typedCard<TfrmFornitori>(fields, values);
    const QByteArray imported = importedCard(t, fields, values);
    Clock::reset();
    const RecordLayout &layout = ImportFields::layoutOf(t);
    QCOMPARE(typed.size(), layout.recordSize());
    QCOMPARE(imported.size(), layout.recordSize());
    // Field by field first, so that a difference is named.
    const Record fromCard = Record::fromBytes(layout, typed);
    const Record fromFile = Record::fromBytes(layout, imported);
    for (int i = 0; i < layout.fieldCount(); ++i)
        QCOMPARE(layout.fieldName(i) + u' ' + fromFile.value(i),
            layout.fieldName(i) + u' ' + fromCard.value(i));
    QCOMPARE(imported, typed);
}

void TestImportScreen::controls()
{
    TempProgramFolder folder;
    TfrmImporta screen(ImportFields::Target::Products);
    QCOMPARE(screen.objectName(), QStringLiteral("TfrmImporta"));
    for (const char *name :
        { "txtFile", "btnSfoglia", "cboFoglio", "chkIntestazione", "grdCorrispondenze",
            "grdAnteprima", "cboDoppi", "lblRiepilogo", "btnImporta", "btnChiudi", "prgImporta" })
        QVERIFY2(screen.findChild<QWidget *>(QString::fromLatin1(name)), name);
    QCOMPARE(screen.findChild<QCheckBox *>(QStringLiteral("chkIntestazione"))->text(),
        QStringLiteral("La prima riga contiene i nomi delle colonne"));
    QCOMPARE(screen.findChild<QPushButton *>(QStringLiteral("btnImporta"))->text(),
        QStringLiteral("Importa"));
    QCOMPARE(screen.findChild<QPushButton *>(QStringLiteral("btnChiudi"))->text(),
        QStringLiteral("Chiudi"));
    const auto *doppi = screen.findChild<QComboBox *>(QStringLiteral("cboDoppi"));
    QStringList choices;
    for (int i = 0; i < doppi->count(); ++i)
        choices.append(doppi->itemText(i));
    QCOMPARE(choices,
        (QStringList { "Salta le schede già presenti", "Aggiorna le schede già presenti",
            "Aggiungi comunque" }));
    const auto *map = screen.findChild<QTableWidget *>(QStringLiteral("grdCorrispondenze"));
    QCOMPARE(map->rowCount(), ImportFields::fields(ImportFields::Target::Products).size());
    QCOMPARE(map->item(0, 0)->text(), QStringLiteral("Codice articolo"));
    QCOMPARE(comboText(screen, QStringLiteral("Codice")), QStringLiteral("(non importare)"));
}

void TestImportScreen::fileTypedAndEnterPresetsAndPreviews()
{
    TempProgramFolder folder;
    const QString path = folder.filePath(QStringLiteral("listino.csv"));
    writeFile(path,
        "Codice;Descrizione;Quantit\xE0;Prezzo di vendita;Colore\r\n"
        "A1;Dado;3;1,5;rosso\r\n"
        ";senza codice;1;1;blu\r\n"
        "B2;"
            + QByteArray(300, 'x') + ";1;2;verde\r\n");
    TfrmImporta screen(ImportFields::Target::Products);
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    auto *txtFile = screen.findChild<QLineEdit *>(QStringLiteral("txtFile"));
    txtFile->setFocus();
    QTest::keyClicks(txtFile, path);
    QTest::keyClick(txtFile, Qt::Key_Return);

    QVERIFY(screen.findChild<QCheckBox *>(QStringLiteral("chkIntestazione"))->isChecked());
    QCOMPARE(comboText(screen, QStringLiteral("Codice")), QStringLiteral("A: Codice"));
    QCOMPARE(comboText(screen, QStringLiteral("Descrizione")), QStringLiteral("B: Descrizione"));
    QCOMPARE(comboText(screen, QStringLiteral("Giacenza")), QStringLiteral("C: Quantità"));
    QCOMPARE(comboText(screen, QStringLiteral("Prezzo")), QStringLiteral("D: Prezzo di vendita"));
    QCOMPARE(comboText(screen, QStringLiteral("Marca")), QStringLiteral("(non importare)"));

    const auto *preview = screen.findChild<QTableWidget *>(QStringLiteral("grdAnteprima"));
    QCOMPARE(preview->rowCount(), 3);
    QCOMPARE(preview->columnCount(), 4);
    QCOMPARE(preview->horizontalHeaderItem(0)->text(), QStringLiteral("Codice articolo"));
    // The values as they will be stored.
    QCOMPARE(preview->item(0, 2)->text(), QStringLiteral("1,50"));
    QCOMPARE(preview->item(0, 3)->text(), QStringLiteral("3"));
    QVERIFY(preview->item(0, 0)->toolTip().isEmpty());
    // The row without a code is marked and says why.
    QCOMPARE(preview->item(1, 0)->background().color(), QColor(255, 205, 205));
    QVERIFY2(preview->item(1, 1)->toolTip().contains(QStringLiteral("codice articolo")),
        qPrintable(preview->item(1, 1)->toolTip()));
    // The cell too long for its field.
    QVERIFY2(preview->item(2, 1)->toolTip().contains(QStringLiteral("Testo troppo lungo")),
        qPrintable(preview->item(2, 1)->toolTip()));
    QCOMPARE(preview->item(2, 1)->text().size(), 250);
    QVERIFY(preview->item(2, 0)->toolTip().isEmpty());

    QCOMPARE(screen.findChild<QLabel *>(QStringLiteral("lblRiepilogo"))->text(),
        QStringLiteral("Righe lette: 3. Da importare: 2. Con problemi: 2."));
}

void TestImportScreen::importsAndSays()
{
    TempProgramFolder folder;
    MessageRecorder messages;
    const QString path = folder.filePath(QStringLiteral("listino.csv"));
    writeFile(path, "Codice;Prezzo\nA1;1,5\n;2\nB1;3\n");
    TfrmImporta screen(ImportFields::Target::Products);
    QVERIFY(screen.loadFile(path));
    messages.answers = { Messages::Answer::Yes };
    QTest::mouseClick(
        screen.findChild<QPushButton *>(QStringLiteral("btnImporta")), Qt::LeftButton);
    QCOMPARE(messages.count(), 2);
    QCOMPARE(messages.shown[0].kind, Messages::Kind::Confirmation);
    QCOMPARE(messages.shown[1].kind, Messages::Kind::Information);
    QVERIFY2(messages.shown[1].text.startsWith(QStringLiteral(
                 "Importazione completata: 2 schede aggiunte, 0 aggiornate, 1 righe scartate.")),
        qPrintable(messages.shown[1].text));
    QVERIFY(messages.shown[1].text.contains(QStringLiteral("Scarti_importazione.csv")));
    const QList<Record> records
        = recordsOf(folder, QStringLiteral("Magazzino.mrv"), ProductRecord::layout());
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[1].value(ProductRecord::Prezzo), QStringLiteral("3,00"));
    // Afterwards both rows are in the archive: a second import would skip them.
    QCOMPARE(screen.findChild<QLabel *>(QStringLiteral("lblRiepilogo"))->text(),
        QStringLiteral("Righe lette: 3. Da importare: 0. Con problemi: 1."));

    // Answering No to the question writes nothing.
    messages.clear();
    messages.answers = { Messages::Answer::No };
    screen.findChild<QComboBox *>(QStringLiteral("cboDoppi"))->setCurrentIndex(2);
    const QByteArray before = folder.readAll(QStringLiteral("Magazzino.mrv"));
    QTest::mouseClick(
        screen.findChild<QPushButton *>(QStringLiteral("btnImporta")), Qt::LeftButton);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(folder.readAll(QStringLiteral("Magazzino.mrv")), before);
}

void TestImportScreen::headerUnchecked()
{
    TempProgramFolder folder;
    const QString path = folder.filePath(QStringLiteral("dati.csv"));
    writeFile(path, "Codice;Prezzo\nA1;1,5\n");
    TfrmImporta screen(ImportFields::Target::Products);
    QVERIFY(screen.loadFile(path));
    auto *header = screen.findChild<QCheckBox *>(QStringLiteral("chkIntestazione"));
    QTest::mouseClick(header, Qt::LeftButton);
    QVERIFY(!header->isChecked());
    QCOMPARE(comboText(screen, QStringLiteral("Codice")), QStringLiteral("(non importare)"));
    auto *codice = screen.findChild<QComboBox *>(QStringLiteral("cboColonnaCodice"));
    QCOMPARE(codice->itemText(1), QStringLiteral("Colonna A"));
    codice->setCurrentIndex(1);
    QCOMPARE(screen.findChild<QLabel *>(QStringLiteral("lblRiepilogo"))->text(),
        QStringLiteral("Righe lette: 2. Da importare: 2. Con problemi: 0."));
}

void TestImportScreen::unreadableFileIsSaid()
{
    TempProgramFolder folder;
    MessageRecorder messages;
    const QString path = folder.filePath(QStringLiteral("finto.xlsx"));
    writeFile(path, "Codice;Prezzo\n");
    TfrmImporta screen(ImportFields::Target::Suppliers);
    QVERIFY(!screen.loadFile(path));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QVERIFY(messages.lastText().contains(QStringLiteral("contiene solo testo")));
    QCOMPARE(screen.findChild<QLabel *>(QStringLiteral("lblRiepilogo"))->text(),
        QStringLiteral("Righe lette: 0. Da importare: 0. Con problemi: 0."));
}

QTEST_MAIN(TestImportScreen)
#include "tst_importscreen.moc"
