#include "suppliers/Fornitori.h"

#include "app/Avvio.h"
#include "app/HelpTexts.h"
#include "app/OpenURL.h"
#include "cards/Provinces.h"
#include "common/CardFixture.h"
#include "common/ModalProbe.h"
#include "common/UserInput.h"
#include "records/SupplierRecord.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <QUrl>

using namespace Qt::StringLiterals;
using Kind = Messages::Kind;
using Fixture = CardFixture<TfrmFornitori>;

namespace {

const QString kAccessError = u"Attenzione: il sistema non permette di accedere all'archivio."
                             u"\n\r\n\rAccertarsi di possedere i privilegi di scrittura nella "
                             u"cartella di installazione del programma."_s;
const QString kInserted = u"La scheda corrente è stata inserita in archivio."_s;
const QString kRewritten
    = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s;
const QString kMissingName = u"Attenzione: per salvare la scheda è necessario indicare la "
                             u"denominazione della Ditta fornitrice."_s;
const QString kDuplicated = u"E' ora possibile apportare le proprie modifiche alla scheda "
                            u"corrente.\n\r\n\rAl termine premere Salva per inserire la scheda "
                            u"in archivio."_s;
const QString kDuplicateNew = u"Attenzione: la duplicazione di una scheda può avvenire "
                              u"soltanto dopo che questa è stata inserita in archivio."_s;
// The question after the PDF, naming the file written.
QString pdfDone(const QString &path)
{
    return u"L'esportazione della scheda in PDF è terminata con successo.\r\n\r\n"
           u"Il file è stato salvato in:\r\n"_s
        + QDir::toNativeSeparators(path) + u"\r\n\r\nSi vuole aprire il file?"_s;
}

// A supplier with every field filled: the text fields with their own names.
Record fullSupplier(const QString &ditta, const QString &ricontatta = u"Sì"_s)
{
    using namespace SupplierRecord;
    Record r(layout());
    for (int i = 0; i < r.layout().fieldCount(); ++i)
        r.setValue(i, r.layout().fieldName(i).toLower() + u" è"_s);
    r.setValue(Ditta, ditta);
    r.setValue(ProvRes, u"TO"_s);
    r.setValue(CapRes, u"10121"_s);
    r.setValue(CodFisc, u"RSSMRA80A01F205X"_s);
    r.setValue(PartitaIva, u"12345678903"_s);
    r.setValue(Carta, u"4111111111111111"_s);
    r.setValue(Iban, u"IT60X0542811101000000123456"_s);
    r.setValue(Ricontatta, ricontatta);
    return r;
}

// The text of a field as it lies on disk in the record at index.
QByteArray storedBytes(const QByteArray &file, int index, int field)
{
    const RecordLayout &layout = SupplierRecord::layout();
    const qsizetype at = qsizetype(index) * layout.recordSize() + layout.offset(field);
    if (at >= file.size())
        return "<missing>";
    return file.mid(at + 1, quint8(file.at(at)));
}

QString pdfText(const QString &path)
{
    QProcess tool;
    tool.start(u"pdftotext"_s, { u"-layout"_s, u"-enc"_s, u"UTF-8"_s, path, u"-"_s });
    if (!tool.waitForFinished(30000))
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace

class TestFornitori : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void screen();
    void openedFromTheMainMenu();
    void enterRing_data();
    void enterRing();
    void typingRules_data();
    void typingRules();
    void typingLimits();
    void hints_data();
    void hints();

    void saveWithoutName_data();
    void saveWithoutName();
    void saveAppendsThenRewrites();
    void savedBytes();
    void recordDisplay();
    void flagNeitherYesNorNo();
    void newCardClearsEverything();
    void duplicate();
    void duplicateNewCard();

    void checkRouting_data();
    void checkRouting();
    void email_data();
    void email();
    void pdf();
    void pdfFailure();
    void pdfReadOnlyFolder();
    void previewAndHelp();

    void accessErrors_data();
    void accessErrors();
    void damagedArchive();
    void pastedLongText();

private:
    QList<QUrl> m_opened;
};

void TestFornitori::init()
{
    m_opened.clear();
    TMisc::setOpener([this](const QUrl &url) { m_opened.append(url); });
}

void TestFornitori::cleanup()
{
    TMisc::setOpener({});
}

// Every control of the card by its name and kind.
void TestFornitori::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    for (const char *field :
        { "Ditta", "Titolare", "Recapito", "IndirizzoRes", "ComuneRes", "CapRes", "Pagamento",
            "TelCasa", "TelUff", "TelCel", "Fax", "Email", "CodFisc", "Carta", "ScadeCarta",
            "PartitaIva", "Iban", "Articoli", "Offerte", "Ordine", "Questioni", "Note" })
        QTest::newRow(field) << u"txt"_s + QLatin1StringView(field) << u"QLineEdit"_s;
    QTest::newRow("ProvRes") << u"txtProvRes"_s << u"QComboBox"_s;
    QTest::newRow("Ricontatta") << u"chkRicontatta"_s << u"QCheckBox"_s;
    for (const char *label : { "lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02",
             "lblDesc03", "lblPosizione", "panInfo" })
        QTest::newRow(label) << QString::fromLatin1(label) << u"QLabel"_s;
    for (const char *button : { "cmdNuovo", "cmdDuplica", "cmdFile", "cmdSalva", "cmdTrova",
             "cmdAnteprima", "cmdStampa", "cmdPDF", "cmdRicontatta", "cmdEsporta", "cmdGuida",
             "cmdEsci", "cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo" })
        QTest::newRow(button) << QString::fromLatin1(button) << u"QToolButton"_s;
    for (const char *button : { "btnEmail", "btnCodFisc", "btnPartitaIva", "btnIban", "btnCarta" })
        QTest::newRow(button) << QString::fromLatin1(button) << u"QPushButton"_s;
}

void TestFornitori::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    Fixture f;
    QVERIFY(f.ready());
    QWidget *w = f.find(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), className);
    // The attachment values are on the card but never seen.
    QCOMPARE(w->isVisible(), !name.startsWith(u"lblFile"_s) && !name.startsWith(u"lblDesc"_s));
    // Every button of the card works.
    QVERIFY(w->isEnabled());
    // Image buttons leave the focus in the field being edited.
    if (name.startsWith(u"cmd"_s))
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
}

void TestFornitori::screen()
{
    Fixture f;
    QVERIFY(f.ready());
    QCOMPARE(f.card.objectName(), u"TfrmFornitori"_s);
    QCOMPARE(f.card.windowTitle(), u" Merventa 2.0 - Archivio Fornitori"_s);
    QVERIFY(f.card.windowState() & Qt::WindowMaximized);
    QCOMPARE(f.text(u"panInfo"_s), u"Pronto per archiviare una nuova scheda..."_s);
    QCOMPARE(f.find<QCheckBox>(u"chkRicontatta"_s)->text(), u"Da ricontattare"_s);
    QVERIFY(f.find<QCheckBox>(u"chkRicontatta"_s)->font().bold());
    // The province list: the 112 codes in order, editable, nothing chosen on a new card.
    auto *province = f.find<QComboBox>(u"txtProvRes"_s);
    QVERIFY(province->isEditable());
    QCOMPARE(province->count(), 112);
    QStringList items;
    for (int i = 0; i < province->count(); ++i)
        items << province->itemText(i);
    QCOMPARE(items, Provinces::codes());
    QCOMPARE(province->currentIndex(), -1);
    QCOMPARE(province->currentText(), QString());
    // Edit boxes in bold 12 points; every showing starts on the company name.
    for (QLineEdit *edit : f.card.findChildren<QLineEdit *>()) {
        if (!edit->objectName().startsWith(u"txt"_s))
            continue;
        QVERIFY2(
            edit->font().bold() && edit->font().pointSize() == 12, qPrintable(edit->objectName()));
    }
    QCOMPARE(QApplication::focusWidget(), f.find(u"txtDitta"_s));
}

// The main menu's supplier entry shows the card maximised, as a new card, and hides the
// menu; Esci hides the card and shows the menu again.
void TestFornitori::openedFromTheMainMenu()
{
    Fixture f;
    QVERIFY(f.ready());
    f.edit(u"txtDitta"_s)->setText(u"lavoro precedente"_s);
    f.card.hide();
    TfrmAvvio menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    auto *entry = menu.findChild<QAbstractButton *>(u"btnFornitori"_s);
    QVERIFY(entry && entry->isEnabled());
    QTest::mouseClick(entry, Qt::LeftButton);
    QVERIFY(f.card.isVisible());
    QVERIFY(!menu.isVisible());
    QVERIFY(f.card.windowState() & Qt::WindowMaximized);
    QCOMPARE(f.text(u"txtDitta"_s), QString());
    f.click(u"cmdEsci"_s);
    QVERIFY(!f.card.isVisible());
    QVERIFY(menu.isVisible());
}

void TestFornitori::enterRing_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    const QStringList ring
        = { u"Ditta"_s, u"Titolare"_s, u"Recapito"_s, u"IndirizzoRes"_s, u"ProvRes"_s,
              u"ComuneRes"_s, u"CapRes"_s, u"Pagamento"_s, u"TelCasa"_s, u"TelUff"_s, u"TelCel"_s,
              u"Fax"_s, u"Email"_s, u"CodFisc"_s, u"Carta"_s, u"ScadeCarta"_s, u"PartitaIva"_s,
              u"Iban"_s, u"Articoli"_s, u"Offerte"_s, u"Ordine"_s, u"Questioni"_s, u"Note"_s };
    for (qsizetype i = 0; i < ring.size(); ++i) {
        const QString next = ring[(i + 1) % ring.size()];
        QTest::newRow(qPrintable(ring[i])) << u"txt"_s + ring[i] << u"txt"_s + next;
    }
}

void TestFornitori::enterRing()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    Fixture f;
    QVERIFY(f.ready());
    QWidget *field = f.find(from);
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), field);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.find(to));
    // Enter is never typed into the field and presses no button.
    QCOMPARE(f.messages.count(), 0);
}

void TestFornitori::typingRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("tax code in capitals") << u"txtCodFisc"_s << u"rss mra"_s << u"RSSMRA"_s;
    QTest::newRow("tax code, blank at the end") << u"txtCodFisc"_s << u"ab "_s << u"AB"_s;
    QTest::newRow("IBAN in capitals") << u"txtIban"_s << u"it60x 05"_s << u"IT60X05"_s;
    QTest::newRow("province in capitals") << u"txtProvRes"_s << u"to "_s << u"TO"_s;
    QTest::newRow("province not in the list") << u"txtProvRes"_s << u"zz"_s << u"ZZ"_s;
    QTest::newRow("e-mail trimmed") << u"txtEmail"_s << u" a@b.it "_s << u"a@b.it"_s;
    QTest::newRow("e-mail keeps its case") << u"txtEmail"_s << u"Info@B.it"_s << u"Info@B.it"_s;
    QTest::newRow("card digits only") << u"txtCarta"_s << u"4111-11a1 ,1"_s << u"41111111"_s;
    QTest::newRow("VAT digits only") << u"txtPartitaIva"_s << u"IT 0123.4"_s << u"01234"_s;
    QTest::newRow("plain field as typed") << u"txtDitta"_s << u" Rossi "_s << u" Rossi "_s;
}

void TestFornitori::typingRules()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Fixture f;
    QVERIFY(f.ready());
    QWidget *w = f.find(field);
    w->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), w);
    typeText(w, typed);
    QCOMPARE(f.text(field), shown);
    // Leaving the field changes nothing more.
    f.find(u"txtNote"_s)->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), f.find(u"txtNote"_s));
    QCOMPARE(f.text(field), shown);
}

// The edit boxes take no more characters than their fields hold.
void TestFornitori::typingLimits()
{
    Fixture f;
    QVERIFY(f.ready());
    const RecordLayout &layout = SupplierRecord::layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        auto *edit = f.edit(u"txt"_s + layout.fieldName(i));
        if (!edit)
            continue;
        const int capacity = layout.field(i).capacity;
        edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), edit);
        typeText(edit, QString(capacity + 3, u'7'));
        QVERIFY2(edit->text() == QString(capacity, u'7'), qPrintable(layout.fieldName(i)));
    }
    auto *province = f.find<QComboBox>(u"txtProvRes"_s);
    province->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), province);
    typeText(province, u"TOR"_s);
    QCOMPARE(province->currentText(), u"TO"_s);
}

void TestFornitori::hints_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint");
    static const struct
    {
        const char *control;
        const char16_t *hint;
    } rows[] = {
        { "cmdNuovo", u"Prepara la schermata per la registrazione di una nuova scheda." },
        { "cmdDuplica",
            u"Prepara la schermata per la registrazione di una nuova scheda duplicando i dati "
            u"correnti." },
        { "cmdFile", u"Allega file alla scheda corrente." },
        { "cmdSalva", u"Salva la scheda corrente in archivio." },
        { "cmdTrova", u"Trova una scheda in archivio." },
        { "cmdAnteprima", u"Visualizza l'anteprima di stampa." },
        { "cmdStampa", u"Stampa la scheda corrente." },
        { "cmdPDF", u"Esporta la scheda in formato PDF." },
        { "cmdRicontatta", u"Visualizza l'elenco dei Fornitori da ricontattare." },
        { "cmdEsporta", u"Esporta le schede in archivio in un file di Microsoft Excel." },
        { "cmdGuida", u"Visualizza la pagina della guida sensibile al contesto." },
        { "cmdEsci", u"Esci da questa schermata di lavoro." },
        { "cmdPrimo", u"Visualizza la prima scheda in archivio." },
        { "cmdIndietro", u"Visualizza la scheda precedente in archivio." },
        { "cmdAvanti", u"Visualizza la scheda successiva in archivio." },
        { "cmdUltimo", u"Visualizza l'ultima scheda in archivio." },
        { "btnEmail", u"Invia una e-mail all'indirizzo indicato." },
        { "btnCodFisc", u"Controlla il codice fiscale." },
        { "btnPartitaIva", u"Controlla il numero di partita IVA." },
        { "btnIban", u"Controlla l'IBAN." },
        { "btnCarta", u"Controlla il numero di carta di credito." },
        { "chkRicontatta", u"Annota che il Fornitore è da ricontattare per questioni in sospeso." },
    };
    for (const auto &row : rows)
        QTest::newRow(row.control)
            << QString::fromLatin1(row.control) << QString::fromUtf16(row.hint);
}

void TestFornitori::hints()
{
    QFETCH(QString, control);
    QFETCH(QString, hint);
    Fixture f;
    QVERIFY(f.ready());
    hover(f.find(control));
    QCOMPARE(f.text(u"panInfo"_s), hint);
    // Over the background the bar empties; over a field it stays as it is.
    hover(f.find(u"txtNote"_s));
    QCOMPARE(f.text(u"panInfo"_s), hint);
    // The section's own margin, where no control lies.
    QWidget *section = f.find(u"shpSezione03"_s);
    const QPoint margin(2, section->height() / 2);
    QMouseEvent move(QEvent::MouseMove, QPointF(margin), section->mapToGlobal(QPointF(margin)),
        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(section, &move);
    QCOMPARE(f.text(u"panInfo"_s), QString());
}

void TestFornitori::saveWithoutName_data()
{
    QTest::addColumn<QString>("ditta");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks only") << u"    "_s;
}

void TestFornitori::saveWithoutName()
{
    QFETCH(QString, ditta);
    Fixture f;
    QVERIFY(f.ready());
    f.edit(u"txtDitta"_s)->setText(ditta);
    f.edit(u"txtNote"_s)->setText(u"una nota"_s);
    f.find(u"txtNote"_s)->setFocus();
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Warning);
    QCOMPARE(f.messages.lastText(), kMissingName);
    QCOMPARE(QApplication::focusWidget(), f.find(u"txtDitta"_s));
    // Nothing is written, not even an empty archive.
    QVERIFY(!QFile::exists(f.folder.filePath(u"Fornitori.mrv"_s)));
    QCOMPARE(f.text(u"lblPosizione"_s), QString());
}

void TestFornitori::saveAppendsThenRewrites()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ fullSupplier(u"Primo"_s) }));

    typeText(f.edit(u"txtDitta"_s), u"Bianchi S.r.l."_s);
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.messages.lastKind(), Kind::Information);
    QCOMPARE(f.messages.lastText(), kInserted);
    QCOMPARE(f.text(u"lblPosizione"_s), u"2"_s);
    QCOMPARE(f.bytes().size(), 2 * 3643);

    // A second Salva rewrites the same record in place.
    f.edit(u"txtNote"_s)->setText(u"cambiata"_s);
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.messages.lastText(), kRewritten);
    QCOMPARE(f.text(u"lblPosizione"_s), u"2"_s);
    const QList<Record> records = f.records();
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[0].value(SupplierRecord::Ditta), u"Primo"_s);
    QCOMPARE(records[1].value(SupplierRecord::Ditta), u"Bianchi S.r.l."_s);
    QCOMPARE(records[1].value(SupplierRecord::Note), u"cambiata"_s);
    QCOMPARE(f.messages.count(), 2);
}

// What Salva writes: trimmed texts, blanks-only fields empty, the flag as "Sì" or "No" in
// the code page's bytes, the attachment values from the hidden labels.
void TestFornitori::savedBytes()
{
    Fixture f;
    QVERIFY(f.ready());
    typeText(f.edit(u"txtDitta"_s), u"  Città Forniture  "_s);
    f.edit(u"txtTitolare"_s)->setText(u"   "_s);
    f.find<QLabel>(u"lblFile02"_s)->setText(u"listino.pdf"_s);
    f.find<QCheckBox>(u"chkRicontatta"_s)->setChecked(true);
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"1"_s);

    f.find<QCheckBox>(u"chkRicontatta"_s)->setChecked(false);
    f.click(u"cmdNuovo"_s);
    typeText(f.edit(u"txtDitta"_s), u"Due"_s);
    f.click(u"cmdSalva"_s);

    const QByteArray file = f.bytes();
    QCOMPARE(file.size(), 2 * 3643);
    using namespace SupplierRecord;
    QCOMPARE(storedBytes(file, 0, Ditta), QByteArray("Citt\xE0 Forniture"));
    QCOMPARE(storedBytes(file, 0, Titolare), QByteArray());
    QCOMPARE(storedBytes(file, 0, File02), QByteArray("listino.pdf"));
    QCOMPARE(file.mid(2134, 3), QByteArray("\x02\x53\xEC", 3));
    QCOMPARE(file.mid(3643 + 2134, 3), QByteArray("\x02\x4E\x6F", 3));
}

// A record put on the card by a list or a search: every control from its field, trimmed.
void TestFornitori::recordDisplay()
{
    Fixture f;
    QVERIFY(f.ready());
    Record shown = fullSupplier(u"  Rossi  "_s);
    shown.setValue(SupplierRecord::Desc03, u"  descrizione  "_s);
    f.card.loadRecord(shown, 7);
    QCOMPARE(f.text(u"txtDitta"_s), u"Rossi"_s);
    QCOMPARE(f.text(u"txtTitolare"_s), u"titolare è"_s);
    QCOMPARE(f.text(u"txtProvRes"_s), u"TO"_s);
    QCOMPARE(f.find<QComboBox>(u"txtProvRes"_s)->currentIndex(),
        int(Provinces::codes().indexOf(u"TO"_s)));
    QCOMPARE(f.text(u"lblDesc03"_s), u"descrizione"_s);
    QCOMPARE(f.text(u"lblFile01"_s), u"file01 è"_s);
    QVERIFY(f.find<QCheckBox>(u"chkRicontatta"_s)->isChecked());
    QCOMPARE(f.text(u"lblPosizione"_s), u"7"_s);
    // A province that is not in the list shows as typed.
    shown.setValue(SupplierRecord::ProvRes, u"XY"_s);
    f.card.loadRecord(shown, 1);
    QCOMPARE(f.text(u"txtProvRes"_s), u"XY"_s);
}

// An older record whose flag is neither "Sì" nor "No" shows unchecked, not with the flag
// of the supplier shown before it, and a Salva then stores "No".
void TestFornitori::flagNeitherYesNorNo()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ fullSupplier(u"Segnato"_s, u"Sì"_s),
        fullSupplier(u"Vecchio"_s, QString()), fullSupplier(u"Strano"_s, u"X"_s) }));
    auto *flag = f.find<QCheckBox>(u"chkRicontatta"_s);
    f.click(u"cmdPrimo"_s);
    QVERIFY(flag->isChecked());
    f.click(u"cmdAvanti"_s);
    QCOMPARE(f.text(u"txtDitta"_s), u"Vecchio"_s);
    QVERIFY(!flag->isChecked());
    f.click(u"cmdSalva"_s);
    QCOMPARE(storedBytes(f.bytes(), 1, SupplierRecord::Ricontatta), QByteArray("No"));
    flag->setChecked(true);
    f.click(u"cmdAvanti"_s);
    QCOMPARE(f.text(u"txtDitta"_s), u"Strano"_s);
    QVERIFY(!flag->isChecked());
}

void TestFornitori::newCardClearsEverything()
{
    Fixture f;
    QVERIFY(f.ready());
    f.card.loadRecord(fullSupplier(u"Rossi"_s), 3);
    f.find(u"txtNote"_s)->setFocus();
    f.click(u"cmdNuovo"_s);
    const RecordLayout &layout = SupplierRecord::layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        if (i == SupplierRecord::Ricontatta)
            continue;
        QWidget *control = f.card.binding().control(i);
        QVERIFY2(CardBinding::controlText(control).isEmpty(), qPrintable(layout.fieldName(i)));
    }
    QVERIFY(!f.find<QCheckBox>(u"chkRicontatta"_s)->isChecked());
    QCOMPARE(f.find<QComboBox>(u"txtProvRes"_s)->currentIndex(), -1);
    QCOMPARE(f.text(u"lblPosizione"_s), QString());
    QCOMPARE(QApplication::focusWidget(), f.find(u"txtDitta"_s));
    QCOMPARE(f.messages.count(), 0);
}

void TestFornitori::duplicate()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ fullSupplier(u"Rossi"_s) }));
    f.click(u"cmdPrimo"_s);
    f.click(u"cmdDuplica"_s);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Information);
    QCOMPARE(f.messages.lastText(), kDuplicated);
    QCOMPARE(QApplication::focusWidget(), f.find(u"txtDitta"_s));
    // The texts and the flag stay; the attachments and the position go.
    QCOMPARE(f.text(u"txtDitta"_s), u"Rossi"_s);
    QCOMPARE(f.text(u"txtQuestioni"_s), u"questioni è"_s);
    QVERIFY(f.find<QCheckBox>(u"chkRicontatta"_s)->isChecked());
    for (const char *label :
        { "lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03" })
        QVERIFY2(f.text(QString::fromLatin1(label)).isEmpty(), label);
    QCOMPARE(f.text(u"lblPosizione"_s), QString());

    f.click(u"cmdSalva"_s);
    QCOMPARE(f.messages.lastText(), kInserted);
    QCOMPARE(f.text(u"lblPosizione"_s), u"2"_s);
    const QList<Record> records = f.records();
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[1].value(SupplierRecord::Questioni), u"questioni è"_s);
    QCOMPARE(records[1].value(SupplierRecord::Ricontatta), u"Sì"_s);
    QCOMPARE(records[1].value(SupplierRecord::File01), QString());
    QCOMPARE(records[0].value(SupplierRecord::File01), u"file01 è"_s);
}

void TestFornitori::duplicateNewCard()
{
    Fixture f;
    QVERIFY(f.ready());
    f.edit(u"txtDitta"_s)->setText(u"Nuova"_s);
    f.click(u"cmdDuplica"_s);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Warning);
    QCOMPARE(f.messages.lastText(), kDuplicateNew);
    QCOMPARE(f.text(u"txtDitta"_s), u"Nuova"_s);
    QVERIFY(!QFile::exists(f.folder.filePath(u"Fornitori.mrv"_s)));
}

void TestFornitori::checkRouting_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("input");
    QTest::newRow("tax code: empty")
        << u"btnCodFisc"_s << u"txtCodFisc"_s << QString() << u"TfrmCodFisc"_s << u"txtCodFisc"_s;
    QTest::newRow("tax code: eleven digits")
        << u"btnCodFisc"_s << u"txtCodFisc"_s << u"12345678903"_s << u"TfrmPartitaIva"_s
        << u"txtPartitaIva"_s;
    QTest::newRow("tax code: a code with letters")
        << u"btnCodFisc"_s << u"txtCodFisc"_s << u"RSSMRA80A01F205X"_s << u"TfrmCodFisc"_s
        << u"txtCodFisc"_s;
    QTest::newRow("VAT number") << u"btnPartitaIva"_s << u"txtPartitaIva"_s << u"12345678903"_s
                                << u"TfrmPartitaIva"_s << u"txtPartitaIva"_s;
    QTest::newRow("IBAN") << u"btnIban"_s << u"txtIban"_s << u"IT60X0542811101000000123456"_s
                          << u"TfrmIban"_s << u"txtIban"_s;
    QTest::newRow("card") << u"btnCarta"_s << u"txtCarta"_s << u"4111111111111111"_s
                          << u"TfrmCarta"_s << u"txtNumero"_s;
}

void TestFornitori::checkRouting()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, dialog);
    QFETCH(QString, input);
    Fixture f;
    QVERIFY(f.ready());
    // Blanks around the text reach the dialog trimmed.
    f.edit(field)->setText(u" "_s + typed + u" "_s);
    QString opened;
    QString received = u"<none>"_s;
    onNextModal([&](QWidget *modal) {
        opened = modal->objectName();
        if (auto *box = modal->findChild<QLineEdit *>(input))
            received = box->text();
    });
    f.click(button);
    QCOMPARE(opened, dialog);
    QCOMPARE(received, typed);
    // Nothing comes back to the card.
    QCOMPARE(f.text(field).trimmed(), typed);
}

void TestFornitori::email_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("url");
    QTest::newRow("address") << u"info@rossi.it"_s << u"mailto:info@rossi.it"_s;
    QTest::newRow("no address: a message without recipient") << QString() << u"mailto:"_s;
}

void TestFornitori::email()
{
    QFETCH(QString, address);
    QFETCH(QString, url);
    Fixture f;
    QVERIFY(f.ready());
    f.edit(u"txtEmail"_s)->setText(address);
    f.click(u"btnEmail"_s);
    QCOMPARE(m_opened.size(), 1);
    QCOMPARE(m_opened.first().toString(), url);
    QCOMPARE(f.messages.count(), 0);
}

// Crea PDF writes what the card shows, saved or not, to Fornitore.pdf, replacing an
// earlier one, and asks whether to open it.
void TestFornitori::pdf()
{
    Fixture f;
    QVERIFY(f.ready());
    const QString path = f.folder.filePath(u"Fornitore.pdf"_s);
    f.card.loadRecord(fullSupplier(u"Prima Ditta"_s), 1);
    f.messages.answers = { Messages::Answer::No };
    f.click(u"cmdPDF"_s);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Confirmation);
    QCOMPARE(f.messages.lastText(), pdfDone(path));
    QVERIFY(m_opened.isEmpty());
    QVERIFY(pdfText(path).contains(u"Prima Ditta"_s));

    // A new card never saved, with blanks around a value; the answer Sì opens the file.
    f.click(u"cmdNuovo"_s);
    typeText(f.edit(u"txtDitta"_s), u"  Seconda Ditta  "_s);
    f.find<QCheckBox>(u"chkRicontatta"_s)->setChecked(true);
    f.messages.answers = { Messages::Answer::Yes };
    f.click(u"cmdPDF"_s);
    QCOMPARE(m_opened.size(), 1);
    QCOMPARE(m_opened.first(), QUrl::fromLocalFile(path));
    const QString text = pdfText(path);
    QVERIFY2(text.contains(u"SCHEDA ANAGRAFICA FORNITORE"_s), qPrintable(text));
    QVERIFY(!text.contains(u"Prima Ditta"_s));
    QVERIFY(text.contains(u"Denominazione Ditta:"_s));
    QVERIFY(text.contains(u"Seconda Ditta"_s));
    QRegularExpression recontact(u"Da ricontattare: +Sì"_s);
    QVERIFY2(recontact.match(text).hasMatch(), qPrintable(text));
    QVERIFY(text.contains(u"Stampa eseguita in data "_s));
    // Nothing else is left in the folder: no temporary file beside the PDF.
    QCOMPARE(QDir(f.folder.path()).entryList(QDir::Files), QStringList { u"Fornitore.pdf"_s });
}

// A Fornitore.pdf that cannot be replaced (here a folder of that name) gives a warning
// that says so, no question and no shell.
void TestFornitori::pdfFailure()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(QDir(f.folder.path()).mkdir(u"Fornitore.pdf"_s));
    f.edit(u"txtDitta"_s)->setText(u"Rossi"_s);
    f.click(u"cmdPDF"_s);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Warning);
    QVERIFY(f.messages.lastText().startsWith(
        u"Attenzione: impossibile salvare la scheda in PDF nel file"_s));
    QVERIFY(m_opened.isEmpty());
    QVERIFY(QFileInfo(f.folder.filePath(u"Fornitore.pdf"_s)).isDir());
}

// A program folder the user may not write into: the same warning, and no file.
void TestFornitori::pdfReadOnlyFolder()
{
    Fixture f;
    QVERIFY(f.ready());
    QFile folder(f.folder.path());
    const QFileDevice::Permissions writable = folder.permissions();
    QVERIFY(folder.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther
        | QFileDevice::ExeOther));
    QFile probe(f.folder.filePath(u"probe"_s));
    if (probe.open(QIODevice::WriteOnly)) {
        // Root writes into read-only folders: the storage layer's fault hook refuses the
        // new file as such a folder does.
        probe.remove();
        RecordFile::setFaultHook([](RecordFile::IoStep step) {
            return step == RecordFile::IoStep::ReplaceCommit ? RecordFile::IoFault::Fail
                                                             : RecordFile::IoFault::None;
        });
    }
    f.edit(u"txtDitta"_s)->setText(u"Rossi"_s);
    f.click(u"cmdPDF"_s);
    RecordFile::setFaultHook({});
    QVERIFY(folder.setPermissions(writable));
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Warning);
    QVERIFY(f.messages.lastText().startsWith(
        u"Attenzione: impossibile salvare la scheda in PDF nel file"_s));
    QVERIFY(m_opened.isEmpty());
    QVERIFY(!QFile::exists(f.folder.filePath(u"Fornitore.pdf"_s)));
}

void TestFornitori::previewAndHelp()
{
    Fixture f;
    QVERIFY(f.ready());
    QString preview;
    onNextModal(
        [&](QWidget *modal) { preview = QString::fromLatin1(modal->metaObject()->className()); });
    f.click(u"cmdAnteprima"_s);
    QCOMPARE(preview, u"ReportPreviewDialog"_s);

    QString title;
    QString body;
    onNextModal([&](QWidget *modal) {
        title = modal->findChild<QLabel *>(u"lblTitolo"_s)->text();
        body = CardBinding::controlText(modal->findChild<QWidget *>(u"txtGuida"_s));
    });
    f.click(u"cmdGuida"_s);
    QCOMPARE(title, u"Archivio Fornitori."_s);
    const HelpTopic topic = helpTopic(u"TfrmFornitori"_s);
    QCOMPARE(topic.paragraphs.size(), 9);
    for (const QString &paragraph : topic.paragraphs)
        QVERIFY(body.contains(paragraph));

    QString list;
    onNextModal([&](QWidget *modal) { list = modal->objectName(); });
    f.click(u"cmdRicontatta"_s);
    QCOMPARE(list, u"TfrmRicontattaFor"_s);
    QCOMPARE(f.messages.count(), 0);
}

void TestFornitori::accessErrors_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("start");
    QTest::newRow("save new") << u"cmdSalva"_s << QString();
    QTest::newRow("save stored") << u"cmdSalva"_s << u"2"_s;
    QTest::newRow("first") << u"cmdPrimo"_s << u"2"_s;
    QTest::newRow("next") << u"cmdAvanti"_s << u"2"_s;
    QTest::newRow("duplicate") << u"cmdDuplica"_s << u"2"_s;
}

// A folder where the archive should be: every action that opens it shows the access
// error in an error box and the card keeps what it showed.
void TestFornitori::accessErrors()
{
    QFETCH(QString, button);
    QFETCH(QString, start);
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(QDir(f.folder.path()).mkdir(u"Fornitori.mrv"_s));
    f.edit(u"txtDitta"_s)->setText(u"Rossi"_s);
    f.find<QLabel>(u"lblPosizione"_s)->setText(start);
    // An arrow asks first about the unsaved card (No), then cannot read.
    const bool arrow = button == u"cmdPrimo"_s || button == u"cmdAvanti"_s;
    if (arrow)
        f.messages.answers = { Messages::Answer::No };
    f.click(button);
    QCOMPARE(f.messages.takeFirst(CardScreen::unsavedEditsText()), arrow);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Error);
    QCOMPARE(f.messages.lastText(), kAccessError);
    QCOMPARE(f.text(u"txtDitta"_s), u"Rossi"_s);
    // Duplica has made the card new before it finds the archive out of reach.
    QCOMPARE(f.text(u"lblPosizione"_s), button == u"cmdDuplica"_s ? QString() : start);
    QVERIFY(QFileInfo(f.folder.filePath(u"Fornitori.mrv"_s)).isDir());
}

// A damaged archive: lengths larger than their fields and a piece of a record at the end.
void TestFornitori::damagedArchive()
{
    Fixture f;
    QVERIFY(f.ready());
    const QByteArray file
        = fullSupplier(u"Sano"_s).encode() + QByteArray(3643, '\xff') + QByteArray(100, 'A');
    {
        QFile out(f.folder.filePath(u"Fornitori.mrv"_s));
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(file), file.size());
    }
    f.click(u"cmdUltimo"_s);
    QCOMPARE(f.messages.count(), 0);
    QCOMPARE(f.text(u"lblPosizione"_s), u"2"_s);
    // Each field reads no more than its capacity: 0xFF is "ÿ" in the code page.
    QCOMPARE(f.text(u"txtDitta"_s), QString(50, u'ÿ'));
    QCOMPARE(f.text(u"txtProvRes"_s), QString(2, u'ÿ'));
    QVERIFY(!f.find<QCheckBox>(u"chkRicontatta"_s)->isChecked());
    f.click(u"cmdPrimo"_s);
    QCOMPARE(f.text(u"txtDitta"_s), u"Sano"_s);
    // Saving the sound record rewrites it alone; the damaged bytes after it stay.
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.messages.lastText(), kRewritten);
    QCOMPARE(f.bytes().mid(3643), file.mid(3643));
}

// 300 characters pasted into a 50-character field: the field takes its capacity.
void TestFornitori::pastedLongText()
{
    Fixture f;
    QVERIFY(f.ready());
    const QString pasted = QString(300, u'x');
    QApplication::clipboard()->setText(pasted);
    auto *edit = f.edit(u"txtDitta"_s);
    edit->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), edit);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QString(50, u'x'));
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.records().value(0, f.record()).value(SupplierRecord::Ditta), QString(50, u'x'));
}

QTEST_MAIN(TestFornitori)
#include "tst_fornitori.moc"
