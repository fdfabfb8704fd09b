#include "cards/Provinces.h"
#include "records/CustomerRecord.h"
#include "records/SupplierRecord.h"
#include "storage/Record.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The customer and supplier layouts against the tables of their files on disk: every
// field's name, place, capacity and offset, so a swapped or mistyped field among the 51
// customer fields shows here by name.
class TestRecordLayouts : public QObject
{
    Q_OBJECT
private slots:
    void fieldsSitWhereTheFilesHaveThem_data();
    void fieldsSitWhereTheFilesHaveThem();
    void archivesPairTheirFileWithTheirLayout();
    void provincesAreTheTwoLetterCodesInOrder();
};

namespace {
enum Which { Customer, Supplier };
const RecordLayout &layoutOf(int which)
{
    return which == Customer ? CustomerRecord::layout() : SupplierRecord::layout();
}
} // namespace

void TestRecordLayouts::fieldsSitWhereTheFilesHaveThem_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("offset");
    static const struct
    {
        Which which;
        const char *field;
        int index;
        int capacity;
        int offset;
    } rows[] = {
        { Customer, "Cognome", 0, 50, 0 },
        { Customer, "Nome", 1, 50, 51 },
        { Customer, "CodFisc", 2, 16, 102 },
        { Customer, "Sesso", 3, 1, 119 },
        { Customer, "DataNasc", 4, 10, 121 },
        { Customer, "ComuneNasc", 5, 50, 132 },
        { Customer, "ProvNasc", 6, 2, 183 },
        { Customer, "Iva", 7, 11, 186 },
        { Customer, "Indirizzo", 8, 50, 198 },
        { Customer, "Cap", 9, 5, 249 },
        { Customer, "ComuneRes", 10, 50, 255 },
        { Customer, "ProvRes", 11, 2, 306 },
        { Customer, "Stato", 12, 50, 309 },
        { Customer, "Familiari", 13, 250, 360 },
        { Customer, "Recapito", 14, 50, 611 },
        { Customer, "TelCasa", 15, 50, 662 },
        { Customer, "TelCel", 16, 50, 713 },
        { Customer, "TelUff", 17, 50, 764 },
        { Customer, "Fax", 18, 50, 815 },
        { Customer, "Email", 19, 50, 866 },
        { Customer, "Qualifiche", 20, 250, 917 },
        { Customer, "Professione", 21, 50, 1168 },
        { Customer, "Iban", 22, 27, 1219 },
        { Customer, "Intestatario", 23, 50, 1247 },
        { Customer, "Banca", 24, 50, 1298 },
        { Customer, "Carta", 25, 50, 1349 },
        { Customer, "ScadeCarta", 26, 10, 1400 },
        { Customer, "Prodotti", 27, 250, 1411 },
        { Customer, "Pagamento", 28, 120, 1662 },
        { Customer, "Note", 29, 250, 1783 },
        { Customer, "TipoDoc", 30, 50, 2034 },
        { Customer, "NumDoc", 31, 50, 2085 },
        { Customer, "EnteRil", 32, 50, 2136 },
        { Customer, "DataRil", 33, 10, 2187 },
        { Customer, "DataSca", 34, 10, 2198 },
        { Customer, "Codice", 35, 30, 2209 },
        { Customer, "Categoria", 36, 50, 2240 },
        { Customer, "Zona", 37, 50, 2291 },
        { Customer, "Acquisto", 38, 50, 2342 },
        { Customer, "Decorrenza", 39, 10, 2393 },
        { Customer, "Scadenza", 40, 10, 2404 },
        { Customer, "Preavviso", 41, 3, 2415 },
        { Customer, "Totale", 42, 15, 2419 },
        { Customer, "Frazionamento", 43, 50, 2435 },
        { Customer, "Rata", 44, 50, 2486 },
        { Customer, "File01", 45, 250, 2537 },
        { Customer, "File02", 46, 250, 2788 },
        { Customer, "File03", 47, 250, 3039 },
        { Customer, "Desc01", 48, 250, 3290 },
        { Customer, "Desc02", 49, 250, 3541 },
        { Customer, "Desc03", 50, 250, 3792 },
        { Supplier, "Ditta", 0, 50, 0 },
        { Supplier, "Titolare", 1, 120, 51 },
        { Supplier, "Recapito", 2, 50, 172 },
        { Supplier, "IndirizzoRes", 3, 50, 223 },
        { Supplier, "ProvRes", 4, 2, 274 },
        { Supplier, "ComuneRes", 5, 50, 277 },
        { Supplier, "CapRes", 6, 5, 328 },
        { Supplier, "Pagamento", 7, 250, 334 },
        { Supplier, "TelCasa", 8, 30, 585 },
        { Supplier, "TelUff", 9, 30, 616 },
        { Supplier, "TelCel", 10, 30, 647 },
        { Supplier, "Fax", 11, 30, 678 },
        { Supplier, "Email", 12, 50, 709 },
        { Supplier, "CodFisc", 13, 16, 760 },
        { Supplier, "Carta", 14, 30, 777 },
        { Supplier, "ScadeCarta", 15, 30, 808 },
        { Supplier, "PartitaIva", 16, 11, 839 },
        { Supplier, "Iban", 17, 27, 851 },
        { Supplier, "Articoli", 18, 250, 879 },
        { Supplier, "Offerte", 19, 250, 1130 },
        { Supplier, "Ordine", 20, 250, 1381 },
        { Supplier, "Questioni", 21, 250, 1632 },
        { Supplier, "Note", 22, 250, 1883 },
        { Supplier, "Ricontatta", 23, 2, 2134 },
        { Supplier, "File01", 24, 250, 2137 },
        { Supplier, "File02", 25, 250, 2388 },
        { Supplier, "File03", 26, 250, 2639 },
        { Supplier, "Desc01", 27, 250, 2890 },
        { Supplier, "Desc02", 28, 250, 3141 },
        { Supplier, "Desc03", 29, 250, 3392 },
    };
    for (const auto &r : rows) {
        QTest::addRow("%s %s", r.which == Customer ? "customer" : "supplier", r.field)
            << int(r.which) << QString::fromLatin1(r.field) << r.index << r.capacity << r.offset;
    }
}

void TestRecordLayouts::fieldsSitWhereTheFilesHaveThem()
{
    QFETCH(int, which);
    QFETCH(QString, field);
    QFETCH(int, index);
    QFETCH(int, capacity);
    QFETCH(int, offset);
    const RecordLayout &layout = layoutOf(which);
    QCOMPARE(layout.fieldCount(), which == Customer ? 51 : 30);
    QCOMPARE(layout.recordSize(), which == Customer ? 4043 : 3643);
    QCOMPARE(layout.indexOf(field), index);
    QCOMPARE(layout.fieldName(index), field);
    QCOMPARE(layout.field(index).capacity, capacity);
    QCOMPARE(layout.offset(index), offset);

    // The encoded record puts the field's length byte and text exactly there, and a
    // text longer than the field is cut to its capacity.
    Record record(layout);
    record.setValue(field, QString(capacity + 5, u'x'));
    const QByteArray bytes = record.encode();
    QCOMPARE(bytes.size(), layout.recordSize());
    QCOMPARE(quint8(bytes.at(offset)), quint8(capacity));
    QCOMPARE(bytes.mid(offset + 1, capacity), QByteArray(capacity, 'x'));
    QCOMPARE(Record::fromBytes(layout, bytes).value(index), QString(capacity, u'x'));
}

void TestRecordLayouts::archivesPairTheirFileWithTheirLayout()
{
    QCOMPARE(CustomerRecord::archive().fileName, u"Clienti.mrv"_s);
    QCOMPARE(CustomerRecord::archive().layout, &CustomerRecord::layout());
    QCOMPARE(SupplierRecord::archive().fileName, u"Fornitori.mrv"_s);
    QCOMPARE(SupplierRecord::archive().layout, &SupplierRecord::layout());
    // The field indexes of the code follow the field names of the layout.
    QCOMPARE(CustomerRecord::layout().fieldName(CustomerRecord::ProvNasc), u"ProvNasc"_s);
    QCOMPARE(CustomerRecord::layout().fieldName(CustomerRecord::Rata), u"Rata"_s);
    QCOMPARE(SupplierRecord::layout().fieldName(SupplierRecord::Ricontatta), u"Ricontatta"_s);
}

void TestRecordLayouts::provincesAreTheTwoLetterCodesInOrder()
{
    const QStringList &codes = Provinces::codes();
    QCOMPARE(codes.size(), 112);
    QCOMPARE(codes.first(), u"AG"_s);
    QCOMPARE(codes.last(), u"VV"_s);
    // The list is alphabetical: a code out of place or given twice breaks the order.
    for (qsizetype i = 0; i < codes.size(); ++i) {
        QCOMPARE(codes[i].size(), 2);
        QVERIFY2(codes[i].front().isUpper() && codes[i].back().isUpper(), qPrintable(codes[i]));
        if (i > 0)
            QVERIFY2(codes[i - 1] < codes[i], qPrintable(codes[i]));
    }
    for (const QString &code : { u"EE"_s, u"MB"_s, u"RM"_s, u"TO"_s, u"OG"_s, u"SU"_s }) {
        if (code == u"SU"_s)
            QVERIFY(!codes.contains(code)); // not in the program's list
        else
            QVERIFY2(codes.contains(code), qPrintable(code));
    }
}

QTEST_APPLESS_MAIN(TestRecordLayouts)
#include "tst_recordlayouts.moc"
