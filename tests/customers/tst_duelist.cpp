#include "common/TempProgramFolder.h"
#include "customers/CustomerRules.h"
#include "customers/DueList.h"
#include "records/CustomerRecord.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// The due list read from a customer archive: which customers it lists, their lines and
// order, and where an unreadable record stops it.
class TestDueList : public QObject
{
    Q_OBJECT
private slots:
    void lineColumns();
    void listsDueCustomersInOrder();
    void stopsAtARecordItCannotTest_data();
    void stopsAtARecordItCannotTest();
    void ignoresAPartialLastRecord();
    void emptyArchive();
    void printedCard();
    void printedCardNumber_data();
    void printedCardNumber();
};

namespace {

const QDate kToday(2021, 3, 15);

struct Customer
{
    QString cognome;
    QString nome;
    QString scadenza;
    QString preavviso;
    QString recapito = u"333 1234567"_s;
    QString rata = u"150,00"_s;
    QString acquisto = u"Cucina"_s;
};

Record recordOf(const Customer &c)
{
    using namespace CustomerRecord;
    Record r(layout());
    r.setValue(Cognome, c.cognome);
    r.setValue(Nome, c.nome);
    r.setValue(Scadenza, c.scadenza);
    r.setValue(Preavviso, c.preavviso);
    r.setValue(Decorrenza, u"01/01/2020"_s);
    r.setValue(Recapito, c.recapito);
    r.setValue(Rata, c.rata);
    r.setValue(Acquisto, c.acquisto);
    return r;
}

void writeCustomers(const QList<Customer> &customers)
{
    RecordFile file;
    QVERIFY(file.open(CustomerRecord::archive()));
    for (const Customer &c : customers)
        QVERIFY(file.append(recordOf(c)));
}

ListLines::Scan dueLines()
{
    RecordFile file;
    if (!file.open(CustomerRecord::archive()))
        return { {}, false };
    return DueList::lines(file, kToday);
}

QStringList surnamesOf(const QStringList &lines)
{
    QStringList surnames;
    for (const QString &line : lines)
        surnames.append(line.section(u' ', 0, 0));
    return surnames;
}

} // namespace

void TestDueList::lineColumns()
{
    TempProgramFolder folder;
    writeCustomers({ { u"  De Luca "_s, u"Anna Maria"_s, u"15/03/2021"_s, u"0"_s,
        u"3331234567890123"_s, u"1.234,5678"_s, u"Motocicletta 125 cc "_s } });
    const ListLines::Scan scan = dueLines();
    QVERIFY(scan.complete);
    // Surname and name joined and padded to 30, the contact cut to 12, the instalment
    // padded to 15, the purchase as it is (trimmed).
    QCOMPARE(scan.lines.toStringList(),
        QStringList { u"De Luca Anna Maria            "
                      "  Tel. 333123456789"
                      "  Scad. 15/03/2021"
                      "  Rata: € 1.234,5678     "
                      "  Acquisto: Motocicletta 125 cc"_s });
}

void TestDueList::listsDueCustomersInOrder()
{
    TempProgramFolder folder;
    writeCustomers({
        { u"Zanetti"_s, u"Luca"_s, u"15/03/2021"_s, u"0"_s }, // due today
        { u"Bianchi"_s, u"Sara"_s, u"20/03/2021"_s, u"4"_s }, // from 16/03: not yet
        { u"rossi"_s, u"Mario"_s, u"20/03/2021"_s, u"5"_s }, // from 15/03
        { u"Amato"_s, u"Piero"_s, u"01/01/2021"_s, u"0"_s }, // overdue
        { u"Conti"_s, u"Elena"_s, u"31/12/2099"_s, u"999"_s }, // far ahead
        { u"Marino"_s, u"Ugo"_s, u"5/4/2021"_s, u"21"_s }, // 15/03 in short form
    });
    const ListLines::Scan scan = dueLines();
    QVERIFY(scan.complete);
    // Sorted by surname regardless of case.
    QCOMPARE(surnamesOf(scan.lines.toStringList()),
        (QStringList { u"Amato"_s, u"Marino"_s, u"rossi"_s, u"Zanetti"_s }));
}

void TestDueList::stopsAtARecordItCannotTest_data()
{
    QTest::addColumn<QString>("scadenza");
    QTest::addColumn<QString>("preavviso");

    QTest::newRow("31 February") << u"31/02/2021"_s << u"0"_s;
    QTest::newRow("two-digit year") << u"1/1/21"_s << u"0"_s;
    QTest::newRow("empty due date") << QString() << u"0"_s;
    QTest::newRow("letters in the days of notice") << u"01/01/2021"_s << u"abc"_s;
    QTest::newRow("empty days of notice") << u"01/01/2021"_s << QString();
}

void TestDueList::stopsAtARecordItCannotTest()
{
    QFETCH(QString, scadenza);
    QFETCH(QString, preavviso);
    TempProgramFolder folder;
    writeCustomers({
        { u"Verdi"_s, u"Anna"_s, u"01/01/2021"_s, u"0"_s },
        { u"Amato"_s, u"Piero"_s, u"01/02/2021"_s, u"0"_s },
        { u"Guasto"_s, u"Record"_s, scadenza, preavviso },
        { u"Bruno"_s, u"Carla"_s, u"01/01/2021"_s, u"0"_s },
    });
    const ListLines::Scan scan = dueLines();
    QVERIFY(!scan.complete);
    // The lines before the damaged record stay, sorted; the customer after it is missing.
    QCOMPARE(surnamesOf(scan.lines.toStringList()), (QStringList { u"Amato"_s, u"Verdi"_s }));
}

void TestDueList::ignoresAPartialLastRecord()
{
    TempProgramFolder folder;
    writeCustomers({ { u"Verdi"_s, u"Anna"_s, u"01/01/2021"_s, u"0"_s } });
    QFile file(folder.filePath(u"Clienti.mrv"_s));
    QVERIFY(file.open(QIODevice::Append));
    file.write(recordOf({ u"Mezzo"_s, u"Record"_s, u"01/01/2021"_s, u"0"_s }).encode().left(900));
    file.close();
    const ListLines::Scan scan = dueLines();
    QVERIFY(scan.complete);
    QCOMPARE(surnamesOf(scan.lines.toStringList()), QStringList { u"Verdi"_s });
}

void TestDueList::emptyArchive()
{
    TempProgramFolder folder;
    const ListLines::Scan scan = dueLines();
    QVERIFY(scan.complete);
    QVERIFY(scan.lines.isEmpty());
    QVERIFY(QFile::exists(folder.filePath(u"Clienti.mrv"_s)));
}

void TestDueList::printedCard()
{
    using namespace CustomerRecord;
    Record r(layout());
    for (int i = 0; i < layout().fieldCount(); ++i)
        r.setValue(i, u" "_s + layout().fieldName(i) + u" "_s);
    r.setValue(Nome, QString());
    const CardContent card = CustomerRules::cardContent(r, u"15/03/2021"_s, u"10:20:30"_s);
    QCOMPARE(card.title, u"SCHEDA INFORMATIVA DEL CLIENTE"_s);
    QCOMPARE(card.footer, u"Stampa eseguita in data 15/03/2021 alle ore 10:20:30"_s);
    const QList<std::pair<QString, QString>> expected = {
        // an empty name leaves the surname followed by one blank
        { u"Cognome e nome:"_s, u"Cognome "_s },
        { u"Data di nascita:"_s, u"DataNasc"_s },
        { u"Comune di nascita:"_s, u"ComuneNasc ProvNasc"_s },
        { u"Sesso:"_s, u"Sesso  Stato civile: Stato"_s },
        { u"Recapito preferenziale:"_s, u"Recapito"_s },
        { u"Indirizzo di residenza:"_s, u"Indirizzo"_s },
        { u"Comune di residenza:"_s, u"ComuneRes ProvRes"_s },
        { u"Professione:"_s, u"Professione"_s },
        { u"Tel. casa:"_s, u"TelCasa"_s },
        { u"Tel. ufficio:"_s, u"TelUff"_s },
        { u"Tel. cellulare:"_s, u"TelCel"_s },
        { u"Fax:"_s, u"Fax"_s },
        { u"E-mail:"_s, u"Email"_s },
        { u"Codice fiscale:"_s, u"CodFisc"_s },
        { u"Partita IVA:"_s, u"Iva"_s },
        { u"Carta di credito:"_s, u"N. *arta  Scadenza: ScadeCarta"_s },
        { u"IBAN:"_s, u"Iban  -  Intestatario C/C: Intestatario"_s },
        { u"Estremi documento:"_s, u"Tipo: TipoDoc  N. NumDoc  Scadenza: DataSca"_s },
        { u"Codice Cliente:"_s, u"Codice"_s },
        { u"Categoria:"_s, u"Categoria  Zona: Zona"_s },
        { u"Prodotti e servizi di interesse:"_s, u"Prodotti"_s },
        { u"Acquisto rateale"_s, u"Acquisto  Importo rata: € Rata"_s },
        { u"Totale:"_s, u"Importo: € Totale  Decorrenza: Decorrenza  Scadenza: Scadenza"_s },
        { u"Note:"_s, u"Note"_s },
    };
    QCOMPARE(card.rows.size(), 24);
    for (int i = 0; i < 24; ++i) {
        QCOMPARE(card.rows.at(i).first, expected.at(i).first);
        QCOMPARE(card.rows.at(i).second, expected.at(i).second);
    }
}

// The printed card shows only the last four digits of a payment card number.
void TestDueList::printedCardNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("printed");
    QTest::newRow("Visa") << u"4111111111111111"_s << u"N. ************1111  Scadenza: 12/2029"_s;
    QTest::newRow("blanks around")
        << u" 36000000000008 "_s << u"N. **********0008  Scadenza: 12/2029"_s;
    QTest::newRow("four digits") << u"1234"_s << u"N. 1234  Scadenza: 12/2029"_s;
    QTest::newRow("empty") << QString() << u"N.   Scadenza: 12/2029"_s;
}

void TestDueList::printedCardNumber()
{
    QFETCH(QString, number);
    Record r(CustomerRecord::layout());
    r.setValue(CustomerRecord::Carta, number);
    r.setValue(CustomerRecord::ScadeCarta, u"12/2029"_s);
    const CardContent card = CustomerRules::cardContent(r, QString(), QString());
    QCOMPARE(card.rows.at(15).first, u"Carta di credito:"_s);
    QTEST(card.rows.at(15).second, "printed");
}

QTEST_APPLESS_MAIN(TestDueList)
#include "tst_duelist.moc"
