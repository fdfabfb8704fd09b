#include "customers/Anagrafica.h"

#include "app/FieldEntry.h"
#include "app/OpenURL.h"
#include "common/CardFixture.h"
#include "common/UserInput.h"
#include "records/CustomerRecord.h"
#include "storage/Cp1252.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <functional>

using namespace Qt::StringLiterals;
using Kind = Messages::Kind;

namespace {

const QDateTime kNow(QDate(2021, 3, 15), QTime(10, 20, 30));
const QString kInserted = u"La scheda corrente è stata inserita in archivio."_s;
const QString kSaved
    = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s;

// Runs actions on the first modal window once it is shown, then closes it.
void onModal(const std::function<void(QDialog *)> &actions)
{
    QTimer::singleShot(0, [actions] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        actions(dialog);
        if (dialog->isVisible())
            dialog->done(QDialog::Rejected);
    });
}

Record customer(const QString &surname, const QString &name = u"Mario"_s)
{
    using namespace CustomerRecord;
    Record r(layout());
    r.setValue(Cognome, surname);
    r.setValue(Nome, name);
    r.setValue(Decorrenza, u"01/01/2021"_s);
    r.setValue(Scadenza, u"01/02/2021"_s);
    r.setValue(Preavviso, u"5"_s);
    r.setValue(Totale, u"100,00"_s);
    r.setValue(Rata, u"10,00"_s);
    return r;
}

using Fixture = CardFixture<TfrmAnagrafica>;

} // namespace

class TestAnagrafica : public QObject
{
    Q_OBJECT
private slots:
    void init() { Clock::setFixed(kNow); }
    void cleanup()
    {
        Clock::reset();
        TMisc::setOpener({});
    }
    void contract_data();
    void contract();
    void typingLimits_data();
    void typingLimits();
    void enterRing();
    void provinceBoxes();
    void typing_data();
    void typing();
    void amountsOnLeaving_data();
    void amountsOnLeaving();
    void newCard();
    void storedLayout();
    void saveAppendsThenRewrites();
    void saveRefusals_data();
    void saveRefusals();
    void accessErrors();
    void damagedArchive();
    void checkButtons_data();
    void checkButtons();
    void email_data();
    void email();
    void recordFolder();
    void help();
    void attachmentsReachTheArchive();
};

void TestAnagrafica::contract_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<bool>("enabled");

    auto row = [](const QString &name, const char *cls, bool enabled = true) {
        QTest::newRow(qPrintable(name)) << name << QString::fromLatin1(cls) << enabled;
    };
    const RecordLayout &layout = CustomerRecord::layout();
    for (int i = 0; i < layout.fieldCount(); ++i) {
        const QString field = layout.fieldName(i);
        if (field.startsWith(u"File") || field.startsWith(u"Desc")) {
            row(u"lbl"_s + field, "QLabel");
            continue;
        }
        const bool province = field == u"ProvNasc" || field == u"ProvRes";
        row(u"txt"_s + field, province ? "QComboBox" : "QLineEdit");
        row(u"eff"_s + field, "QWidget");
    }
    for (const char *name :
        { "cmdNuovo", "cmdSalva", "cmdCartella", "cmdFile", "cmdStampa", "cmdPrimo", "cmdIndietro",
            "cmdAvanti", "cmdUltimo", "cmdScaduti", "cmdGuida", "cmdEsci", "btnCodFisc", "btnIva",
            "btnIban", "btnCarta", "btnEmail", "cmdTrova", "cmdEsporta" })
        row(QString::fromLatin1(name), "QToolButton");
    row(u"lblPosizione"_s, "QLabel");
    row(u"panInfo"_s, "QLabel");
}

void TestAnagrafica::contract()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(bool, enabled);

    Fixture f;
    QCOMPARE(f.card.objectName(), u"TfrmAnagrafica"_s);
    QCOMPARE(f.card.windowTitle(), u" Merventa 2.0 - Anagrafica Clienti"_s);
    QVERIFY(f.card.windowState().testFlag(Qt::WindowMaximized));
    QWidget *w = f.find(name);
    QVERIFY2(w, qPrintable(name));
    QVERIFY2(w->inherits(className.toLatin1().constData()),
        qPrintable(name + u" is a "_s + QString::fromLatin1(w->metaObject()->className())));
    QCOMPARE(w->isEnabled(), enabled);
    if (name.startsWith(u"cmd") || name.startsWith(u"btn"))
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
    if (name.startsWith(u"lblFile") || name.startsWith(u"lblDesc"))
        QVERIFY(!w->isVisible());
    if (name.startsWith(u"txt")) {
        QVERIFY(w->font().bold());
        QCOMPARE(w->font().pointSize(), 12);
    }
}

void TestAnagrafica::typingLimits_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("limit");
    const RecordLayout &layout = CustomerRecord::layout();
    for (int i = 0; i < layout.fieldCount() - 6; ++i) {
        const QString field = layout.fieldName(i);
        // The instalment amount holds 50 characters but is typed in 15.
        const int limit = field == u"Rata" ? 15 : layout.field(i).capacity;
        QTest::newRow(qPrintable(field)) << u"txt"_s + field << limit;
    }
}

void TestAnagrafica::typingLimits()
{
    QFETCH(QString, control);
    QFETCH(int, limit);
    Fixture f;
    QLineEdit *edit = f.edit(control);
    if (!edit)
        edit = f.find<QComboBox>(control)->lineEdit();
    QCOMPARE(FieldEntry::typingLimit(edit), limit);
}

void TestAnagrafica::enterRing()
{
    Fixture f;
    QVERIFY(f.ready());
    const QStringList ring = { u"txtCognome"_s, u"txtNome"_s, u"txtCodFisc"_s, u"txtSesso"_s,
        u"txtDataNasc"_s, u"txtComuneNasc"_s, u"txtProvNasc"_s, u"txtIva"_s, u"txtIndirizzo"_s,
        u"txtCap"_s, u"txtComuneRes"_s, u"txtProvRes"_s, u"txtStato"_s, u"txtFamiliari"_s,
        u"txtRecapito"_s, u"txtTelCasa"_s, u"txtTelCel"_s, u"txtTelUff"_s, u"txtFax"_s,
        u"txtEmail"_s, u"txtQualifiche"_s, u"txtProfessione"_s, u"txtIban"_s, u"txtIntestatario"_s,
        u"txtBanca"_s, u"txtCarta"_s, u"txtScadeCarta"_s, u"txtProdotti"_s, u"txtPagamento"_s,
        u"txtNote"_s, u"txtTipoDoc"_s, u"txtNumDoc"_s, u"txtEnteRil"_s, u"txtDataRil"_s,
        u"txtDataSca"_s, u"txtCodice"_s, u"txtCategoria"_s, u"txtZona"_s, u"txtAcquisto"_s,
        u"txtDecorrenza"_s, u"txtScadenza"_s, u"txtPreavviso"_s, u"txtTotale"_s,
        u"txtFrazionamento"_s, u"txtRata"_s, u"txtCognome"_s };
    QCOMPARE(QApplication::focusWidget(), f.find(u"txtCognome"_s));
    for (qsizetype i = 0; i + 1 < ring.size(); ++i) {
        QWidget *from = f.find(ring[i]);
        from->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QWidget *focus = QApplication::focusWidget();
        // A drop-down box hands the focus to its own edit line.
        while (focus && focus->objectName().isEmpty() && focus->parentWidget())
            focus = focus->parentWidget();
        QVERIFY2(focus == f.find(ring[i + 1]),
            qPrintable(ring[i] + u" -> "_s + (focus ? focus->objectName() : u"none"_s)));
    }
}

void TestAnagrafica::provinceBoxes()
{
    Fixture f;
    QVERIFY(f.ready());
    for (const QString &name : { u"txtProvNasc"_s, u"txtProvRes"_s }) {
        auto *box = f.find<QComboBox>(name);
        QVERIFY(box->isEditable());
        QCOMPARE(box->count(), 112);
        QCOMPARE(box->itemText(0), u"AG"_s);
        QCOMPARE(box->itemText(17), u"BT"_s);
        QCOMPARE(box->itemText(111), u"VV"_s);
        // A new card shows no province and no item selected.
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->currentText(), QString());

        box->setCurrentIndex(box->findText(u"TO"_s));
        f.edit(u"txtCognome"_s)->setFocus();
        box->setFocus(Qt::TabFocusReason);
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->currentText(), u"TO"_s);

        // A code outside the list is kept, in upper case.
        box->lineEdit()->clear();
        typeText(box->lineEdit(), u"zz"_s);
        QCOMPARE(box->currentText(), u"ZZ"_s);
    }
    f.edit(u"txtCognome"_s)->setText(u"Rossi"_s);
    f.edit(u"txtNome"_s)->setText(u"Anna"_s);
    f.find<QComboBox>(u"txtProvNasc"_s)->setEditText(u"MI"_s);
    f.click(u"cmdSalva"_s);
    const Record stored
        = Record::fromBytes(CustomerRecord::layout(), f.bytes().left(CustomerRecord::kRecordSize));
    QCOMPARE(stored.value(CustomerRecord::ProvNasc), u"MI"_s);
    QCOMPARE(stored.value(CustomerRecord::ProvRes), u"ZZ"_s);
    f.click(u"cmdNuovo"_s);
    f.click(u"cmdPrimo"_s);
    QCOMPARE(f.text(u"txtProvNasc"_s), u"MI"_s);
    QCOMPARE(f.find<QComboBox>(u"txtProvNasc"_s)->currentIndex(),
        f.find<QComboBox>(u"txtProvNasc"_s)->findText(u"MI"_s));
    QCOMPARE(f.text(u"txtProvRes"_s), u"ZZ"_s);
}

void TestAnagrafica::typing_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("tax code in upper case")
        << u"txtCodFisc"_s << u" rssmra80a01h501u"_s << u"RSSMRA80A01H501U"_s;
    QTest::newRow("IBAN in upper case") << u"txtIban"_s << u"it60x054"_s << u"IT60X054"_s;
    QTest::newRow("sex in upper case") << u"txtSesso"_s << u"f"_s << u"F"_s;
    QTest::newRow("accented letters stay") << u"txtCodFisc"_s << u"àb"_s << u"àB"_s;
    QTest::newRow("e-mail trimmed, case kept")
        << u"txtEmail"_s << u" Mario@Example.it "_s << u"Mario@Example.it"_s;
    QTest::newRow("letters dropped from the VAT number")
        << u"txtIva"_s << u"12ab34 5"_s << u"12345"_s;
    QTest::newRow("card number digits only") << u"txtCarta"_s << u"4111-1111"_s << u"41111111"_s;
    QTest::newRow("days of notice digits only") << u"txtPreavviso"_s << u"1x5,"_s << u"15"_s;
    QTest::newRow("amount keeps the comma") << u"txtTotale"_s << u"12a,5.0"_s << u"12,50"_s;
    QTest::newRow("names as typed") << u"txtCognome"_s << u"d'Angelo"_s << u"d'Angelo"_s;
}

void TestAnagrafica::typing()
{
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Fixture f;
    QVERIFY(f.ready());
    QLineEdit *edit = f.edit(control);
    edit->setFocus();
    edit->clear();
    typeText(edit, typed);
    QCOMPARE(edit->text(), shown);
}

void TestAnagrafica::amountsOnLeaving_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("left");

    QTest::newRow("whole") << u"1500"_s << u"1500,00"_s;
    QTest::newRow("one decimal") << u"99,9"_s << u"99,90"_s;
    QTest::newRow("three decimals") << u"12,345"_s << u"12,345"_s;
    QTest::newRow("rounded to four") << u"12,34567"_s << u"12,3457"_s;
    QTest::newRow("empty") << QString() << u"0,00"_s;
    QTest::newRow("a lone comma") << u","_s << u"0,00"_s;
    QTest::newRow("two commas") << u"1,2,3"_s << u"0,00"_s;
}

void TestAnagrafica::amountsOnLeaving()
{
    QFETCH(QString, typed);
    QFETCH(QString, left);
    Fixture f;
    QVERIFY(f.ready());
    for (const QString &name : { u"txtTotale"_s, u"txtRata"_s }) {
        QLineEdit *edit = f.edit(name);
        edit->setFocus();
        edit->clear();
        typeText(edit, typed);
        f.edit(u"txtFrazionamento"_s)->setFocus();
        QCOMPARE(edit->text(), left);
    }
}

void TestAnagrafica::newCard()
{
    Fixture f;
    QVERIFY(f.ready());
    QCOMPARE(f.text(u"panInfo"_s), u"Pronto per salvare una nuova scheda..."_s);
    const RecordLayout &layout = CustomerRecord::layout();
    for (int i = 0; i < layout.fieldCount(); ++i)
        f.card.binding().setText(i, u"x"_s);
    f.card.setPosition(4);

    f.click(u"cmdNuovo"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), QString());
    QCOMPARE(QApplication::focusWidget(), f.find(u"txtCognome"_s));
    for (int i = 0; i < layout.fieldCount(); ++i) {
        const QString field = layout.fieldName(i);
        QString expected;
        if (field == u"Decorrenza" || field == u"Scadenza")
            expected = u"15/03/2021"_s;
        else if (field == u"Preavviso")
            expected = u"0"_s;
        else if (field == u"Totale" || field == u"Rata")
            expected = u"0,00"_s;
        QCOMPARE(f.card.binding().text(i), expected);
    }
    // Showing the card again starts from a new card.
    f.card.setPosition(2);
    f.edit(u"txtNome"_s)->setText(u"Anna"_s);
    f.card.hide();
    f.card.show();
    QCOMPARE(f.text(u"lblPosizione"_s), QString());
    QCOMPARE(f.text(u"txtNome"_s), QString());
}

void TestAnagrafica::storedLayout()
{
    Fixture f;
    QVERIFY(f.ready());
    const RecordLayout &layout = CustomerRecord::layout();
    // Every field gets a text of its own: its name, cut by the typing limit of its box.
    auto typed = [&layout](int i) {
        if (i == CustomerRecord::Decorrenza || i == CustomerRecord::Scadenza)
            return u"15/03/2021"_s;
        if (i == CustomerRecord::File01)
            return QString(300, u'f'); // no typing limit: cut when stored
        const QString text = layout.fieldName(i) + u"è"_s;
        return i == CustomerRecord::Rata ? text.left(15) : text.left(layout.field(i).capacity);
    };
    for (int i = 0; i < layout.fieldCount(); ++i)
        f.card.binding().setText(i, typed(i));
    f.edit(u"txtCognome"_s)->setText(u"  De Luca  "_s);
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.messages.lastText(), kInserted);

    const QByteArray bytes = f.bytes();
    QCOMPARE(bytes.size(), 4043);
    using namespace CustomerRecord;
    const QList<int> upperCase = { CodFisc, Sesso, ProvNasc, ProvRes, Iban };
    for (int i = 0; i < layout.fieldCount(); ++i) {
        QString expected = i == Cognome ? u"De Luca"_s : typed(i).left(layout.field(i).capacity);
        // These boxes turn what they hold to upper case (the accented letter stays).
        if (upperCase.contains(i))
            expected = UpperAscii(expected);
        const int offset = layout.offset(i);
        const int length = quint8(bytes.at(offset));
        QCOMPARE(layout.fieldName(i) + u' ' + Cp1252::decode(bytes.mid(offset + 1, length)),
            layout.fieldName(i) + u' ' + expected);
    }
}

void TestAnagrafica::saveAppendsThenRewrites()
{
    Fixture f;
    QVERIFY(f.ready());
    // Only surname and name typed: the dates, days of notice and amounts of a new card
    // complete it.
    typeText(f.edit(u"txtCognome"_s), u"Rossi"_s);
    typeText(f.edit(u"txtNome"_s), u"Mario"_s);
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Information);
    QCOMPARE(f.messages.lastText(), kInserted);
    QCOMPARE(f.text(u"lblPosizione"_s), u"1"_s);
    Record stored = Record::fromBytes(CustomerRecord::layout(), f.bytes());
    QCOMPARE(stored.value(CustomerRecord::Decorrenza), u"15/03/2021"_s);
    QCOMPARE(stored.value(CustomerRecord::Scadenza), u"15/03/2021"_s);
    QCOMPARE(stored.value(CustomerRecord::Preavviso), u"0"_s);
    QCOMPARE(stored.value(CustomerRecord::Rata), u"0,00"_s);

    // Saving again rewrites record 1.
    f.edit(u"txtNome"_s)->setText(u"Maria"_s);
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.messages.lastText(), kSaved);
    QCOMPARE(f.messages.lastKind(), Kind::Information);
    QCOMPARE(f.text(u"lblPosizione"_s), u"1"_s);
    QCOMPARE(f.bytes().size(), 4043);
    stored = Record::fromBytes(CustomerRecord::layout(), f.bytes());
    QCOMPARE(stored.value(CustomerRecord::Nome), u"Maria"_s);

    // A new card is appended after it.
    f.click(u"cmdNuovo"_s);
    typeText(f.edit(u"txtCognome"_s), u"Bianchi"_s);
    typeText(f.edit(u"txtNome"_s), u"Sara"_s);
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"2"_s);
    QCOMPARE(f.bytes().size(), 2 * 4043);
}

void TestAnagrafica::saveRefusals_data()
{
    QTest::addColumn<QString>("control"); // emptied or changed on a card ready to save
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus"); // empty: stays where it was

    const QString dateTail = u"\n\r\n\rPer poter salvare la scheda è necessario indicare una "
                             "data valida nel formato gg/mm/aaaa."_s;
    QTest::newRow("surname of blanks") << u"txtCognome"_s << u"   "_s << int(Kind::Warning)
                                       << u"Attenzione: per salvare la scheda è necessario "
                                          "indicare il cognome del Cliente."_s
                                       << u"txtCognome"_s;
    QTest::newRow("no name") << u"txtNome"_s << QString() << int(Kind::Warning)
                             << u"Attenzione: per salvare la scheda è necessario indicare il "
                                "nome del Cliente."_s
                             << u"txtNome"_s;
    QTest::newRow("no start date")
        << u"txtDecorrenza"_s << QString() << int(Kind::Warning)
        << u"Attenzione: per salvare la scheda è necessario indicare la data di decorrenza "
           "dell'acquisto rateale effettuato."_s
        << u"txtDecorrenza"_s;
    QTest::newRow("no due date") << u"txtScadenza"_s << u" "_s << int(Kind::Warning)
                                 << u"Attenzione: per salvare la scheda è necessario indicare "
                                    "la data di scadenza della prossima rata."_s
                                 << u"txtScadenza"_s;
    QTest::newRow("31/02/2021") << u"txtDecorrenza"_s << u"31/02/2021"_s << int(Kind::Plain)
                                << u"Attenzione: la data di decorrenza 31/02/2021 non esiste."_s
            + dateTail << u"txtDecorrenza"_s;
    QTest::newRow("1/1/21") << u"txtScadenza"_s << u"1/1/21"_s << int(Kind::Plain)
                            << u"Attenzione: la data di scadenza 1/1/21 non esiste."_s + dateTail
                            << u"txtScadenza"_s;
    QTest::newRow("due before start")
        << u"txtScadenza"_s << u"09/05/2021"_s << int(Kind::Plain)
        << u"Attenzione: la data di scadenza della prossima rata (09/05/2021) non può essere "
           "anteriore a quella di decorrenza (10/05/2021).\n\r\n\rPer poter salvare la scheda è "
           "necessario indicare un intervallo di tempo valido."_s
        << QString();
    QTest::newRow("no days of notice")
        << u"txtPreavviso"_s << QString() << int(Kind::Warning)
        << u"Attenzione: per salvare la scheda è necessario indicare i giorni di preavviso."_s
        << u"txtPreavviso"_s;
}

void TestAnagrafica::saveRefusals()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ customer(u"Verdi"_s) }));
    const QByteArray before = f.bytes();
    f.card.loadRecord(customer(u"Rossi"_s), 1);
    f.edit(u"txtDecorrenza"_s)->setText(u"10/05/2021"_s);
    f.edit(u"txtScadenza"_s)->setText(u"10/05/2021"_s);
    f.edit(control)->setText(text);
    f.edit(u"txtCodice"_s)->setFocus();

    f.click(u"cmdSalva"_s);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(int(f.messages.lastKind()), kind);
    QCOMPARE(f.messages.lastText(), message);
    QCOMPARE(QApplication::focusWidget(), f.find(focus.isEmpty() ? u"txtCodice"_s : focus));
    QCOMPARE(f.bytes(), before);
    QCOMPARE(f.text(u"lblPosizione"_s), u"1"_s);
    QCOMPARE(f.text(control), text);
}

void TestAnagrafica::accessErrors()
{
    Fixture f;
    QVERIFY(f.ready());
    // A folder where the archive should be: nothing can be read or written.
    QVERIFY(QDir(f.folder.path()).mkdir(u"Clienti.mrv"_s));
    f.edit(u"txtCognome"_s)->setText(u"Rossi"_s);
    f.edit(u"txtNome"_s)->setText(u"Anna"_s);
    for (const QString &button : { u"cmdSalva"_s, u"cmdPrimo"_s, u"cmdAvanti"_s }) {
        f.messages.clear();
        // An arrow asks first about the unsaved card (No), then cannot read.
        const bool arrow = button != u"cmdSalva"_s;
        if (arrow)
            f.messages.answers = { Messages::Answer::No };
        f.click(button);
        QCOMPARE(f.messages.takeFirst(CardScreen::unsavedEditsText()), arrow);
        QCOMPARE(f.messages.count(), 1);
        QCOMPARE(f.messages.lastKind(), Kind::Error);
        QCOMPARE(f.messages.lastText(), accessErrorText());
        QCOMPARE(f.text(u"lblPosizione"_s), QString());
        QCOMPARE(f.text(u"txtCognome"_s), u"Rossi"_s);
    }
}

void TestAnagrafica::damagedArchive()
{
    Fixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ customer(u"Uno"_s), customer(u"Due"_s) }));
    // A partial record at the end (a save cut short): it is not a record.
    QFile file(f.folder.filePath(u"Clienti.mrv"_s));
    QVERIFY(file.open(QIODevice::Append));
    file.write(QByteArray(1000, '\xff'));
    file.close();
    f.click(u"cmdUltimo"_s);
    QCOMPARE(f.text(u"txtCognome"_s), u"Due"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"2"_s);
    QCOMPARE(f.messages.count(), 0);

    // A new customer goes after the whole records, over the partial one.
    f.click(u"cmdNuovo"_s);
    f.edit(u"txtCognome"_s)->setText(u"Tre"_s);
    f.edit(u"txtNome"_s)->setText(u"Anna"_s);
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"3"_s);
    QCOMPARE(f.bytes().size(), 3 * 4043);
}

void TestAnagrafica::checkButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("input");

    QTest::newRow("tax code") << u"btnCodFisc"_s << u"txtCodFisc"_s << u"RSSMRA80A01H501U"_s
                              << u"TfrmCodFisc"_s << u"txtCodFisc"_s;
    QTest::newRow("eleven digits in the tax code box")
        << u"btnCodFisc"_s << u"txtCodFisc"_s << u"12345678903"_s << u"TfrmPartitaIva"_s
        << u"txtPartitaIva"_s;
    QTest::newRow("digits with a letter") << u"btnCodFisc"_s << u"txtCodFisc"_s << u"1234567890X"_s
                                          << u"TfrmCodFisc"_s << u"txtCodFisc"_s;
    QTest::newRow("empty tax code")
        << u"btnCodFisc"_s << u"txtCodFisc"_s << QString() << u"TfrmCodFisc"_s << u"txtCodFisc"_s;
    QTest::newRow("VAT number") << u"btnIva"_s << u"txtIva"_s << u"12345678903"_s
                                << u"TfrmPartitaIva"_s << u"txtPartitaIva"_s;
    QTest::newRow("IBAN") << u"btnIban"_s << u"txtIban"_s << u"IT60X0542811101000000123456"_s
                          << u"TfrmIban"_s << u"txtIban"_s;
    QTest::newRow("card") << u"btnCarta"_s << u"txtCarta"_s << u"4111111111111111"_s
                          << u"TfrmCarta"_s << u"txtNumero"_s;
}

void TestAnagrafica::checkButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, dialog);
    QFETCH(QString, input);

    Fixture f;
    QVERIFY(f.ready());
    f.edit(field)->setText(text);
    QString opened;
    QString given = u"<none>"_s;
    onModal([&](QDialog *d) {
        opened = QString::fromLatin1(d->metaObject()->className());
        if (auto *edit = d->findChild<QLineEdit *>(input))
            given = edit->text();
    });
    f.click(button);
    QCOMPARE(opened, dialog);
    QCOMPARE(given, text);
    // Nothing comes back to the card.
    QCOMPARE(f.text(field), text);
    QCOMPARE(f.messages.count(), 0);
}

void TestAnagrafica::email_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("url");
    QTest::newRow("an address") << u"mario.rossi@example.it"_s
                                << u"mailto:mario.rossi@example.it"_s;
    QTest::newRow("empty") << QString() << u"mailto:"_s;
}

void TestAnagrafica::email()
{
    QFETCH(QString, address);
    QFETCH(QString, url);
    Fixture f;
    QVERIFY(f.ready());
    QList<QUrl> opened;
    TMisc::setOpener([&opened](const QUrl &u) { opened.append(u); });
    f.edit(u"txtEmail"_s)->setText(address);
    f.click(u"btnEmail"_s);
    TMisc::setOpener({});
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first(), TMisc::UrlFor(u"\""_s + url + u"\""_s));
    QCOMPARE(opened.first().toString(), url);
}

void TestAnagrafica::recordFolder()
{
    Fixture f;
    QVERIFY(f.ready());
    bool opened = false;
    onModal([&](QDialog *) { opened = true; });
    f.click(u"cmdCartella"_s);
    QVERIFY(!opened);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Warning);
    QCOMPARE(f.messages.lastText(),
        u"Attenzione: l'abbinamento di una cartella ad un Cliente può avvenire soltanto dopo "
        "che la scheda è stata inserita in archivio."_s);
    QTest::qWait(20);

    // After saving, the folder of the position just given.
    f.edit(u"txtCognome"_s)->setText(u"Rossi"_s);
    f.edit(u"txtNome"_s)->setText(u"Anna"_s);
    f.click(u"cmdSalva"_s);
    QString memory;
    onModal([&](QDialog *d) {
        opened = QString::fromLatin1(d->metaObject()->className()) == u"TfrmCartella";
        memory = d->findChild<QLabel *>(u"lblMemory"_s)->text();
    });
    f.click(u"cmdCartella"_s);
    QVERIFY(opened);
    QCOMPARE(memory, u"1"_s);
}

void TestAnagrafica::help()
{
    Fixture f;
    QVERIFY(f.ready());
    QString title;
    onModal([&](QDialog *d) {
        if (auto *label = d->findChild<QLabel *>(u"lblTitolo"_s))
            title = label->text();
    });
    f.click(u"cmdGuida"_s);
    QCOMPARE(title, u"Anagrafica Clienti."_s);
}

void TestAnagrafica::attachmentsReachTheArchive()
{
    Fixture f;
    QVERIFY(f.ready());
    f.edit(u"txtCognome"_s)->setText(u"Rossi"_s);
    f.edit(u"txtNome"_s)->setText(u"Anna"_s);
    // The attached files dialog hands its slots back to the card, as after a Sfoglia.
    onModal([](QDialog *d) {
        const QString values[][2]
            = { { u"txtFile01"_s, u"contratto.pdf"_s }, { u"txtDesc01"_s, u"Contratto"_s },
                  { u"txtFile03"_s, u"foto.jpg"_s }, { u"txtDesc03"_s, u"Foto"_s } };
        for (const auto &v : values)
            d->findChild<QLineEdit *>(v[0])->setText(v[1]);
        QTest::mouseClick(d->findChild<QPushButton *>(u"btnApplica"_s), Qt::LeftButton);
    });
    f.click(u"cmdFile"_s);
    f.click(u"cmdSalva"_s);
    const Record stored = Record::fromBytes(CustomerRecord::layout(), f.bytes());
    QCOMPARE(stored.value(CustomerRecord::File01), u"contratto.pdf"_s);
    QCOMPARE(stored.value(CustomerRecord::File03), u"foto.jpg"_s);
    QCOMPARE(stored.value(CustomerRecord::Desc03), u"Foto"_s);
    QCOMPARE(
        (QStringList { f.text(u"lblFile01"_s), f.text(u"lblFile02"_s), f.text(u"lblFile03"_s) }),
        (QStringList { u"contratto.pdf"_s, QString(), u"foto.jpg"_s }));
    f.click(u"cmdNuovo"_s);
    QCOMPARE(f.text(u"lblFile01"_s), QString());
}

QTEST_MAIN(TestAnagrafica)
#include "tst_anagrafica.moc"
