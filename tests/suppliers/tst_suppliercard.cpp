#include "records/SupplierRecord.h"
#include "storage/Record.h"
#include "suppliers/SupplierCard.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSupplierCard : public QObject
{
    Q_OBJECT
private slots:
    void recordBytes_data();
    void recordBytes();
    void recontactFlagBytes_data();
    void recontactFlagBytes();
    void recontactChecked_data();
    void recontactChecked();
    void saveCheck_data();
    void saveCheck();
    void cardContent();
    void cardContentRecontactRow_data();
    void cardContentRecontactRow();
};

// Every field of a supplier stored at its own place: a record with a distinct text in each
// field, read back from the bytes at the field's offset.
void TestSupplierCard::recordBytes_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("capacity");
    static const struct
    {
        const char *name;
        int offset;
        int capacity;
    } rows[] = {
        { "Ditta", 0, 50 },
        { "Titolare", 51, 120 },
        { "Recapito", 172, 50 },
        { "IndirizzoRes", 223, 50 },
        { "ProvRes", 274, 2 },
        { "ComuneRes", 277, 50 },
        { "CapRes", 328, 5 },
        { "Pagamento", 334, 250 },
        { "TelCasa", 585, 30 },
        { "TelUff", 616, 30 },
        { "TelCel", 647, 30 },
        { "Fax", 678, 30 },
        { "Email", 709, 50 },
        { "CodFisc", 760, 16 },
        { "Carta", 777, 30 },
        { "ScadeCarta", 808, 30 },
        { "PartitaIva", 839, 11 },
        { "Iban", 851, 27 },
        { "Articoli", 879, 250 },
        { "Offerte", 1130, 250 },
        { "Ordine", 1381, 250 },
        { "Questioni", 1632, 250 },
        { "Note", 1883, 250 },
        { "Ricontatta", 2134, 2 },
        { "File01", 2137, 250 },
        { "File02", 2388, 250 },
        { "File03", 2639, 250 },
        { "Desc01", 2890, 250 },
        { "Desc02", 3141, 250 },
        { "Desc03", 3392, 250 },
    };
    int field = 0;
    for (const auto &row : rows)
        QTest::newRow(row.name) << field++ << row.offset << row.capacity;
}

void TestSupplierCard::recordBytes()
{
    QFETCH(int, field);
    QFETCH(int, offset);
    QFETCH(int, capacity);
    const RecordLayout &layout = SupplierRecord::layout();
    QCOMPARE(layout.recordSize(), 3643);
    QCOMPARE(layout.fieldCount(), 30);

    // Each field holds its own name, then "è" (one byte in the code page), cut to its
    // capacity; blanks around are not stored.
    Record supplier(layout);
    for (int i = 0; i < layout.fieldCount(); ++i)
        supplier.setValue(i, u"  "_s + layout.fieldName(i) + u"è  "_s);
    const QByteArray bytes = supplier.encode();
    QCOMPARE(bytes.size(), 3643);

    const QString expected = (layout.fieldName(field) + u"è"_s).left(capacity);
    QCOMPARE(int(quint8(bytes.at(offset))), int(expected.size()));
    const QByteArray text = expected.toLatin1();
    QCOMPARE(bytes.mid(offset + 1, text.size()), text);
    QCOMPARE(Record::fromBytes(layout, bytes).value(field), expected);
}

void TestSupplierCard::recontactFlagBytes_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("checked: Sì") << true << QByteArray("\x02\x53\xEC", 3);
    QTest::newRow("unchecked: No") << false << QByteArray("\x02\x4E\x6F", 3);
}

void TestSupplierCard::recontactFlagBytes()
{
    QFETCH(bool, checked);
    QFETCH(QByteArray, stored);
    Record supplier(SupplierRecord::layout());
    supplier.setValue(SupplierRecord::Ditta, u"Rossi Forniture S.r.l."_s);
    supplier.setValue(SupplierRecord::Ricontatta, SupplierCard::recontactText(checked));
    const QByteArray bytes = supplier.encode();
    QCOMPARE(bytes.mid(2134, 3), stored);
    // Read back, the flag checks the box as it was.
    const Record back = Record::fromBytes(SupplierRecord::layout(), bytes);
    QCOMPARE(SupplierCard::recontactChecked(back.value(SupplierRecord::Ricontatta)), checked);
}

void TestSupplierCard::recontactChecked_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("checked");
    QTest::newRow("Sì") << u"Sì"_s << true;
    QTest::newRow("Sì with blanks") << u" Sì "_s << true;
    QTest::newRow("No") << u"No"_s << false;
    // Older archives hold other texts: such a record shows the box unchecked, never the
    // flag of the supplier shown before it.
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("blanks only") << u"  "_s << false;
    QTest::newRow("Si without accent") << u"Si"_s << false;
    QTest::newRow("upper case SÌ") << u"SÌ"_s << false;
    QTest::newRow("True") << u"True"_s << false;
}

void TestSupplierCard::recontactChecked()
{
    QFETCH(QString, stored);
    QFETCH(bool, checked);
    QCOMPARE(SupplierCard::recontactChecked(stored), checked);
}

void TestSupplierCard::saveCheck_data()
{
    QTest::addColumn<QString>("ditta");
    QTest::addColumn<bool>("refused");
    QTest::newRow("a name") << u"Rossi Forniture"_s << false;
    QTest::newRow("a name with blanks") << u"  Bianchi  "_s << false;
    QTest::newRow("one letter") << u"B"_s << false;
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("blanks only") << u"    "_s << true;
    QTest::newRow("tab and blanks") << u" \t "_s << true;
}

void TestSupplierCard::saveCheck()
{
    QFETCH(QString, ditta);
    QFETCH(bool, refused);
    // Every other field filled: only the company name decides.
    Record supplier(SupplierRecord::layout());
    for (int i = 0; i < supplier.layout().fieldCount(); ++i)
        supplier.setValue(i, u"x"_s);
    supplier.setValue(SupplierRecord::Ditta, ditta);
    const std::optional<SaveFailure> failure = SupplierCard::saveCheck(supplier);
    QCOMPARE(failure ? failure->notice.text : QString(),
        refused ? u"Attenzione: per salvare la scheda è necessario indicare la denominazione "
                  u"della Ditta fornitrice."_s
                : QString());
    if (failure) {
        QCOMPARE(failure->notice.kind, Notice::Kind::Warning);
        QCOMPARE(failure->focus, u"txtDitta"_s);
    }
}

void TestSupplierCard::cardContent()
{
    using namespace SupplierRecord;
    Record supplier(layout());
    for (int i = 0; i < supplier.layout().fieldCount(); ++i)
        supplier.setValue(i, u" "_s + supplier.layout().fieldName(i) + u" "_s);
    supplier.setValue(Ricontatta, u"Sì"_s);
    const CardContent content = SupplierCard::cardContent(supplier, u"05/03/2021"_s, u"09:15:02"_s);
    QCOMPARE(content.title, u"SCHEDA ANAGRAFICA FORNITORE"_s);
    QCOMPARE(content.footer, u"Stampa eseguita in data 05/03/2021 alle ore 09:15:02"_s);

    // The 24 rows in print order: caption and the trimmed value of its field.
    const QList<std::pair<QString, QString>> expected = {
        { u"Denominazione Ditta:"_s, u"Ditta"_s },
        { u"Titolare o responsabile:"_s, u"Titolare"_s },
        { u"Recapito preferenziale:"_s, u"Recapito"_s },
        { u"Indirizzo:"_s, u"IndirizzoRes"_s },
        { u"Città:"_s, u"ComuneRes"_s },
        { u"Provincia:"_s, u"ProvRes"_s },
        { u"CAP:"_s, u"CapRes"_s },
        { u"Modalità pagamento:"_s, u"Pagamento"_s },
        { u"Tel. casa:"_s, u"TelCasa"_s },
        { u"Tel. ufficio:"_s, u"TelUff"_s },
        { u"Tel. cellulare:"_s, u"TelCel"_s },
        { u"Fax:"_s, u"Fax"_s },
        { u"E-mail:"_s, u"Email"_s },
        { u"Codice fiscale:"_s, u"CodFisc"_s },
        { u"Partita IVA:"_s, u"PartitaIva"_s },
        { u"Carta di credito n."_s, u"Carta"_s },
        { u"Scadenza carta di credito:"_s, u"ScadeCarta"_s },
        { u"IBAN:"_s, u"Iban"_s },
        { u"Articoli forniti:"_s, u"Articoli"_s },
        { u"Offerte e sconti:"_s, u"Offerte"_s },
        { u"Modalità di ordine merce:"_s, u"Ordine"_s },
        { u"Questioni in sospeso:"_s, u"Questioni"_s },
        { u"Da ricontattare:"_s, u"Sì"_s },
        { u"Note:"_s, u"Note"_s },
    };
    QCOMPARE(content.rows.size(), 24);
    for (int i = 0; i < 24; ++i) {
        QCOMPARE(content.rows[i].first, expected[i].first);
        QCOMPARE(content.rows[i].second, expected[i].second);
    }
}

void TestSupplierCard::cardContentRecontactRow_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("printed");
    QTest::newRow("Sì") << u"Sì"_s << u"Sì"_s;
    QTest::newRow("No") << u"No"_s << u"No"_s;
    QTest::newRow("empty prints as unchecked") << QString() << u"No"_s;
}

void TestSupplierCard::cardContentRecontactRow()
{
    QFETCH(QString, stored);
    QFETCH(QString, printed);
    Record supplier(SupplierRecord::layout());
    supplier.setValue(SupplierRecord::Ricontatta, stored);
    const CardContent content = SupplierCard::cardContent(supplier, QString(), QString());
    QCOMPARE(content.rows.at(22).second, printed);
}

QTEST_APPLESS_MAIN(TestSupplierCard)
#include "tst_suppliercard.moc"
