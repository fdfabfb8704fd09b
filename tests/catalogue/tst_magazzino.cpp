#include "catalogue/Magazzino.h"

#include "app/FieldEntry.h"
#include "cards/CardBinding.h"
#include "catalogue/DatiPneumatici.h"
#include "common/CardFixture.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/StoredRecords.h"
#include "common/TempProgramFolder.h"
#include "common/UserInput.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "storage/Cp1252.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

using Kind = Messages::Kind;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Messages::Answer)

namespace {

// The product record on disk, field by field: name, offset and the control that holds it.
constexpr int kRecordSize = 4874;
const struct
{
    const char *field;
    int offset;
    const char *control;
} kStoredFields[] = {
    { "Codice", 0, "txtCodice" },
    { "Tipologia", 31, "txtTipologia" },
    { "Marca", 282, "txtMarca" },
    { "Modello", 533, "txtModello" },
    { "Accessori", 784, "txtAccessori" },
    { "Descrizione", 1035, "txtDescrizione" },
    { "Fornitore", 1286, "txtFornitore" },
    { "Recapiti", 1537, "txtRecapiti" },
    { "Data", 1588, "txtData" },
    { "Costo", 1639, "txtCosto" },
    { "Valore", 1655, "txtValore" },
    { "Documento", 1671, "txtDocumento" },
    { "Ordine", 1922, "txtOrdine" },
    { "Prezzo", 2173, "txtPrezzo" },
    { "PercIva", 2189, "txtPercIva" },
    { "Prezzo_con_Iva", 2192, "txtPrezzo_con_Iva" },
    { "Collocazione", 2208, "txtCollocazione" },
    { "Giacenza", 2459, "txtGiacenza" },
    { "Sottoscorta", 2475, "txtSottoscorta" },
    { "Consumo", 2491, "memConsumo" },
    { "Aderenza", 2522, "memAderenza" },
    { "Rumore", 2553, "memRumore" },
    { "Onde", 2584, "memOnde" },
    { "Note", 2615, "txtNote" },
    { "File01", 2866, "lblFile01" },
    { "File02", 3117, "lblFile02" },
    { "File03", 3368, "lblFile03" },
    { "Desc01", 3619, "lblDesc01" },
    { "Desc02", 3870, "lblDesc02" },
    { "Desc03", 4121, "lblDesc03" },
    { "Cartella", 4372, "lblCartella" },
    { "CartellaDesc", 4623, "lblCartellaDesc" },
};

int offsetOf(const QString &field)
{
    for (const auto &f : kStoredFields) {
        if (field == QLatin1StringView(f.field))
            return f.offset;
    }
    return -1;
}

// The text of a field as it lies on disk: the length byte at its offset, then the bytes.
QString storedText(const QByteArray &file, int record, const QString &field)
{
    const qsizetype at = qsizetype(record) * kRecordSize + offsetOf(field);
    if (offsetOf(field) < 0 || at >= file.size())
        return QStringLiteral("<missing>");
    const int length = quint8(file.at(at));
    return Cp1252::decode(QByteArrayView(file).sliced(at + 1, length));
}

const QString kAccessError = QStringLiteral(
    "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
    "i privilegi di scrittura nella cartella di installazione del programma.");
const QString kInserted = QStringLiteral("La scheda corrente è stata inserita in archivio.");
const QString kRewritten
    = QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
const QString kMissingCode
    = QStringLiteral("Attenzione: per salvare la scheda è necessario indicare il codice articolo.");

Record product(const QString &code)
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, code);
    return r;
}

// A product with every field filled, the numbers consistent with each other, so that a
// save stores it unchanged.
Record fullProduct()
{
    Record r(ProductRecord::layout());
    for (int i = 0; i < r.layout().fieldCount(); ++i)
        r.setValue(i, r.layout().fieldName(i).toLower() + QStringLiteral(" è"));
    using namespace ProductRecord;
    r.setValue(Codice, QStringLiteral("  ART-001  "));
    r.setValue(Data, QStringLiteral("05/03/2021"));
    r.setValue(Costo, QStringLiteral("2,50"));
    r.setValue(Giacenza, QStringLiteral("4"));
    r.setValue(Valore, QStringLiteral("10,00"));
    r.setValue(Prezzo, QStringLiteral("10,00"));
    r.setValue(PercIva, QStringLiteral("22"));
    r.setValue(Prezzo_con_Iva, QStringLiteral("12,20"));
    r.setValue(Sottoscorta, QStringLiteral("3"));
    return r;
}

bool writeArchive(const QList<Record> &records)
{
    RecordFile file;
    if (!file.open(ProductRecord::archive()))
        return false;
    for (const Record &r : records) {
        if (!file.append(r))
            return false;
    }
    return true;
}

// The shared modal probe, with the dialog made the active window first: the checks
// follow the keyboard focus inside it.
void onModal(const std::function<void(QDialog *)> &actions)
{
    onNextModal([actions](QWidget *modal) {
        auto *dialog = qobject_cast<QDialog *>(modal);
        if (!dialog)
            return;
        dialog->activateWindow();
        if (QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }))
            actions(dialog);
    });
}

using Fixture = CardFixture<TfrmMagazzino>;

// How many times a message of this text was shown.
int shownCount(const MessageRecorder &messages, const QString &text)
{
    int n = 0;
    for (const auto &shown : messages.shown)
        n += shown.text == text;
    return n;
}

} // namespace

class TestMagazzino : public QObject
{
    Q_OBJECT
private slots:
    void contract_data();
    void contract();
    void typingLimits_data();
    void typingLimits();
    void enterOrder_data();
    void enterOrder();
    void newCardOnEveryShow();
    void typing_data();
    void typing();
    void pastedText_data();
    void pastedText();
    void hints_data();
    void hints();
    void hintsBackgroundAndFields();
    void storedLayout_data();
    void storedLayout();
    void saveAppendsThenRewrites();
    void saveNormalises_data();
    void saveNormalises();
    void saveRefusals_data();
    void saveRefusals();
    void saveKeepsTypedCost();
    void priceButtons_data();
    void priceButtons();
    void pushButtonRunsLeavingRuleFirst();
    void duplicate();
    void accessErrors_data();
    void accessErrors();
    void readOnlyFolder();
    void damagedFiles();
    void otherInformation_data();
    void otherInformation();
    void movementButtons();
    void movementStoredWithCard_data();
    void movementStoredWithCard();
    void movementAsksToSaveFirst_data();
    void movementAsksToSaveFirst();
    void stockAndRegistersAgree_data();
    void stockAndRegistersAgree();
    void pdfExport();
    void help();
    void bindingIgnoresDialogs();
};

void TestMagazzino::contract_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");

    const QString none = QStringLiteral("<any>");
    auto row = [&](const char *name, const char *cls, const QString &text, bool enabled = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << text
                            << enabled;
    };
    row("TfrmMagazzino", "QWidget", none);
    for (const char *name : { "txtCodice", "txtTipologia", "txtMarca", "txtModello", "txtAccessori",
             "txtDescrizione", "txtFornitore", "txtRecapiti", "txtData", "txtCosto", "txtValore",
             "txtDocumento", "txtOrdine", "txtPrezzo", "txtPercIva", "txtPrezzo_con_Iva",
             "txtCollocazione", "txtGiacenza", "txtSottoscorta", "txtNote" })
        row(name, "QLineEdit", none);
    for (const char *name : { "effCodice", "effGiacenza", "effPrezzo_con_Iva", "effNote" })
        row(name, "QWidget", none);
    for (const char *name : { "memConsumo", "memAderenza", "memRumore", "memOnde", "lblFile01",
             "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03", "lblCartella",
             "lblCartellaDesc", "lblPosizione", "imgDecoro" })
        row(name, "QLabel", none);
    row("panInfo", "QLabel", QStringLiteral("Pronto per archiviare una nuova scheda..."));
    for (const char *name : { "panContainer", "shpContainer", "shpSezione01", "shpSezione02",
             "shpSezione03", "shpSezione04", "panControlli", "shpFrecce" })
        row(name, "QWidget", none);
    row("cmdNuovo", "QToolButton", QStringLiteral("Nuovo"));
    row("cmdDuplica", "QToolButton", QStringLiteral("Duplica"));
    row("cmdFile", "QToolButton", QStringLiteral("Allega file"));
    row("cmdSalva", "QToolButton", QStringLiteral("Salva"));
    row("cmdTrova", "QToolButton", QStringLiteral("Trova"), true);
    row("cmdStampa", "QToolButton", QStringLiteral("Stampa"));
    row("cmdPDF", "QToolButton", QStringLiteral("Crea PDF"));
    row("cmdWeb", "QToolButton", QStringLiteral("Cerca sul Web"), true);
    row("cmdSottoscorta", "QToolButton", QStringLiteral("Sottoscorta"));
    row("cmdEsporta", "QToolButton", QStringLiteral("Esporta archivio"));
    row("cmdGuida", "QToolButton", QStringLiteral("Guida"));
    row("cmdEsci", "QToolButton", QStringLiteral("Esci"));
    for (const char *name : { "cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo" })
        row(name, "QToolButton", none);
    row("impFornitore", "QToolButton", none, true);
    row("btnPneumatici", "QPushButton", QStringLiteral("Altre informazioni"));
    row("btnAggiungi", "QPushButton", QStringLiteral("+"));
    row("btnSottrai", "QPushButton", QStringLiteral("-"));
    row("btnValore", "QPushButton", QStringLiteral("Calcola valore"));
    row("btnCalcola", "QPushButton", QStringLiteral("Calcola"));
    row("btnScorpora", "QPushButton", QStringLiteral("Scorpora"));
}

void TestMagazzino::contract()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);
    QFETCH(bool, enabled);

    Fixture f;
    QCOMPARE(f.card.windowTitle(), QStringLiteral(" Merventa 2.0 - Magazzino Prodotti"));
    QVERIFY(f.card.windowState().testFlag(Qt::WindowMaximized));

    QWidget *w = name == f.card.objectName() ? &f.card : f.find(name);
    QVERIFY2(w, qPrintable(name));
    QVERIFY2(w->inherits(className.toLatin1().constData()),
        qPrintable(
            name + QStringLiteral(" is a ") + QString::fromLatin1(w->metaObject()->className())));
    if (text != QStringLiteral("<any>")) {
        auto *button = qobject_cast<QAbstractButton *>(w);
        QCOMPARE(button ? button->text() : CardBinding::controlText(w), text);
    }
    QCOMPARE(w->isEnabled(), enabled);

    // Image buttons never take the focus; push buttons take it when pressed.
    if (name.startsWith(QStringLiteral("cmd")) || name.startsWith(QStringLiteral("imp")))
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
    if (name.startsWith(QStringLiteral("btn")))
        QVERIFY(w->focusPolicy() & Qt::ClickFocus);
    // The hidden value holders never show.
    const bool hiddenHolder = name.startsWith(QStringLiteral("mem"))
        || (name.startsWith(QStringLiteral("lbl")) && name != QStringLiteral("lblPosizione"));
    if (hiddenHolder)
        QVERIFY(!w->isVisible());
    else if (!name.startsWith(QStringLiteral("eff")))
        QVERIFY(w->isVisible());
}

void TestMagazzino::typingLimits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("capacity");
    static const struct
    {
        const char *field;
        int capacity;
    } rows[] = {
        { "txtCodice", 30 },
        { "txtTipologia", 250 },
        { "txtMarca", 250 },
        { "txtModello", 250 },
        { "txtAccessori", 250 },
        { "txtDescrizione", 250 },
        { "txtFornitore", 250 },
        { "txtRecapiti", 50 },
        { "txtData", 50 },
        { "txtCosto", 15 },
        { "txtValore", 15 },
        { "txtDocumento", 250 },
        { "txtOrdine", 250 },
        { "txtPrezzo", 15 },
        { "txtPercIva", 2 },
        { "txtPrezzo_con_Iva", 15 },
        { "txtCollocazione", 250 },
        { "txtGiacenza", 15 },
        { "txtSottoscorta", 15 },
        { "txtNote", 250 },
    };
    for (const auto &r : rows)
        QTest::newRow(r.field) << QString::fromLatin1(r.field) << r.capacity;
}

void TestMagazzino::typingLimits()
{
    QFETCH(QString, field);
    QFETCH(int, capacity);

    Fixture f;
    QVERIFY(f.ready());
    QLineEdit *edit = f.edit(field);
    QCOMPARE(FieldEntry::typingLimit(edit), capacity);
    if (field == QStringLiteral("txtGiacenza")) {
        // The stock changes only through movements.
        QVERIFY(edit->isReadOnly());
        typeText(edit, QStringLiteral("12"));
        QCOMPARE(edit->text(), QStringLiteral("0"));
        return;
    }
    edit->clear();
    typeText(edit, QString(capacity + 1, QLatin1Char('7')));
    QCOMPARE(edit->text(), QString(capacity, QLatin1Char('7')));
}

void TestMagazzino::enterOrder_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("next");
    const QStringList order = {
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
    };
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QTest::newRow(qPrintable(order[i])) << order[i] << order[i + 1];
}

void TestMagazzino::enterOrder()
{
    QFETCH(QString, field);
    QFETCH(QString, next);

    Fixture f;
    QVERIFY(f.ready());
    QLineEdit *edit = f.edit(field);
    edit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit);
    QVERIFY(f.find(QStringLiteral("eff") + field.mid(3))->isVisible());
    const QString before = edit->text();
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.find(next));
    QVERIFY(!f.find(QStringLiteral("eff") + field.mid(3))->isVisible());
    QVERIFY(f.find(QStringLiteral("eff") + next.mid(3))->isVisible());
    QCOMPARE(edit->text(), before);
    QCOMPARE(f.messages.count(), 0);
}

void TestMagazzino::newCardOnEveryShow()
{
    Fixture f;
    QVERIFY(f.ready());
    Record stored = fullProduct();
    f.card.loadRecord(stored, 3);
    QCOMPARE(f.text(QStringLiteral("txtCodice")), QStringLiteral("ART-001"));
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QStringLiteral("3"));
    QCOMPARE(f.text(QStringLiteral("lblFile01")), QStringLiteral("file01 è"));
    f.find(QStringLiteral("txtMarca"))->setFocus();
    f.find<QLabel>(QStringLiteral("panInfo"))->setText(QStringLiteral("hint"));

    // Esci only hides the resident card; showing it again gives a new card.
    f.click(QStringLiteral("cmdEsci"));
    QVERIFY(!f.card.isVisible());
    f.card.show();
    QVERIFY(f.ready());
    for (const auto &field : kStoredFields) {
        const QString name = QString::fromLatin1(field.field);
        QString expected;
        if (QStringList { QStringLiteral("Costo"), QStringLiteral("Valore"),
                QStringLiteral("Prezzo"), QStringLiteral("Prezzo_con_Iva") }
                .contains(name))
            expected = QStringLiteral("0,00");
        else if (QStringList { QStringLiteral("PercIva"), QStringLiteral("Giacenza"),
                     QStringLiteral("Sottoscorta") }
                     .contains(name))
            expected = QStringLiteral("0");
        QCOMPARE(f.text(QString::fromLatin1(field.control)), expected);
    }
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QString());
    QTRY_COMPARE(QApplication::focusWidget(), f.find(QStringLiteral("txtCodice")));
    // The info bar's text is not restored.
    QCOMPARE(f.text(QStringLiteral("panInfo")), QStringLiteral("hint"));
    QCOMPARE(f.messages.count(), 0);
}

void TestMagazzino::typing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("afterLeaving");

    static const struct
    {
        const char *name;
        const char *field;
        const char16_t *typed, *shown, *afterLeaving;
    } rows[] = {
        { "minus, point, letters and blanks dropped", "txtCosto", u"-.a b", u"", u"0,00" },
        { "several commas", "txtCosto", u"1,2,3", u"1,2,3", u"0,00" },
        { "four decimals kept", "txtCosto", u"3,14159", u"3,14159", u"3,1416" },
        { "whole amount", "txtCosto", u"7", u"7", u"7,00" },
        { "one decimal", "txtPrezzo", u"7,5", u"7,5", u"7,50" },
        { "point in a price", "txtPrezzo_con_Iva", u"12.5", u"125", u"125,00" },
        { "value", "txtValore", u"0,125", u"0,125", u"0,125" },
        { "letters in the minimum stock", "txtSottoscorta", u"1a2b", u"12", u"12" },
        { "comma in the minimum stock", "txtSottoscorta", u"2,5", u"25", u"25" },
        { "rate", "txtPercIva", u"2", u"2", u"2" },
        { "rate of three digits", "txtPercIva", u"221", u"22", u"22" },
        { "emptied rate", "txtPercIva", u"", u"", u"0" },
        { "text field takes all", "txtModello", u"P-4.a,1 è", u"P-4.a,1 è", u"P-4.a,1 è" },
    };
    for (const auto &r : rows) {
        QTest::newRow(r.name) << QString::fromLatin1(r.field) << QString::fromUtf16(r.typed)
                              << QString::fromUtf16(r.shown) << QString::fromUtf16(r.afterLeaving);
    }
}

void TestMagazzino::typing()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, afterLeaving);

    Fixture f;
    QVERIFY(f.ready());
    QLineEdit *edit = f.edit(field);
    edit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit);
    edit->clear();
    typeText(edit, typed);
    // Tab is dropped in filtered fields and moves on in text fields: either way Enter is
    // what leaves the field here.
    if (edit->objectName() != QStringLiteral("txtModello")) {
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), edit);
    }
    QCOMPARE(edit->text(), shown);
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(QApplication::focusWidget() != edit);
    QCOMPARE(edit->text(), afterLeaving);
}

void TestMagazzino::pastedText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("afterLeaving");

    QTest::newRow("letters in the cost")
        << QStringLiteral("txtCosto") << QStringLiteral("abc") << QStringLiteral("0,00");
    QTest::newRow("a point in the value")
        << QStringLiteral("txtValore") << QStringLiteral("12.50") << QStringLiteral("0,00");
    QTest::newRow("a negative price")
        << QStringLiteral("txtPrezzo") << QStringLiteral("-4,5") << QStringLiteral("-4,50");
    QTest::newRow("words in the minimum stock")
        << QStringLiteral("txtSottoscorta") << QStringLiteral("dieci") << QStringLiteral("0");
    QTest::newRow("a letter in the rate")
        << QStringLiteral("txtPercIva") << QStringLiteral("x") << QStringLiteral("0");
}

void TestMagazzino::pastedText()
{
    QFETCH(QString, field);
    QFETCH(QString, pasted);
    QFETCH(QString, afterLeaving);

    Fixture f;
    QVERIFY(f.ready());
    QLineEdit *edit = f.edit(field);
    edit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit);
    edit->clear();
    QApplication::clipboard()->setText(pasted);
    edit->paste();
    QCOMPARE(edit->text(), pasted.left(FieldEntry::typingLimit(edit)));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), afterLeaving);
}

void TestMagazzino::hints_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hint");
    static const struct
    {
        const char *button;
        const char16_t *hint;
    } rows[] = {
        { "cmdNuovo", u"Prepara la schermata per la registrazione di una nuova scheda." },
        { "cmdDuplica",
            u"Prepara la schermata per la registrazione di una nuova scheda "
            u"duplicando i dati correnti." },
        { "cmdFile", u"Allega file alla scheda corrente." },
        { "cmdSalva", u"Salva la scheda corrente in archivio." },
        { "cmdTrova", u"Trova una scheda in archivio." },
        { "cmdStampa", u"Stampa la scheda corrente." },
        { "cmdPDF", u"Esporta la scheda in formato PDF." },
        { "cmdWeb",
            u"Cerca sul Web, tramite Google, informazioni relative all'articolo "
            u"corrente." },
        { "cmdSottoscorta", u"Visualizza l'elenco dei materiali in esaurimento." },
        { "cmdEsporta", u"Esporta le schede in archivio in un file di Microsoft Excel." },
        { "cmdGuida", u"Visualizza la pagina della guida sensibile al contesto." },
        { "cmdEsci", u"Esci da questa schermata di lavoro." },
        { "cmdPrimo", u"Visualizza la prima scheda in archivio." },
        { "cmdIndietro", u"Visualizza la scheda precedente in archivio." },
        { "cmdAvanti", u"Visualizza la scheda successiva in archivio." },
        { "cmdUltimo", u"Visualizza l'ultima scheda in archivio." },
        { "impFornitore", u"Importa i dati dall'archivio anagrafico dei Fornitori." },
        { "btnPneumatici", u"Registra ulteriori informazioni sul prodotto corrente." },
        { "btnAggiungi",
            u"Registra l'operazione di carico e aggiorna la giacenza aggiungendo "
            u"una certa quantità." },
        { "btnSottrai",
            u"Registra l'operazione di scarico e aggiorna la giacenza sottraendo "
            u"una certa quantità." },
        { "btnValore",
            u"Calcola il valore totale della merce in magazzino moltiplicando il "
            u"costo per la giacenza." },
        { "btnCalcola",
            u"Calcola il prezzo IVA inclusa dell'articolo corrente in base "
            u"all'aliquota indicata." },
        { "btnScorpora",
            u"Scorpora il prezzo lordo dell'articolo corrente calcolando "
            u"l'imponibile in base all'aliquota IVA indicata." },
    };
    for (const auto &r : rows)
        QTest::newRow(r.button) << QString::fromLatin1(r.button) << QString::fromUtf16(r.hint);
}

void TestMagazzino::hints()
{
    QFETCH(QString, button);
    QFETCH(QString, hint);

    Fixture f;
    QVERIFY(f.ready());
    hover(f.find(button));
    QCOMPARE(f.text(QStringLiteral("panInfo")), hint);
}

void TestMagazzino::hintsBackgroundAndFields()
{
    Fixture f;
    QVERIFY(f.ready());
    const QString salva = QStringLiteral("Salva la scheda corrente in archivio.");

    // Fields and captions leave the last hint; every background empties the bar.
    for (const char *keeps : { "txtCodice", "titCodice", "titSezione03", "txtGiacenza" }) {
        hover(f.find(QStringLiteral("cmdSalva")));
        hover(f.find(QString::fromLatin1(keeps)));
        QVERIFY2(f.text(QStringLiteral("panInfo")) == salva, keeps);
    }
    for (const char *background : { "TfrmMagazzino", "panContainer", "shpContainer", "shpSezione01",
             "shpSezione02", "shpSezione03", "shpSezione04", "panControlli", "shpFrecce",
             "lblPosizione", "imgDecoro" }) {
        hover(f.find(QStringLiteral("cmdSalva")));
        QCOMPARE(f.text(QStringLiteral("panInfo")), salva);
        QWidget *w = QLatin1StringView(background) == QLatin1StringView("TfrmMagazzino")
            ? &f.card
            : f.find(QString::fromLatin1(background));
        // A point of the background itself, not one of its controls.
        const QPoint pos(2, 2);
        QVERIFY2(!w->childAt(pos) || w->childAt(pos)->objectName().startsWith(QStringLiteral("sh"))
                || w->childAt(pos)->objectName().startsWith(QStringLiteral("pan")),
            background);
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)),
            Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QVERIFY2(f.text(QStringLiteral("panInfo")).isEmpty(), background);
    }
}

void TestMagazzino::storedLayout_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("control");
    for (const auto &f : kStoredFields) {
        QTest::newRow(f.field) << QString::fromLatin1(f.field) << f.offset
                               << QString::fromLatin1(f.control);
    }
}

void TestMagazzino::storedLayout()
{
    QFETCH(QString, field);
    QFETCH(int, offset);
    QFETCH(QString, control);

    Fixture f;
    QVERIFY(f.ready());
    const Record stored = fullProduct();
    QVERIFY(writeArchive({ product(QStringLiteral("first")), product(QStringLiteral("second")) }));
    f.card.loadRecord(stored, 2);

    // Every field reaches its own control, trimmed, and goes back to its own bytes.
    const QString expected = stored.value(field).trimmed();
    QCOMPARE(f.text(control), expected);
    QCOMPARE(f.card.fieldText(field), expected);
    // The archive holds another record at 2 than the one shown, as if another copy had
    // saved it meanwhile: Salva asks, and Sì writes the card's fields.
    f.messages.answers = { Messages::Answer::Yes };
    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.lastText(), kRewritten);

    const QByteArray file = f.bytes();
    QCOMPARE(file.size(), 2 * kRecordSize);
    const qsizetype at = kRecordSize + offset;
    QCOMPARE(int(quint8(file.at(at))), int(Cp1252::encode(expected).size()));
    QCOMPARE(file.mid(at + 1, quint8(file.at(at))), Cp1252::encode(expected));
    QCOMPARE(storedText(file, 0, QStringLiteral("Codice")), QStringLiteral("first"));
}

void TestMagazzino::saveAppendsThenRewrites()
{
    Fixture f;
    QVERIFY(f.ready());
    typeText(f.edit(QStringLiteral("txtCodice")), QStringLiteral("ART-1"));
    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Information);
    QCOMPARE(f.messages.lastText(), kInserted);
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QStringLiteral("1"));
    QCOMPARE(f.bytes().size(), kRecordSize);
    QCOMPARE(storedText(f.bytes(), 0, QStringLiteral("Codice")), QStringLiteral("ART-1"));

    // Saving again rewrites the same record.
    f.edit(QStringLiteral("txtMarca"))->setText(QStringLiteral("Pirelli"));
    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.lastText(), kRewritten);
    QCOMPARE(f.messages.lastKind(), Kind::Information);
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QStringLiteral("1"));
    QCOMPARE(f.bytes().size(), kRecordSize);
    QCOMPARE(storedText(f.bytes(), 0, QStringLiteral("Marca")), QStringLiteral("Pirelli"));

    // After Nuovo the same code is a second product.
    f.click(QStringLiteral("cmdNuovo"));
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QString());
    typeText(f.edit(QStringLiteral("txtCodice")), QStringLiteral("ART-1"));
    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.lastText(), kInserted);
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QStringLiteral("2"));
    QCOMPARE(f.bytes().size(), 2 * kRecordSize);
    QCOMPARE(storedText(f.bytes(), 1, QStringLiteral("Codice")), QStringLiteral("ART-1"));
    QCOMPARE(storedText(f.bytes(), 1, QStringLiteral("Marca")), QString());
    QCOMPARE(storedText(f.bytes(), 0, QStringLiteral("Marca")), QStringLiteral("Pirelli"));
    QCOMPARE(f.messages.count(), 3);
}

void TestMagazzino::saveNormalises_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("storedField");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("warning");

    // The card starts as a new card: price 0,00, rate 0, cost 0,00, stock 0.
    QTest::newRow("empty price with VAT is computed")
        << QStringLiteral("txtPrezzo_con_Iva") << QString() << QStringLiteral("Prezzo_con_Iva")
        << QStringLiteral("0,00") << QString();
    QTest::newRow("price 10 at 22")
        << QStringLiteral("txtPrezzo") << QStringLiteral("10,00")
        << QStringLiteral("Prezzo_con_Iva") << QStringLiteral("12,20") << QString();
    QTest::newRow("typed gross is replaced")
        << QStringLiteral("txtPrezzo_con_Iva") << QStringLiteral("99,99")
        << QStringLiteral("Prezzo_con_Iva") << QStringLiteral("0,00") << QString();
    QTest::newRow("cost 2,50 with stock 4")
        << QStringLiteral("txtCosto") << QStringLiteral("2,50") << QStringLiteral("Valore")
        << QStringLiteral("10,00") << QString();
    QTest::newRow("negative stock")
        << QStringLiteral("stock") << QStringLiteral("-3") << QStringLiteral("Valore")
        << QStringLiteral("-7,50") << QString();
    QTest::newRow("stock rounded")
        << QStringLiteral("stock") << QStringLiteral("2,5") << QStringLiteral("Giacenza")
        << QStringLiteral("3") << QString();
    QTest::newRow("empty stock") << QStringLiteral("stock") << QString()
                                 << QStringLiteral("Giacenza") << QStringLiteral("0") << QString();
    QTest::newRow("minimum stock rounded")
        << QStringLiteral("txtSottoscorta") << QStringLiteral("007")
        << QStringLiteral("Sottoscorta") << QStringLiteral("7") << QString();
    QTest::newRow("empty minimum stock")
        << QStringLiteral("txtSottoscorta") << QString() << QStringLiteral("Sottoscorta")
        << QStringLiteral("0") << QString();
    QTest::newRow("empty value") << QStringLiteral("txtValore") << QString()
                                 << QStringLiteral("Valore") << QStringLiteral("10,00")
                                 << QString();
    QTest::newRow("empty rate") << QStringLiteral("txtPercIva") << QString()
                                << QStringLiteral("PercIva") << QStringLiteral("0") << QString();
    QTest::newRow("a code of 30 characters")
        << QStringLiteral("txtCodice") << QString(30, QLatin1Char('C')) << QStringLiteral("Codice")
        << QString(30, QLatin1Char('C')) << QString();
    QTest::newRow("a character outside the code page")
        << QStringLiteral("txtNote") << QStringLiteral("α e è") << QStringLiteral("Note")
        << QStringLiteral("? e è") << QString();
    // The calculations report their own failures and the save goes on.
    const QString calcolaWarning = QStringLiteral(
        "Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo e l'aliquota IVA "
        "prima di premere il pulsante Calcola.");
    QTest::newRow("letters in the price")
        << QStringLiteral("txtPrezzo") << QStringLiteral("abc") << QStringLiteral("Prezzo")
        << QStringLiteral("0,00") << calcolaWarning;
    QTest::newRow("letters in the cost reset the value")
        << QStringLiteral("txtCosto") << QStringLiteral("abc") << QStringLiteral("Valore")
        << QStringLiteral("0,00") << QString();
    // Not a number in the cost: the stock is not lost.
    QTest::newRow("letters in the cost keep the stock")
        << QStringLiteral("txtCosto") << QStringLiteral("1.5") << QStringLiteral("Giacenza")
        << QStringLiteral("4") << QString();
}

void TestMagazzino::saveNormalises()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, storedField);
    QFETCH(QString, stored);
    QFETCH(QString, warning);

    Fixture f;
    QVERIFY(f.ready());
    f.edit(QStringLiteral("txtCodice"))->setText(QStringLiteral("ART"));
    // A baseline that the row changes in one place.
    f.edit(QStringLiteral("txtCosto"))->setText(QStringLiteral("2,50"));
    f.card.setStock(QStringLiteral("4"));
    f.edit(QStringLiteral("txtPercIva"))->setText(QStringLiteral("22"));
    if (field == QStringLiteral("stock"))
        f.card.setStock(text);
    else
        f.edit(field)->setText(text);
    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.count(), warning.isEmpty() ? 1 : 2);
    if (!warning.isEmpty()) {
        QCOMPARE(f.messages.shown.first().kind, Kind::Warning);
        QCOMPARE(f.messages.shown.first().text, warning);
    }
    QCOMPARE(f.messages.lastText(), kInserted);
    QCOMPARE(storedText(f.bytes(), 0, storedField), stored);
    // The card shows what was stored.
    QCOMPARE(f.card.fieldText(storedField), storedField == QStringLiteral("Note") ? text : stored);
}

void TestMagazzino::saveRefusals_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("message");

    QTest::newRow("no code") << QString() << QStringLiteral("1") << QStringLiteral("0")
                             << kMissingCode;
    QTest::newRow("blank code") << QStringLiteral("   ") << QStringLiteral("1")
                                << QStringLiteral("0") << kMissingCode;
    QTest::newRow("stock not a number")
        << QStringLiteral("A") << QStringLiteral("tre") << QStringLiteral("0") << kAccessError;
    QTest::newRow("minimum stock not a number")
        << QStringLiteral("A") << QStringLiteral("1") << QStringLiteral("dieci") << kAccessError;
}

void TestMagazzino::saveRefusals()
{
    QFETCH(QString, code);
    QFETCH(QString, stock);
    QFETCH(QString, minimum);
    QFETCH(QString, message);

    Fixture f;
    QVERIFY(f.ready());
    f.edit(QStringLiteral("txtCodice"))->setText(code);
    f.card.setStock(stock);
    // Pasted into the minimum stock and saved at once: the leaving rule has not run.
    QLineEdit *minimumEdit = f.edit(QStringLiteral("txtSottoscorta"));
    minimumEdit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), minimumEdit);
    minimumEdit->clear();
    QApplication::clipboard()->setText(minimum);
    minimumEdit->paste();
    f.edit(QStringLiteral("txtPrezzo_con_Iva"))->setText(QStringLiteral("5,00"));

    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Warning);
    QCOMPARE(f.messages.lastText(), message);
    QVERIFY(f.bytes().isEmpty());
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QString());
    if (message == kMissingCode)
        QCOMPARE(QApplication::focusWidget(), f.find(QStringLiteral("txtCodice")));
    // No calculation ran before the refusal.
    QCOMPARE(f.text(QStringLiteral("txtPrezzo_con_Iva")), QStringLiteral("5,00"));
}

void TestMagazzino::saveKeepsTypedCost()
{
    Fixture f;
    QVERIFY(f.ready());
    f.edit(QStringLiteral("txtCodice"))->setText(QStringLiteral("PI"));
    f.card.setStock(QStringLiteral("2"));
    QLineEdit *cost = f.edit(QStringLiteral("txtCosto"));
    cost->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), cost);
    cost->clear();
    typeText(cost, QStringLiteral("3,14159"));

    // Salva is an image button: the cost keeps the focus and its text as typed.
    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.lastText(), kInserted);
    QCOMPARE(QApplication::focusWidget(), cost);
    QCOMPARE(cost->text(), QStringLiteral("3,14159"));
    QCOMPARE(storedText(f.bytes(), 0, QStringLiteral("Costo")), QStringLiteral("3,14159"));
    QCOMPARE(storedText(f.bytes(), 0, QStringLiteral("Valore")), QStringLiteral("6,28"));

    QTest::keyClick(cost, Qt::Key_Return);
    QCOMPARE(cost->text(), QStringLiteral("3,1416"));
}

void TestMagazzino::priceButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("before"); // prezzo, percIva, conIva, costo, giacenza, valore
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("warning");

    const QString calcolaWarning = QStringLiteral(
        "Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo e l'aliquota IVA "
        "prima di premere il pulsante Calcola.");
    const QString scorporaWarning = QStringLiteral(
        "Attenzione: valori non validi.\r\n\r\nInserire correttamente il prezzo IVA inclusa e "
        "l'aliquota IVA prima di premere il pulsante Scorpora.");
    auto list = [](std::initializer_list<const char16_t *> texts) {
        QStringList l;
        for (const char16_t *t : texts)
            l << QString::fromUtf16(t);
        return l;
    };
    QTest::newRow("calcola") << QStringLiteral("btnCalcola")
                             << list({ u"10,10", u"22", u"", u"1,00", u"3", u"9,99" })
                             << list({ u"10,10", u"22", u"12,32", u"1,00", u"3", u"9,99" })
                             << QString();
    QTest::newRow("calcola, letters in the price")
        << QStringLiteral("btnCalcola") << list({ u"abc", u"22", u"7,00", u"1,00", u"3", u"9,99" })
        << list({ u"0,00", u"0", u"0,00", u"1,00", u"3", u"9,99" }) << calcolaWarning;
    QTest::newRow("scorpora") << QStringLiteral("btnScorpora")
                              << list({ u"", u"05", u"10,50", u"1,00", u"3", u"9,99" })
                              << list({ u"10,00", u"5", u"10,50", u"1,00", u"3", u"9,99" })
                              << QString();
    QTest::newRow("scorpora, letters in the rate")
        << QStringLiteral("btnScorpora")
        << list({ u"4,00", u"x", u"12,20", u"1,00", u"3", u"9,99" })
        << list({ u"0,00", u"0", u"0,00", u"1,00", u"3", u"9,99" }) << scorporaWarning;
    QTest::newRow("calcola valore")
        << QStringLiteral("btnValore") << list({ u"4,00", u"22", u"4,88", u"2,50", u"-3", u"" })
        << list({ u"4,00", u"22", u"4,88", u"2,50", u"-3", u"-7,50" }) << QString();
    QTest::newRow("calcola valore, letters in the cost")
        << QStringLiteral("btnValore") << list({ u"4,00", u"22", u"4,88", u"due", u"3", u"9,99" })
        << list({ u"4,00", u"22", u"4,88", u"0,00", u"0", u"0,00" }) << QString();
}

void TestMagazzino::priceButtons()
{
    QFETCH(QString, button);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(QString, warning);

    Fixture f;
    QVERIFY(f.ready());
    const QStringList fields = { QStringLiteral("txtPrezzo"), QStringLiteral("txtPercIva"),
        QStringLiteral("txtPrezzo_con_Iva"), QStringLiteral("txtCosto"),
        QStringLiteral("txtGiacenza"), QStringLiteral("txtValore") };
    for (qsizetype i = 0; i < fields.size(); ++i)
        f.edit(fields[i])->setText(before[i]);
    f.find(QStringLiteral("txtCodice"))->setFocus();

    f.click(button);
    QStringList shown;
    for (const QString &field : fields)
        shown << f.text(field);
    QCOMPARE(shown, after);
    if (warning.isEmpty()) {
        QCOMPARE(f.messages.count(), 0);
        QCOMPARE(QApplication::focusWidget(), f.find(button));
    } else {
        QCOMPARE(f.messages.count(), 1);
        QCOMPARE(f.messages.lastKind(), Kind::Warning);
        QCOMPARE(f.messages.lastText(), warning);
        QCOMPARE(QApplication::focusWidget(), f.find(QStringLiteral("txtPrezzo_con_Iva")));
    }
}

void TestMagazzino::pushButtonRunsLeavingRuleFirst()
{
    Fixture f;
    QVERIFY(f.ready());
    f.edit(QStringLiteral("txtCodice"))->setText(QStringLiteral("X"));
    f.edit(QStringLiteral("txtPercIva"))->setText(QStringLiteral("22"));
    QLineEdit *price = f.edit(QStringLiteral("txtPrezzo"));
    price->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), price);
    price->clear();
    typeText(price, QStringLiteral("10"));
    // "Calcola" takes the focus: the price is formatted before the calculation.
    f.click(QStringLiteral("btnCalcola"));
    QCOMPARE(price->text(), QStringLiteral("10,00"));
    QCOMPARE(f.text(QStringLiteral("txtPrezzo_con_Iva")), QStringLiteral("12,20"));

    // Salva does not: the price stays as typed and is stored and computed so. (Back into
    // the field as by a click, the cursor at the end; a focus move would select the text.)
    price->setFocus(Qt::MouseFocusReason);
    price->end(false);
    QTRY_COMPARE(QApplication::focusWidget(), price);
    typeText(price, QStringLiteral("555"));
    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(price->text(), QStringLiteral("10,00555"));
    QCOMPARE(storedText(f.bytes(), 0, QStringLiteral("Prezzo")), QStringLiteral("10,00555"));
    QCOMPARE(storedText(f.bytes(), 0, QStringLiteral("Prezzo_con_Iva")), QStringLiteral("12,21"));
    f.click(QStringLiteral("btnValore"));
    QCOMPARE(price->text(), QStringLiteral("10,0056"));
}

void TestMagazzino::duplicate()
{
    Fixture f;
    QVERIFY(f.ready());

    // A new card cannot be duplicated.
    f.edit(QStringLiteral("txtCodice"))->setText(QStringLiteral("NEW"));
    f.click(QStringLiteral("cmdDuplica"));
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Warning);
    QCOMPARE(f.messages.lastText(),
        QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto "
                       "dopo che questa è stata inserita in archivio."));
    QCOMPARE(f.text(QStringLiteral("txtCodice")), QStringLiteral("NEW"));
    QVERIFY(!QFile::exists(f.folder.filePath(QStringLiteral("Magazzino.mrv"))));

    const Record stored = fullProduct();
    QVERIFY(writeArchive({ stored }));
    f.card.loadRecord(stored, 1);
    f.find(QStringLiteral("txtMarca"))->setFocus();
    f.messages.clear();
    f.click(QStringLiteral("cmdDuplica"));
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Information);
    QCOMPARE(f.messages.lastText(),
        QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda "
                       "corrente.\n\r\n\rAl termine premere Salva per inserire la scheda "
                       "in archivio."));
    QCOMPARE(QApplication::focusWidget(), f.find(QStringLiteral("txtCodice")));
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QString());
    const QStringList dropped = { QStringLiteral("File01"), QStringLiteral("File02"),
        QStringLiteral("File03"), QStringLiteral("Desc01"), QStringLiteral("Desc02"),
        QStringLiteral("Desc03"), QStringLiteral("Cartella"), QStringLiteral("CartellaDesc"),
        // The copy starts with no stock: its stock comes from its own movements.
        QStringLiteral("Giacenza"), QStringLiteral("Valore") };
    for (const auto &field : kStoredFields) {
        const QString name = QString::fromLatin1(field.field);
        QCOMPARE(f.card.fieldText(name),
            dropped.contains(name) ? QString() : stored.value(name).trimmed());
    }

    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.lastText(), kInserted);
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QStringLiteral("2"));
    const QByteArray file = f.bytes();
    QCOMPARE(file.size(), 2 * kRecordSize);
    QCOMPARE(storedText(file, 1, QStringLiteral("Codice")), QStringLiteral("ART-001"));
    QCOMPARE(storedText(file, 1, QStringLiteral("Consumo")), QStringLiteral("consumo è"));
    QCOMPARE(storedText(file, 1, QStringLiteral("File01")), QString());
    QCOMPARE(storedText(file, 1, QStringLiteral("CartellaDesc")), QString());
    QCOMPARE(storedText(file, 0, QStringLiteral("File01")), QStringLiteral("file01 è"));
}

void TestMagazzino::accessErrors_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("start");

    QTest::newRow("first") << QStringLiteral("cmdPrimo") << QString();
    QTest::newRow("last") << QStringLiteral("cmdUltimo") << QStringLiteral("2");
    QTest::newRow("next") << QStringLiteral("cmdAvanti") << QString();
    QTest::newRow("previous") << QStringLiteral("cmdIndietro") << QStringLiteral("3");
    QTest::newRow("save new") << QStringLiteral("cmdSalva") << QString();
    QTest::newRow("save stored") << QStringLiteral("cmdSalva") << QStringLiteral("2");
    QTest::newRow("duplicate") << QStringLiteral("cmdDuplica") << QStringLiteral("2");
}

void TestMagazzino::accessErrors()
{
    QFETCH(QString, button);
    QFETCH(QString, start);

    Fixture f;
    QVERIFY(f.ready());
    // A folder where the archive should be: it exists but cannot be opened, whoever runs.
    QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("Magazzino.mrv")));
    const Record shown = fullProduct();
    // A new card typed on asks before an arrow leaves it (No): the access error follows.
    const bool asks = start.isEmpty() && button != QStringLiteral("cmdSalva");
    if (start.isEmpty())
        f.edit(QStringLiteral("txtCodice"))->setText(QStringLiteral("ART-001"));
    else
        f.card.loadRecord(shown, start.toInt());
    if (asks)
        f.messages.answers = { Messages::Answer::No };

    f.click(button);
    QCOMPARE(shownCount(f.messages, CardScreen::unsavedEditsText()), asks ? 1 : 0);
    QCOMPARE(f.messages.count(), asks ? 2 : 1);
    QCOMPARE(f.messages.lastKind(), Kind::Warning);
    QCOMPARE(f.messages.lastText(), kAccessError);
    QCOMPARE(f.text(QStringLiteral("txtCodice")), QStringLiteral("ART-001"));
    // Duplica has already made the card new when the access check fails.
    QCOMPARE(f.text(QStringLiteral("lblPosizione")),
        button == QStringLiteral("cmdDuplica") ? QString() : start);
    QVERIFY(QFileInfo(f.folder.filePath(QStringLiteral("Magazzino.mrv"))).isDir());
}

void TestMagazzino::readOnlyFolder()
{
    Fixture f;
    QVERIFY(f.ready());
    QFile folder(f.folder.path());
    const QFileDevice::Permissions writable = folder.permissions();
    QVERIFY(folder.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
        | QFileDevice::ExeOther));
    QFile probe(f.folder.filePath(QStringLiteral("probe")));
    const bool ignoresPermissions = probe.open(QIODevice::WriteOnly);
    if (ignoresPermissions)
        probe.remove();
    if (ignoresPermissions) {
        folder.setPermissions(writable);
        QSKIP("this user writes into read-only folders (root): covered by accessErrors");
    }

    typeText(f.edit(QStringLiteral("txtCodice")), QStringLiteral("RO"));
    // Not saved: the arrow asks first (No) and then cannot read either.
    f.messages.answers = { Messages::Answer::Ok, Messages::Answer::No };
    f.click(QStringLiteral("cmdSalva"));
    f.click(QStringLiteral("cmdPrimo"));
    QVERIFY(folder.setPermissions(writable));
    QCOMPARE(f.messages.count(), 3);
    QCOMPARE(f.messages.shown.at(1).text, CardScreen::unsavedEditsText());
    f.messages.shown.removeAt(1);
    for (const auto &shown : f.messages.shown) {
        QCOMPARE(shown.kind, Kind::Warning);
        QCOMPARE(shown.text, kAccessError);
    }
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QString());
    QVERIFY(!QFile::exists(f.folder.filePath(QStringLiteral("Magazzino.mrv"))));
}

void TestMagazzino::damagedFiles()
{
    Fixture f;
    QVERIFY(f.ready());

    // Every byte 'A': each length byte says 65, more than some capacities hold.
    QByteArray garbage(kRecordSize, 'A');
    QByteArray file = Record(fullProduct()).encode() + garbage + QByteArray(100, '\xff');
    {
        QFile out(f.folder.filePath(QStringLiteral("Magazzino.mrv")));
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(file), file.size());
    }

    // The trailing 100 bytes are not a record: the last record is the garbage one.
    f.click(QStringLiteral("cmdUltimo"));
    QCOMPARE(f.messages.count(), 0);
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QStringLiteral("2"));
    QCOMPARE(f.text(QStringLiteral("txtCodice")), QString(30, QLatin1Char('A')));
    QCOMPARE(f.text(QStringLiteral("txtPercIva")), QStringLiteral("AA"));
    QCOMPARE(f.text(QStringLiteral("txtTipologia")), QString(65, QLatin1Char('A')));
    QCOMPARE(f.text(QStringLiteral("memConsumo")), QString(30, QLatin1Char('A')));
    f.click(QStringLiteral("cmdAvanti"));
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QStringLiteral("2"));
    QCOMPARE(f.messages.count(), 0);

    // A position beyond the archive (the file shrank meanwhile) is refused, not invented.
    f.card.loadRecord(product(QStringLiteral("far")), 9);
    f.click(QStringLiteral("cmdIndietro"));
    QCOMPARE(f.messages.lastText(), kAccessError);
    QCOMPARE(f.text(QStringLiteral("txtCodice")), QStringLiteral("far"));
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QStringLiteral("9"));
    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.lastKind(), Kind::Warning);
    QCOMPARE(f.messages.lastText(), kAccessError);
    QCOMPARE(f.bytes().size(), file.size());

    // A new product goes after the last whole record, over the partial one.
    f.click(QStringLiteral("cmdNuovo"));
    typeText(f.edit(QStringLiteral("txtCodice")), QStringLiteral("NEW"));
    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.lastText(), kInserted);
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), QStringLiteral("3"));
    const QByteArray after = f.bytes();
    QCOMPARE(after.size(), 3 * kRecordSize);
    QCOMPARE(after.left(2 * kRecordSize), file.left(2 * kRecordSize));
    QCOMPARE(storedText(after, 2, QStringLiteral("Codice")), QStringLiteral("NEW"));
}

void TestMagazzino::otherInformation_data()
{
    QTest::addColumn<bool>("apply");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("kept");

    const QStringList loaded = { QStringLiteral("consumo è"), QStringLiteral("aderenza è"),
        QStringLiteral("rumore è"), QStringLiteral("onde è") };
    QTest::newRow("apply") << true
                           << QStringList { QStringLiteral(" 55 cm "), QStringLiteral("205 mm"),
                                  QStringLiteral(""), QStringLiteral("31/12/2025") }
                           << QStringList { QStringLiteral("55 cm"), QStringLiteral("205 mm"),
                                  QString(), QStringLiteral("31/12/2025") };
    QTest::newRow("apply all empty")
        << true << QStringList { QString(), QString(), QString(), QString() }
        << QStringList { QString(), QString(), QString(), QString() };
    QTest::newRow("cancel") << false
                            << QStringList { QStringLiteral("x"), QStringLiteral("y"),
                                   QStringLiteral("z"), QStringLiteral("w") }
                            << loaded;
}

void TestMagazzino::otherInformation()
{
    QFETCH(bool, apply);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, kept);

    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(writeArchive({ fullProduct() }));
    f.card.loadRecord(fullProduct(), 1);
    const QStringList fields = { QStringLiteral("txtConsumo"), QStringLiteral("txtAderenza"),
        QStringLiteral("txtRumore"), QStringLiteral("txtOnde") };

    QStringList shownInDialog;
    QString title;
    bool closeBox = true;
    QStringList focusPath;
    QList<int> limits;
    int highlights = 0;
    onModal([&](QDialog *dialog) {
        title = dialog->windowTitle();
        closeBox = dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint);
        for (const QString &name : fields) {
            auto *edit = dialog->findChild<QLineEdit *>(name);
            shownInDialog << edit->text();
            limits << FieldEntry::typingLimit(edit);
            highlights
                += dialog->findChild<QWidget *>(QStringLiteral("eff") + name.mid(3)) != nullptr;
        }
        // The first field has the focus; Enter walks the four and ends on "Applica e chiudi".
        for (int i = 0; i < 4; ++i) {
            QWidget *focused = QApplication::focusWidget();
            focusPath << (focused ? focused->objectName() : QString());
            auto *edit = qobject_cast<QLineEdit *>(focused);
            if (!edit)
                break;
            edit->clear();
            typeText(edit, typed[i]);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QWidget *last = QApplication::focusWidget();
        focusPath << (last ? last->objectName() : QString());
        QTest::mouseClick(dialog->findChild<QPushButton *>(
                              apply ? QStringLiteral("btnApplica") : QStringLiteral("btnAnnulla")),
            Qt::LeftButton);
    });
    f.click(QStringLiteral("btnPneumatici"));

    QCOMPARE(title, QStringLiteral(" Altre informazioni"));
    QVERIFY(!closeBox);
    QCOMPARE(limits, (QList<int> { 30, 30, 30, 30 }));
    QCOMPARE(highlights, 4);
    QCOMPARE(shownInDialog,
        (QStringList { QStringLiteral("consumo è"), QStringLiteral("aderenza è"),
            QStringLiteral("rumore è"), QStringLiteral("onde è") }));
    QCOMPARE(focusPath,
        (QStringList { QStringLiteral("txtConsumo"), QStringLiteral("txtAderenza"),
            QStringLiteral("txtRumore"), QStringLiteral("txtOnde"),
            QStringLiteral("btnApplica") }));
    QVERIFY(!QApplication::activeModalWidget());
    const QStringList holders = { QStringLiteral("memConsumo"), QStringLiteral("memAderenza"),
        QStringLiteral("memRumore"), QStringLiteral("memOnde") };
    QStringList onCard;
    for (const QString &holder : holders)
        onCard << f.text(holder);
    QCOMPARE(onCard, kept);
    // Nothing reaches the archive before Salva.
    QCOMPARE(storedText(f.bytes(), 0, QStringLiteral("Consumo")), QStringLiteral("consumo è"));

    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(f.messages.lastText(), kRewritten);
    QStringList stored;
    for (const QString &field : { QStringLiteral("Consumo"), QStringLiteral("Aderenza"),
             QStringLiteral("Rumore"), QStringLiteral("Onde") })
        stored << storedText(f.bytes(), 0, field);
    QCOMPARE(stored, kept);
}

void TestMagazzino::movementButtons()
{
    Fixture f;
    QVERIFY(f.ready());
    const QString noCode = QStringLiteral(
        "Attenzione: per aggiornare la giacenza è necessario indicare il codice articolo.");
    for (const char *button : { "btnAggiungi", "btnSottrai" }) {
        f.messages.clear();
        f.find(QStringLiteral("txtMarca"))->setFocus();
        f.edit(QStringLiteral("txtCodice"))->setText(QStringLiteral("  "));
        f.click(QString::fromLatin1(button));
        QCOMPARE(f.messages.count(), 1);
        QCOMPARE(f.messages.lastKind(), Kind::Warning);
        QCOMPARE(f.messages.lastText(), noCode);
        QCOMPARE(QApplication::focusWidget(), f.find(QStringLiteral("txtCodice")));
        QVERIFY(!QApplication::activeModalWidget());
    }

    // A load gets the cost, an unload the price; an empty stock counts as 0.
    QVERIFY(writeArchive({ product(QStringLiteral("ART")) }));
    f.card.loadRecord(product(QStringLiteral("ART")), 1);
    f.edit(QStringLiteral("txtCosto"))->setText(QStringLiteral("2,50"));
    f.edit(QStringLiteral("txtPrezzo"))->setText(QStringLiteral("4,00"));
    f.card.setStock(QString());
    QString importo, giacenza;
    onModal([&](QDialog *dialog) {
        importo = dialog->findChild<QLineEdit *>(QStringLiteral("txtImporto"))->text();
        giacenza = dialog->findChild<QLineEdit *>(QStringLiteral("txtGiacenza"))->text();
        dialog->findChild<QLineEdit *>(QStringLiteral("txtAggiunta"))->setText(QStringLiteral("5"));
        QTest::mouseClick(
            dialog->findChild<QPushButton *>(QStringLiteral("btnAggiorna")), Qt::LeftButton);
    });
    f.click(QStringLiteral("btnAggiungi"));
    QCOMPARE(importo, QStringLiteral("2,50"));
    QCOMPARE(giacenza, QStringLiteral("0"));
    QCOMPARE(f.text(QStringLiteral("txtGiacenza")), QStringLiteral("5"));

    onModal([&](QDialog *dialog) {
        importo = dialog->findChild<QLineEdit *>(QStringLiteral("txtImporto"))->text();
        dialog->findChild<QLineEdit *>(QStringLiteral("txtAggiunta"))->setText(QStringLiteral("3"));
        QTest::mouseClick(
            dialog->findChild<QPushButton *>(QStringLiteral("btnChiudi")), Qt::LeftButton);
    });
    f.click(QStringLiteral("btnSottrai"));
    QCOMPARE(importo, QStringLiteral("4,00"));
    QCOMPARE(f.text(QStringLiteral("txtGiacenza")), QStringLiteral("5"));
}

namespace {

// The stock of the product stored at index, as on disk.
QString storedStock(qint64 index)
{
    RecordFile file;
    Record r(ProductRecord::layout());
    if (!file.open(ProductRecord::archive()) || !file.readAt(index, r))
        return QStringLiteral("<unreadable>");
    return r.value(ProductRecord::Giacenza);
}

// The pieces every yearly register of the folder holds per code: loads count up,
// unloads down.
QMap<QString, double> registerTotals(const TempProgramFolder &folder)
{
    QMap<QString, double> totals;
    const QDir dir(folder.path());
    for (const QString &name : dir.entryList({ QStringLiteral("*.mrv") }, QDir::Files)) {
        const bool load = name.startsWith(QLatin1String("Carico_"));
        if (!load && !name.startsWith(QLatin1String("Scarico_")))
            continue;
        for (const Record &m : recordsOf(folder, name, MovementRecord::layout())) {
            const double quantity = TextToNumber(m.value(MovementRecord::Quantita)).value_or(0);
            totals[m.value(MovementRecord::Codice)] += load ? quantity : -quantity;
        }
    }
    return totals;
}

// Empty when every code the registers name has its stored card and every stored card's
// stock is what its registers add up to; otherwise what disagrees.
QString disagreement(const TempProgramFolder &folder)
{
    QMap<QString, double> totals = registerTotals(folder);
    QString out;
    for (const Record &p :
        recordsOf(folder, ProductRecord::archive().fileName, ProductRecord::layout())) {
        const QString code = p.value(ProductRecord::Codice);
        const double stock = TextToNumber(p.value(ProductRecord::Giacenza)).value_or(0);
        if (stock != totals.take(code))
            out += QStringLiteral("%1: card %2, registers differ; ").arg(code).arg(stock);
    }
    for (auto it = totals.cbegin(); it != totals.cend(); ++it)
        out += QStringLiteral("%1: registers without a card; ").arg(it.key());
    return out;
}

// Arms the movement dialog: types the quantity and applies it. When the dialog is still
// open afterwards (the negative-stock question answered No) it is cancelled; stayedOpen
// says so.
void applyMovement(const QString &quantity, bool *stayedOpen = nullptr)
{
    onModal([quantity, stayedOpen](QDialog *dialog) {
        dialog->findChild<QLineEdit *>(QStringLiteral("txtAggiunta"))->setText(quantity);
        QTest::mouseClick(
            dialog->findChild<QPushButton *>(QStringLiteral("btnAggiorna")), Qt::LeftButton);
        if (stayedOpen)
            *stayedOpen = dialog->isVisible();
        if (dialog->isVisible())
            QTest::mouseClick(
                dialog->findChild<QPushButton *>(QStringLiteral("btnChiudi")), Qt::LeftButton);
    });
}

} // namespace

// "Applica e chiudi" stores the movement and the card's new stock and value together; an
// unload below zero asks first. Leaving the card afterwards asks nothing about the stock.
void TestMagazzino::movementStoredWithCard_data()
{
    QTest::addColumn<bool>("load");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<Messages::Answer>("answer"); // to the negative-stock question
    QTest::addColumn<QString>("question"); // empty: none asked
    QTest::addColumn<QString>("stock"); // stored and shown afterwards
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("movements");
    QTest::addColumn<QString>("leave");
    const QString none;
    const QString minus4
        = QStringLiteral("La giacenza diventerà negativa (-4). Registrare lo scarico?");
    const auto yes = Messages::Answer::Yes;
    const auto no = Messages::Answer::No;
    QTest::newRow("load") << true << u"5"_s << yes << none << u"6"_s << u"15,00"_s << 1
                          << u"cmdUltimo"_s;
    QTest::newRow("unload to zero")
        << false << u"1"_s << yes << none << u"0"_s << u"0,00"_s << 1 << u"cmdNuovo"_s;
    QTest::newRow("unload below zero, Si")
        << false << u"5"_s << yes << minus4 << u"-4"_s << u"-10,00"_s << 1 << u"cmdEsci"_s;
    QTest::newRow("unload below zero, No")
        << false << u"5"_s << no << minus4 << u"1"_s << u"2,50"_s << 0 << u"reopen"_s;
}

void TestMagazzino::movementStoredWithCard()
{
    QFETCH(bool, load);
    QFETCH(QString, quantity);
    QFETCH(Messages::Answer, answer);
    QFETCH(QString, question);
    QFETCH(int, movements);
    QFETCH(QString, leave);
    Fixture f;
    QVERIFY(f.ready());
    Record a = product(QStringLiteral("A"));
    a.setValue(ProductRecord::Costo, QStringLiteral("2,50"));
    a.setValue(ProductRecord::Giacenza, QStringLiteral("1"));
    a.setValue(ProductRecord::Valore, QStringLiteral("2,50"));
    QVERIFY(writeArchive({ a, product(QStringLiteral("B")) }));
    f.card.loadRecord(a, 1);
    // Another field edited and not saved stays on the card and out of the archive.
    f.edit(QStringLiteral("txtNote"))->setText(QStringLiteral("da ordinare"));

    f.messages.answers = { answer };
    bool stayedOpen = false;
    applyMovement(quantity, &stayedOpen);
    f.click(load ? QStringLiteral("btnAggiungi") : QStringLiteral("btnSottrai"));
    QCOMPARE(f.messages.count(), question.isEmpty() ? 0 : 1);
    if (!question.isEmpty()) {
        QCOMPARE(f.messages.lastKind(), Kind::Confirmation);
        QCOMPARE(f.messages.lastText(), question);
    }
    QCOMPARE(stayedOpen, movements == 0);
    QTEST(f.text(QStringLiteral("txtGiacenza")), "stock");
    QTEST(f.text(QStringLiteral("txtValore")), "value");
    QCOMPARE(f.text(QStringLiteral("txtNote")), QStringLiteral("da ordinare"));
    QTEST(storedStock(0), "stock");
    const Record stored = f.records().first();
    QTEST(stored.value(ProductRecord::Valore), "value");
    QCOMPARE(stored.value(ProductRecord::Note), QString());
    QCOMPARE(f.records().size(), 2);
    int recorded = 0;
    for (const QString &name : QDir(f.folder.path()).entryList({ QStringLiteral("*co_*.mrv") }))
        recorded += int(recordsOf(f.folder, name, MovementRecord::layout()).size());
    QCOMPARE(recorded, movements);

    // The card knows the stock it shows is stored: Salva writes the note without asking
    // whether another copy changed the card, and keeps the stored stock.
    f.messages.clear();
    f.click(QStringLiteral("cmdSalva"));
    for (const MessageRecorder::Shown &shown : f.messages.shown)
        QVERIFY2(shown.kind != Kind::Confirmation, qPrintable(shown.text));
    QCOMPARE(f.records().first().value(ProductRecord::Note), QStringLiteral("da ordinare"));
    QTEST(storedStock(0), "stock");

    // The stock is already stored: leaving the card asks nothing, as the note
    // was saved too.
    f.messages.clear();
    if (leave == QLatin1String("reopen"))
        f.card.loadRecord(f.records().at(1), 2);
    else
        f.click(leave);
    QCOMPARE(f.messages.count(), 0);
    QTEST(storedStock(0), "stock");
    QCOMPARE(f.records().first().value(ProductRecord::Note), QStringLiteral("da ordinare"));
}

// + and − on a card whose product is not stored as shown ask to save it first: Sì saves
// it and opens the movement dialog, No records nothing.
void TestMagazzino::movementAsksToSaveFirst_data()
{
    QTest::addColumn<bool>("stored"); // false: a new card; true: a stored card, code changed
    QTest::addColumn<bool>("save");
    for (bool stored : { false, true }) {
        const char *card = stored ? "code changed" : "new card";
        QTest::addRow("%s, Si", card) << stored << true;
        QTest::addRow("%s, No", card) << stored << false;
    }
}

void TestMagazzino::movementAsksToSaveFirst()
{
    QFETCH(bool, stored);
    QFETCH(bool, save);
    Fixture f;
    QVERIFY(f.ready());
    if (stored) {
        QVERIFY(writeArchive({ product(QStringLiteral("OLD")) }));
        f.card.loadRecord(product(QStringLiteral("OLD")), 1);
    }
    f.edit(QStringLiteral("txtCodice"))->setText(QStringLiteral("GHOST-1"));
    f.messages.answers = { save ? Messages::Answer::Yes : Messages::Answer::No };
    // The dialog is awaited only when it must open: a probe left waiting would take the
    // next test's dialog.
    if (save)
        applyMovement(u"10"_s);
    f.click(QStringLiteral("btnAggiungi"));
    QCOMPARE(f.messages.shown.first().kind, Kind::Confirmation);
    QCOMPARE(f.messages.shown.first().text,
        QStringLiteral(
            "Per registrare un movimento occorre prima salvare la scheda. Salvarla adesso?"));
    QCOMPARE(shownCount(f.messages, TfrmMagazzino::saveFirstText()), 1);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(f.records().size(), save || stored ? 1 : 0);
    QCOMPARE(f.text(QStringLiteral("lblPosizione")), save || stored ? u"1"_s : QString());
    if (save) {
        QCOMPARE(f.records().first().value(ProductRecord::Codice), u"GHOST-1"_s);
        QCOMPARE(storedStock(0), u"10"_s);
        QCOMPARE(f.text(QStringLiteral("txtGiacenza")), u"10"_s);
    }
    QCOMPARE(registerTotals(f.folder).value(u"GHOST-1"_s), save ? 10.0 : 0.0);
    QCOMPARE(disagreement(f.folder), QString());
}

// Whatever the user does with the card, its buttons and its questions, the registers add
// up to the stored stock of every card and name no code without a card.
void TestMagazzino::stockAndRegistersAgree_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : { 1u, 7u, 2026u, 90210u })
        QTest::addRow("seed %u", seed) << seed;
}

void TestMagazzino::stockAndRegistersAgree()
{
    QFETCH(quint32, seed);
    Fixture f;
    QVERIFY(f.ready());
    QRandomGenerator random(seed);
    // The questions get the answers drawn for the step, in order; notices are acknowledged.
    QList<Messages::Answer> answers;
    Messages::setHandler([&answers](Messages::Kind kind, const QString &) {
        if (kind != Messages::Kind::Confirmation)
            return Messages::Answer::Ok;
        return answers.isEmpty() ? Messages::Answer::No : answers.takeFirst();
    });
    const auto draw
        = [&random] { return random.bounded(2) ? Messages::Answer::Yes : Messages::Answer::No; };
    int nextCode = 1;
    const auto newCode = [&] { return QStringLiteral("P-%1").arg(nextCode++); };
    f.edit(QStringLiteral("txtCodice"))->setText(newCode());
    QString trace;
    for (int step = 0; step < 60; ++step) {
        switch (random.bounded(7)) {
        case 0:
        case 1: {
            const bool load = random.bounded(3) != 0;
            const QString quantity = QString::number(random.bounded(8));
            // A card not stored yet asks to be saved first; the dialog opens unless the
            // answer is No (then no probe may be left waiting for it).
            const bool stored = !f.text(QStringLiteral("lblPosizione")).isEmpty();
            answers.clear();
            if (!stored)
                answers << draw();
            const bool opens = stored || answers.first() == Messages::Answer::Yes;
            answers << draw(); // a stock going below zero
            trace += (load ? u" +"_s : u" -"_s) + quantity + (opens ? u""_s : u"(no)"_s);
            if (opens)
                applyMovement(quantity);
            f.click(load ? QStringLiteral("btnAggiungi") : QStringLiteral("btnSottrai"));
            break;
        }
        case 2:
            trace += u" salva"_s;
            f.click(QStringLiteral("cmdSalva"));
            break;
        case 3: {
            const char *arrows[] = { "cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo" };
            const char *arrow = arrows[random.bounded(4)];
            trace += u' ' + QString::fromLatin1(arrow);
            f.click(QString::fromLatin1(arrow));
            break;
        }
        case 4:
            trace += u" nuovo"_s;
            f.click(QStringLiteral("cmdNuovo"));
            f.edit(QStringLiteral("txtCodice"))->setText(newCode());
            break;
        case 5:
            trace += u" duplica"_s;
            f.click(QStringLiteral("cmdDuplica"));
            f.edit(QStringLiteral("txtCodice"))->setText(newCode());
            break;
        case 6:
            trace += u" costo"_s;
            f.edit(QStringLiteral("txtCosto"))->setText(QString::number(random.bounded(20)));
            break;
        }
        QVERIFY(!QApplication::activeModalWidget());
        const QString wrong = disagreement(f.folder);
        QVERIFY2(wrong.isEmpty(), qPrintable(trace + u" => "_s + wrong));
    }
    Messages::setHandler({});
}

void TestMagazzino::pdfExport()
{
    Fixture f;
    QVERIFY(f.ready());
    f.edit(QStringLiteral("txtCodice"))->setText(QStringLiteral("PDF-1"));
    f.messages.answers = { Messages::Answer::No };
    f.click(QStringLiteral("cmdPDF"));
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Confirmation);
    const QByteArray pdf = f.folder.readAll(QStringLiteral("Articolo.pdf"));
    QVERIFY(pdf.startsWith("%PDF"));
    // The card itself is not saved by printing.
    QVERIFY(f.bytes().isEmpty());
}

void TestMagazzino::help()
{
    Fixture f;
    QVERIFY(f.ready());
    QString title;
    onModal([&](QDialog *dialog) {
        title = dialog->findChild<QLabel *>(QStringLiteral("lblTitolo"))->text();
    });
    f.click(QStringLiteral("cmdGuida"));
    QCOMPARE(title, QStringLiteral("Magazzino Prodotti."));
}

void TestMagazzino::bindingIgnoresDialogs()
{
    Fixture f;
    QVERIFY(f.ready());
    f.edit(QStringLiteral("txtCodice"))->setText(QStringLiteral("CARD"));
    f.card.setOtherInformation(
        QStringLiteral("h"), QStringLiteral("w"), QStringLiteral("l"), QStringLiteral("e"));
    // A dialog over the card names its fields like the card's.
    TfrmDatiPneumatici dialog(&f.card);
    dialog.setValues({ QStringLiteral("dialog"), QString(), QString(), QString() });
    auto *code = new QLineEdit(QStringLiteral("DIALOG"), &dialog);
    code->setObjectName(QStringLiteral("txtCodice"));
    QCOMPARE(f.card.fieldText(QStringLiteral("Codice")), QStringLiteral("CARD"));
    QCOMPARE(f.card.fieldText(QStringLiteral("Consumo")), QStringLiteral("h"));
    f.click(QStringLiteral("cmdSalva"));
    QCOMPARE(storedText(f.bytes(), 0, QStringLiteral("Codice")), QStringLiteral("CARD"));
    QCOMPARE(storedText(f.bytes(), 0, QStringLiteral("Consumo")), QStringLiteral("h"));
}

QTEST_MAIN(TestMagazzino)
#include "tst_magazzino.moc"
