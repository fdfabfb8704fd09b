#include "catalogue/Giacenza.h"

#include "app/FieldEntry.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/StoredRecords.h"
#include "common/TempProgramFolder.h"
#include "records/ProductRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using MovementRecord::Kind;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MovementRecord::Kind)
Q_DECLARE_METATYPE(Messages::Answer)

namespace {

const QDateTime kOpening(QDate(2021, 12, 31), QTime(23, 59, 59));

// The card's values of the product stored first in the archive.
MovementInput cardValues(const QString &stock, const QString &amount)
{
    return { QStringLiteral("  ART-001 "), QStringLiteral("Pneumatici"),
        QStringLiteral("Michelin "), QStringLiteral("Pilot Sport 4"), stock, amount, 0 };
}

// Stores the product the dialog's movements apply to, with this stock and a cost of 2,00.
bool storeProduct(const QString &stock)
{
    Record product(ProductRecord::layout());
    product.setValue(ProductRecord::Codice, QStringLiteral("ART-001"));
    product.setValue(ProductRecord::Giacenza, stock);
    product.setValue(ProductRecord::Costo, QStringLiteral("2,00"));
    RecordFile file;
    return file.open(ProductRecord::archive()) && file.append(product);
}

QString storedStock()
{
    RecordFile file;
    Record product(ProductRecord::layout());
    if (!file.open(ProductRecord::archive(), RecordFile::Access::ReadOnly)
        || !file.readAt(0, product))
        return QStringLiteral("<none>");
    return product.value(ProductRecord::Giacenza);
}

QLineEdit *edit(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLineEdit *>(QString::fromLatin1(name));
}

QPushButton *button(QWidget *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QString::fromLatin1(name));
}

// Runs the dialog the way the card does, driving it with actions once it is shown.
// Whatever the actions leave open is cancelled, so a failing check never hangs the test.
bool runDialog(Kind kind, const MovementInput &input, QString *newStock,
    const std::function<void(TfrmGiacenza *)> &actions)
{
    Record product(ProductRecord::layout());
    onNextModal([actions](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmGiacenza *>(modal);
        if (!dialog)
            return;
        if (QTest::qWaitForWindowActive(dialog))
            actions(dialog);
        if (dialog->isVisible())
            dialog->btnChiudiClick();
    });
    if (!TfrmGiacenza::run(nullptr, kind, input, &product))
        return false;
    *newStock = product.value(ProductRecord::Giacenza);
    return true;
}

} // namespace

class TestMovementDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controls_data();
    void controls();
    void window();
    void filledPerKind_data();
    void filledPerKind();
    void enterMovesFocus_data();
    void enterMovesFocus();
    void everyKeyEmptiesTotal_data();
    void everyKeyEmptiesTotal();
    void typedQuantity_data();
    void typedQuantity();
    void calcolaTotale();
    void applyRecordsOneMovement_data();
    void applyRecordsOneMovement();
    void dateAndTimeOfOpening();
    void annullaWritesNothing();
    void onlyButtonsClose();
    void unwritableFileReportsAndKeepsStock();
    void negativeStockAsks_data();
    void negativeStockAsks();
    void changedCardRecordsNothing_data();
    void changedCardRecordsNothing();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

void TestMovementDialog::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->isValid());
    Clock::setFixed(kOpening);
}

void TestMovementDialog::cleanup()
{
    Clock::reset();
    m_folder.reset();
}

void TestMovementDialog::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("readOnly");
    const struct
    {
        const char *name, *className;
        bool readOnly;
    } rows[] = {
        { "lblGiacenza", "QLabel", false },
        { "txtGiacenza", "QLineEdit", true },
        { "lblAggiunta", "QLabel", false },
        { "txtAggiunta", "QLineEdit", false },
        { "btnTotale", "QPushButton", false },
        { "txtTotale", "QLineEdit", true },
        { "txtOperazione", "QLabel", false },
        { "titData", "QLabel", false },
        { "txtData", "QLineEdit", true },
        { "titOra", "QLabel", false },
        { "txtOra", "QLineEdit", true },
        { "titCodice", "QLabel", false },
        { "txtCodice", "QLineEdit", true },
        { "titTipologia", "QLabel", false },
        { "txtTipologia", "QLineEdit", true },
        { "titMarca", "QLabel", false },
        { "txtMarca", "QLineEdit", true },
        { "titModello", "QLabel", false },
        { "txtModello", "QLineEdit", true },
        { "titImporto", "QLabel", false },
        { "txtImporto", "QLineEdit", true },
        { "titNote", "QLabel", false },
        { "txtNote", "QLineEdit", false },
        { "btnChiudi", "QPushButton", false },
        { "btnAggiorna", "QPushButton", false },
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name)
                                << QString::fromLatin1(row.className) << row.readOnly;
}

void TestMovementDialog::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(bool, readOnly);
    TfrmGiacenza dialog;
    auto *w = dialog.findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), className);
    if (auto *line = qobject_cast<QLineEdit *>(w))
        QCOMPARE(line->isReadOnly(), readOnly);
}

void TestMovementDialog::window()
{
    TfrmGiacenza dialog;
    dialog.fill(Kind::Load, cardValues(QStringLiteral("10"), QStringLiteral("1,00")));
    QCOMPARE(dialog.objectName(), QStringLiteral("TfrmGiacenza"));
    QCOMPARE(dialog.windowTitle(),
        QStringLiteral(" Registrazione movimento merce e aggiornamento giacenza"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(button(&dialog, "btnTotale")->text(), QStringLiteral("Calcola totale"));
    QCOMPARE(button(&dialog, "btnChiudi")->text(), QStringLiteral("Annulla"));
    QCOMPARE(button(&dialog, "btnAggiorna")->text(), QStringLiteral("Applica e chiudi"));
    QCOMPARE(FieldEntry::typingLimit(edit(&dialog, "txtAggiunta")), 8);
    QCOMPARE(FieldEntry::typingLimit(edit(&dialog, "txtNote")), 250);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.focusWidget(), edit(&dialog, "txtAggiunta"));
    dialog.btnChiudiClick();
}

void TestMovementDialog::filledPerKind_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("quantityCaption");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("amountCaption");
    QTest::newRow("load") << Kind::Load << QStringLiteral("Quantità da aggiungere:")
                          << QStringLiteral("OPERAZIONE DI CARICO")
                          << QStringLiteral("Costo unitario:");
    QTest::newRow("unload") << Kind::Unload << QStringLiteral("Quantità da sottrarre:")
                            << QStringLiteral("OPERAZIONE DI SCARICO")
                            << QStringLiteral("Prezzo unitario:");
}

void TestMovementDialog::filledPerKind()
{
    QFETCH(Kind, kind);
    TfrmGiacenza dialog;
    dialog.fill(kind, cardValues(QStringLiteral(" 12 "), QStringLiteral(" 85,50 ")));
    QTEST(dialog.findChild<QLabel *>(QStringLiteral("lblAggiunta"))->text(), "quantityCaption");
    QTEST(dialog.findChild<QLabel *>(QStringLiteral("txtOperazione"))->text(), "operation");
    QTEST(dialog.findChild<QLabel *>(QStringLiteral("titImporto"))->text(), "amountCaption");
    QCOMPARE(edit(&dialog, "txtImporto")->text(), QStringLiteral("85,50"));
    QCOMPARE(edit(&dialog, "txtGiacenza")->text(), QStringLiteral("12"));
    QCOMPARE(edit(&dialog, "txtTotale")->text(), QStringLiteral("12"));
    QCOMPARE(edit(&dialog, "txtAggiunta")->text(), QStringLiteral("0"));
    QCOMPARE(edit(&dialog, "txtCodice")->text(), QStringLiteral("ART-001"));
    QCOMPARE(edit(&dialog, "txtMarca")->text(), QStringLiteral("Michelin"));
    QCOMPARE(edit(&dialog, "txtData")->text(), QStringLiteral("31/12/2021"));
    QCOMPARE(edit(&dialog, "txtOra")->text(), QStringLiteral("23:59:59"));
}

void TestMovementDialog::enterMovesFocus_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("totale");
    // Enter in the quantity empties the total like every key and does not press
    // "Calcola totale": the total stays empty instead of becoming 15.
    QTest::newRow("quantity to Calcola totale")
        << QStringLiteral("txtAggiunta") << QStringLiteral("btnTotale") << QString();
    QTest::newRow("stock to quantity")
        << QStringLiteral("txtGiacenza") << QStringLiteral("txtAggiunta") << QStringLiteral("10");
}

void TestMovementDialog::enterMovesFocus()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    TfrmGiacenza dialog;
    dialog.fill(Kind::Load, cardValues(QStringLiteral("10"), QStringLiteral("1,00")));
    edit(&dialog, "txtAggiunta")->setText(QStringLiteral("5"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget *field = dialog.findChild<QWidget *>(from);
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), field);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.findChild<QWidget *>(to));
    QTEST(edit(&dialog, "txtTotale")->text(), "totale");
    QVERIFY(dialog.isVisible());
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList());
    dialog.btnChiudiClick();
}

void TestMovementDialog::everyKeyEmptiesTotal_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("quantity");
    QTest::newRow("digit") << int(Qt::Key_7) << QStringLiteral("127");
    QTest::newRow("rejected letter") << int(Qt::Key_A) << QStringLiteral("12");
    QTest::newRow("rejected minus") << int(Qt::Key_Minus) << QStringLiteral("12");
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << QStringLiteral("1");
    QTest::newRow("Left") << int(Qt::Key_Left) << QStringLiteral("12");
    QTest::newRow("Delete at the end") << int(Qt::Key_Delete) << QStringLiteral("12");
    QTest::newRow("Enter") << int(Qt::Key_Return) << QStringLiteral("12");
}

void TestMovementDialog::everyKeyEmptiesTotal()
{
    QFETCH(int, key);
    TfrmGiacenza dialog;
    dialog.fill(Kind::Load, cardValues(QStringLiteral("10"), QStringLiteral("1,00")));
    QLineEdit *quantity = edit(&dialog, "txtAggiunta");
    quantity->setText(QStringLiteral("12"));
    dialog.btnTotaleClick();
    QCOMPARE(edit(&dialog, "txtTotale")->text(), QStringLiteral("22"));
    QTest::keyClick(quantity, Qt::Key(key));
    QCOMPARE(edit(&dialog, "txtTotale")->text(), QString());
    QTEST(quantity->text(), "quantity");
}

void TestMovementDialog::typedQuantity_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("afterLeaving");
    QTest::newRow("digits") << QStringLiteral("25") << QStringLiteral("25") << QStringLiteral("25");
    QTest::newRow("letters, sign, point and comma dropped")
        << QStringLiteral("-1a.2,3 ") << QStringLiteral("123") << QStringLiteral("123");
    QTest::newRow("limit of 8") << QStringLiteral("123456789") << QStringLiteral("12345678")
                                << QStringLiteral("12345678");
    QTest::newRow("leading zeros")
        << QStringLiteral("007") << QStringLiteral("007") << QStringLiteral("7");
    QTest::newRow("nothing left") << QString() << QString() << QStringLiteral("0");
}

void TestMovementDialog::typedQuantity()
{
    QFETCH(QString, typed);
    TfrmGiacenza dialog;
    dialog.fill(Kind::Unload, cardValues(QStringLiteral("10"), QStringLiteral("1,00")));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit *quantity = edit(&dialog, "txtAggiunta");
    quantity->setFocus();
    QTRY_VERIFY(quantity->hasFocus());
    quantity->clear();
    QTest::keyClicks(quantity, typed);
    QTEST(quantity->text(), "shown");
    edit(&dialog, "txtNote")->setFocus();
    QTRY_VERIFY(!quantity->hasFocus());
    QTEST(quantity->text(), "afterLeaving");
    dialog.btnChiudiClick();
}

void TestMovementDialog::calcolaTotale()
{
    TfrmGiacenza dialog;
    dialog.fill(Kind::Unload, cardValues(QStringLiteral("3"), QStringLiteral("1,00")));
    edit(&dialog, "txtAggiunta")->setText(QStringLiteral("5"));
    QTest::mouseClick(button(&dialog, "btnTotale"), Qt::LeftButton);
    QCOMPARE(edit(&dialog, "txtTotale")->text(), QStringLiteral("-2"));

    // A stock that is not a number turns all three numbers to "0", without a message.
    MessageRecorder messages;
    dialog.fill(Kind::Load, cardValues(QStringLiteral("1x"), QStringLiteral("1,00")));
    edit(&dialog, "txtAggiunta")->setText(QStringLiteral("5"));
    dialog.btnTotaleClick();
    for (const char *name : { "txtGiacenza", "txtAggiunta", "txtTotale" })
        QCOMPARE(edit(&dialog, name)->text(), QStringLiteral("0"));
    QCOMPARE(messages.count(), 0);
}

void TestMovementDialog::applyRecordsOneMovement_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("newStock");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("quantita");
    QTest::addColumn<QString>("importo");
    QTest::newRow("load 10 + 5") << Kind::Load << QStringLiteral("10") << QStringLiteral("12,50")
                                 << QStringLiteral("5") << QStringLiteral("15")
                                 << QStringLiteral("Carico_2021.mrv") << QStringLiteral("5")
                                 << QStringLiteral("12,50");
    QTest::newRow("unload 5 of 3")
        << Kind::Unload << QStringLiteral("3") << QStringLiteral("20,00") << QStringLiteral("5")
        << QStringLiteral("-2") << QStringLiteral("Scarico_2021.mrv") << QStringLiteral("5")
        << QStringLiteral("20,00");
    QTest::newRow("quantity left at 0")
        << Kind::Load << QStringLiteral("10") << QStringLiteral("1,00") << QString()
        << QStringLiteral("10") << QStringLiteral("Carico_2021.mrv") << QStringLiteral("0")
        << QStringLiteral("1,00");
    QTest::newRow("no amount on the card")
        << Kind::Unload << QStringLiteral("7") << QString() << QStringLiteral("2")
        << QStringLiteral("5") << QStringLiteral("Scarico_2021.mrv") << QStringLiteral("2")
        << QStringLiteral("0,00");
    // Leading zeros are typed but the quantity is recorded as a count.
    QTest::newRow("leading zeros")
        << Kind::Load << QStringLiteral("-4") << QStringLiteral("3,1416") << QStringLiteral("006")
        << QStringLiteral("2") << QStringLiteral("Carico_2021.mrv") << QStringLiteral("6")
        << QStringLiteral("3,1416");
}

void TestMovementDialog::applyRecordsOneMovement()
{
    QFETCH(Kind, kind);
    QFETCH(QString, stock);
    QFETCH(QString, amount);
    QFETCH(QString, typed);
    QFETCH(QString, fileName);
    QFETCH(QString, newStock);
    QVERIFY(storeProduct(stock));
    // An unload below zero asks first; Sì records it.
    MessageRecorder messages(Messages::Answer::Yes);
    const QString expectedStock = newStock;
    newStock = QStringLiteral("unchanged");
    const bool applied
        = runDialog(kind, cardValues(stock, amount), &newStock, [typed](TfrmGiacenza *dialog) {
              QLineEdit *quantity = edit(dialog, "txtAggiunta");
              quantity->setFocus();
              if (!typed.isEmpty()) {
                  QTest::keyClick(quantity, Qt::Key_Backspace);
                  QTest::keyClicks(quantity, typed);
              }
              QTest::keyClicks(edit(dialog, "txtNote"), QStringLiteral("consegna urgente"));
              quantity->setFocus();
              QTest::mouseClick(button(dialog, "btnAggiorna"), Qt::LeftButton);
          });
    QVERIFY(applied);
    QCOMPARE(newStock, expectedStock);
    QCOMPARE(storedStock(), expectedStock);
    QCOMPARE(messages.count(), expectedStock.startsWith(u'-') ? 1 : 0);

    QStringList files { fileName, QStringLiteral("Magazzino.mrv") };
    files.sort();
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), files);
    QCOMPARE(m_folder->readAll(fileName).size(), MovementRecord::kRecordSize);
    const Record r = recordsOf(*m_folder, fileName, MovementRecord::layout()).first();
    QCOMPARE(r.value(MovementRecord::Data), QStringLiteral("31/12/2021"));
    QCOMPARE(r.value(MovementRecord::Ora), QStringLiteral("23:59:59"));
    QCOMPARE(r.value(MovementRecord::Codice), QStringLiteral("ART-001"));
    QCOMPARE(r.value(MovementRecord::Tipologia), QStringLiteral("Pneumatici"));
    QCOMPARE(r.value(MovementRecord::Marca), QStringLiteral("Michelin"));
    QCOMPARE(r.value(MovementRecord::Modello), QStringLiteral("Pilot Sport 4"));
    QTEST(r.value(MovementRecord::Quantita), "quantita");
    QTEST(r.value(MovementRecord::Importo), "importo");
    QCOMPARE(r.value(MovementRecord::Note), QStringLiteral("consegna urgente"));
}

// The movement keeps the date and time of the moment the dialog opened, even when it is
// applied after midnight of the new year.
void TestMovementDialog::dateAndTimeOfOpening()
{
    QVERIFY(storeProduct(QStringLiteral("4")));
    QString newStock;
    QVERIFY(runDialog(Kind::Unload, cardValues(QStringLiteral("4"), QStringLiteral("9,90")),
        &newStock, [](TfrmGiacenza *dialog) {
            Clock::setFixed(QDateTime(QDate(2022, 1, 1), QTime(0, 0, 5)));
            edit(dialog, "txtAggiunta")->setText(QStringLiteral("1"));
            QTest::mouseClick(button(dialog, "btnAggiorna"), Qt::LeftButton);
        }));
    QCOMPARE(newStock, QStringLiteral("3"));
    QVERIFY(!QFile::exists(m_folder->filePath(QStringLiteral("Scarico_2022.mrv"))));
    const QList<Record> records
        = recordsOf(*m_folder, QStringLiteral("Scarico_2021.mrv"), MovementRecord::layout());
    QCOMPARE(records.size(), 1);
    QCOMPARE(records[0].value(MovementRecord::Data), QStringLiteral("31/12/2021"));
    QCOMPARE(records[0].value(MovementRecord::Ora), QStringLiteral("23:59:59"));
}

void TestMovementDialog::annullaWritesNothing()
{
    QString newStock = QStringLiteral("10");
    QVERIFY(!runDialog(Kind::Load, cardValues(QStringLiteral("10"), QStringLiteral("1,00")),
        &newStock, [](TfrmGiacenza *dialog) {
            QTest::keyClicks(edit(dialog, "txtAggiunta"), QStringLiteral("5"));
            dialog->btnTotaleClick();
            QTest::mouseClick(button(dialog, "btnChiudi"), Qt::LeftButton);
        }));
    QCOMPARE(newStock, QStringLiteral("10"));
    QCOMPARE(
        QDir(m_folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestMovementDialog::onlyButtonsClose()
{
    TfrmGiacenza dialog;
    dialog.fill(Kind::Load, cardValues(QStringLiteral("10"), QStringLiteral("1,00")));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.close());
    QVERIFY(dialog.isVisible());
    dialog.btnChiudiClick();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

// When the yearly file cannot be written the user is told, nothing is recorded, the card
// keeps its stock, and the dialog stays open: once the folder is writable again, a second
// "Applica e chiudi" records the movement.
void TestMovementDialog::unwritableFileReportsAndKeepsStock()
{
    MessageRecorder messages;
    QVERIFY(storeProduct(QStringLiteral("10")));
    const QByteArray storedBefore = m_folder->readAll(QStringLiteral("Magazzino.mrv"));
    // A folder in the place of the yearly file cannot be written, even by root.
    const QString blocked = m_folder->filePath(QStringLiteral("Carico_2021.mrv"));
    QVERIFY(QDir().mkdir(blocked));

    QString newStock = QStringLiteral("10");
    bool stayedOpen = false;
    bool filesAfterFailure = true;
    QVERIFY(!runDialog(Kind::Load, cardValues(QStringLiteral("10"), QStringLiteral("1,00")),
        &newStock, [&](TfrmGiacenza *dialog) {
            edit(dialog, "txtAggiunta")->setText(QStringLiteral("5"));
            QTest::mouseClick(button(dialog, "btnAggiorna"), Qt::LeftButton);
            stayedOpen = dialog->isVisible();
            // The stored product got its old stock back.
            filesAfterFailure = QDir(m_folder->path()).entryList(QDir::Files)
                    != QStringList { QStringLiteral("Magazzino.mrv") }
                || m_folder->readAll(QStringLiteral("Magazzino.mrv")) != storedBefore;
            QTest::mouseClick(button(dialog, "btnChiudi"), Qt::LeftButton);
        }));
    QVERIFY(stayedOpen);
    QVERIFY(!filesAfterFailure);
    QCOMPARE(newStock, QStringLiteral("10"));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QCOMPARE(messages.lastText(), accessErrorText());

    bool retried = false;
    QVERIFY(runDialog(Kind::Load, cardValues(QStringLiteral("10"), QStringLiteral("1,00")),
        &newStock, [&](TfrmGiacenza *dialog) {
            edit(dialog, "txtAggiunta")->setText(QStringLiteral("5"));
            dialog->btnAggiornaClick();
            retried = dialog->isVisible() && QDir().rmdir(blocked);
            dialog->btnAggiornaClick();
        }));
    QVERIFY(retried);
    QCOMPARE(messages.count(), 2);
    QCOMPARE(newStock, QStringLiteral("15"));
    QCOMPARE(storedStock(), QStringLiteral("15"));
    QCOMPARE(
        recordsOf(*m_folder, QStringLiteral("Carico_2021.mrv"), MovementRecord::layout()).size(),
        1);
}

void TestMovementDialog::negativeStockAsks_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<Messages::Answer>("answer");
    QTest::addColumn<QString>("question"); // empty: none asked
    QTest::addColumn<QString>("stored"); // the stock stored afterwards
    const auto yes = Messages::Answer::Yes;
    const auto no = Messages::Answer::No;
    const QString minus4
        = QStringLiteral("La giacenza diventerà negativa (-4). Registrare lo scarico?");
    QTest::newRow("5 of 1, Si") << Kind::Unload << u"1"_s << u"5"_s << yes << minus4 << u"-4"_s;
    QTest::newRow("5 of 1, No") << Kind::Unload << u"1"_s << u"5"_s << no << minus4 << u"1"_s;
    QTest::newRow("1 of 1") << Kind::Unload << u"1"_s << u"1"_s << no << QString() << u"0"_s;
    QTest::newRow("1 of -2, No")
        << Kind::Unload << u"-2"_s << u"1"_s << no
        << QStringLiteral("La giacenza diventerà negativa (-3). Registrare lo scarico?") << u"-2"_s;
    QTest::newRow("load to -3") << Kind::Load << u"-4"_s << u"1"_s << no << QString() << u"-3"_s;
}

void TestMovementDialog::negativeStockAsks()
{
    QFETCH(Kind, kind);
    QFETCH(QString, stock);
    QFETCH(QString, quantity);
    QFETCH(Messages::Answer, answer);
    QFETCH(QString, question);
    QFETCH(QString, stored);
    QVERIFY(storeProduct(stock));
    MessageRecorder messages(answer);
    bool stayedOpen = false;
    QString newStock;
    const bool applied
        = runDialog(kind, cardValues(stock, QStringLiteral("1,00")), &newStock, [&](auto *dialog) {
              edit(dialog, "txtAggiunta")->setText(quantity);
              dialog->btnAggiornaClick();
              stayedOpen = dialog->isVisible();
          });
    QCOMPARE(messages.count(), question.isEmpty() ? 0 : 1);
    if (!question.isEmpty()) {
        QCOMPARE(messages.lastKind(), Messages::Kind::Confirmation);
        QCOMPARE(messages.lastText(), question);
    }
    // No keeps the dialog open with nothing recorded; Annulla then closes it.
    const bool refused = !question.isEmpty() && answer == Messages::Answer::No;
    QCOMPARE(applied, !refused);
    QCOMPARE(stayedOpen, refused);
    QCOMPARE(storedStock(), stored);
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files).size(), refused ? 1 : 2);
}

// The stored product is no longer the card's (another copy changed its code or removed
// it): nothing is written and the user is told.
void TestMovementDialog::changedCardRecordsNothing_data()
{
    QTest::addColumn<QString>("storedCode");
    QTest::addColumn<qint64>("index");
    QTest::newRow("other code") << u"ART-002"_s << qint64(0);
    QTest::newRow("no such position") << u"ART-001"_s << qint64(3);
}

void TestMovementDialog::changedCardRecordsNothing()
{
    QFETCH(QString, storedCode);
    QFETCH(qint64, index);
    Record product(ProductRecord::layout());
    product.setValue(ProductRecord::Codice, storedCode);
    product.setValue(ProductRecord::Giacenza, u"2"_s);
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()) && file.append(product));
    }
    const QByteArray before = m_folder->readAll(QStringLiteral("Magazzino.mrv"));
    MessageRecorder messages;
    MovementInput input = cardValues(u"2"_s, u"1,00"_s);
    input.index = index;
    QString newStock;
    QVERIFY(!runDialog(Kind::Load, input, &newStock, [](auto *dialog) {
        edit(dialog, "txtAggiunta")->setText(u"4"_s);
        dialog->btnAggiornaClick();
    }));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QCOMPARE(messages.lastText(), TfrmGiacenza::cardChangedText());
    QCOMPARE(m_folder->readAll(QStringLiteral("Magazzino.mrv")), before);
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList { u"Magazzino.mrv"_s });
}

QTEST_MAIN(TestMovementDialog)
#include "tst_movementdialog.moc"
