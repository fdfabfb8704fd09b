#include "catalogue/Prices.h"

#include <QTest>

class TestPrices : public QObject
{
    Q_OBJECT
private slots:
    void calcola_data();
    void calcola();
    void scorpora_data();
    void scorpora();
    void calcolaValore_data();
    void calcolaValore();
};

namespace {
void addPriceColumns()
{
    QTest::addColumn<QString>("prezzo");
    QTest::addColumn<QString>("percIva");
    QTest::addColumn<QString>("prezzoConIva");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("newPrezzo");
    QTest::addColumn<QString>("newPercIva");
    QTest::addColumn<QString>("newPrezzoConIva");
}

struct PriceRow
{
    const char *name;
    const char16_t *prezzo, *percIva, *prezzoConIva;
    bool ok;
    const char16_t *newPrezzo, *newPercIva, *newPrezzoConIva;
};

void addPriceRows(std::initializer_list<PriceRow> rows)
{
    for (const PriceRow &r : rows) {
        QTest::newRow(r.name) << QString::fromUtf16(r.prezzo) << QString::fromUtf16(r.percIva)
                              << QString::fromUtf16(r.prezzoConIva) << r.ok
                              << QString::fromUtf16(r.newPrezzo) << QString::fromUtf16(r.newPercIva)
                              << QString::fromUtf16(r.newPrezzoConIva);
    }
}
} // namespace

void TestPrices::calcola_data()
{
    addPriceColumns();
    addPriceRows({
        { "10,00 at 22", u"10,00", u"22", u"0,00", true, u"10,00", u"22", u"12,20" },
        // 10,10 x 22 / 100 = 2,222; the gross 12,322 is shown with two decimals
        { "10,10 at 22", u"10,10", u"22", u"", true, u"10,10", u"22", u"12,32" },
        { "rate 0 rounds the net price", u"10,126", u"0", u"5,00", true, u"10,126", u"0",
            u"10,13" },
        // 0,125 is exact in binary: the half goes upward
        { "half cent upward", u"0,125", u"0", u"0,00", true, u"0,125", u"0", u"0,13" },
        { "typed texts kept as they are", u"7,5", u"04", u"1", true, u"7,5", u"04", u"7,80" },
        { "empty fields take their zero text", u"", u" ", u"", true, u"0,00", u"0", u"0,00" },
        { "empty rate is no VAT", u"8,40", u"", u"", true, u"8,40", u"0", u"8,40" },
        { "letters in the price", u"abc", u"22", u"12,20", false, u"0,00", u"0", u"0,00" },
        { "a point in the price", u"10.50", u"22", u"12,81", false, u"0,00", u"0", u"0,00" },
        { "letters in the rate", u"10,00", u"x", u"12,20", false, u"0,00", u"0", u"0,00" },
        { "overflow", u"1E308", u"99", u"0,00", false, u"0,00", u"0", u"0,00" },
    });
}

void TestPrices::calcola()
{
    QFETCH(QString, prezzo);
    QFETCH(QString, percIva);
    QFETCH(QString, prezzoConIva);
    QFETCH(bool, ok);
    QFETCH(QString, newPrezzo);
    QFETCH(QString, newPercIva);
    QFETCH(QString, newPrezzoConIva);

    const Prices::PriceResult result = Prices::calcola({ prezzo, percIva, prezzoConIva });
    QCOMPARE(result.ok, ok);
    QCOMPARE(result.fields.prezzo, newPrezzo);
    QCOMPARE(result.fields.percIva, newPercIva);
    QCOMPARE(result.fields.prezzoConIva, newPrezzoConIva);
}

void TestPrices::scorpora_data()
{
    addPriceColumns();
    addPriceRows({
        { "12,20 at 22", u"0,00", u"22", u"12,20", true, u"10,00", u"22", u"12,20" },
        // 100 x 100 / 122 = 81,967...
        { "100,00 at 22", u"", u"22", u"100,00", true, u"81,97", u"22", u"100,00" },
        { "rate 0 keeps the gross", u"3,00", u"0", u"12,5", true, u"12,50", u"0", u"12,5" },
        { "rate written shortest", u"", u"05", u"10,50", true, u"10,00", u"5", u"10,50" },
        { "empty fields take their zero text", u"4,00", u"", u"", true, u"0,00", u"0", u"0,00" },
        { "letters in the gross", u"10,00", u"22", u"dodici", false, u"0,00", u"0", u"0,00" },
        { "a point in the rate", u"10,00", u"2.2", u"12,20", false, u"0,00", u"0", u"0,00" },
        // a rate of -100 divides by zero: no net price exists
        { "rate -100", u"10,00", u"-100", u"12,20", false, u"0,00", u"0", u"0,00" },
    });
}

void TestPrices::scorpora()
{
    QFETCH(QString, prezzo);
    QFETCH(QString, percIva);
    QFETCH(QString, prezzoConIva);
    QFETCH(bool, ok);
    QFETCH(QString, newPrezzo);
    QFETCH(QString, newPercIva);
    QFETCH(QString, newPrezzoConIva);

    const Prices::PriceResult result = Prices::scorpora({ prezzo, percIva, prezzoConIva });
    QCOMPARE(result.ok, ok);
    QCOMPARE(result.fields.prezzo, newPrezzo);
    QCOMPARE(result.fields.percIva, newPercIva);
    QCOMPARE(result.fields.prezzoConIva, newPrezzoConIva);
}

void TestPrices::calcolaValore_data()
{
    QTest::addColumn<QString>("costo");
    QTest::addColumn<QString>("giacenza");
    QTest::addColumn<QString>("valore");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("newCosto");
    QTest::addColumn<QString>("newGiacenza");
    QTest::addColumn<QString>("newValore");

    static const struct
    {
        const char *name;
        const char16_t *costo, *giacenza, *valore;
        bool ok;
        const char16_t *newCosto, *newGiacenza, *newValore;
    } rows[] = {
        { "2,50 x 4", u"2,50", u"4", u"0,00", true, u"2,50", u"4", u"10,00" },
        { "negative stock", u"2,50", u"-3", u"0,00", true, u"2,50", u"-3", u"-7,50" },
        // the cost as typed, before its leaving rule has run
        { "cost with five decimals", u"3,14159", u"2", u"1,00", true, u"3,14159", u"2", u"6,28" },
        { "empty fields take their zero text", u"", u"", u"", true, u"0,00", u"0", u"0,00" },
        { "empty stock is zero", u"9,99", u" ", u"5,00", true, u"9,99", u"0", u"0,00" },
        { "letters in the cost", u"abc", u"4", u"10,00", false, u"0,00", u"0", u"0,00" },
        { "letters in the stock", u"2,50", u"tre", u"10,00", false, u"0,00", u"0", u"0,00" },
        { "a point in the cost", u"2.50", u"4", u"10,00", false, u"0,00", u"0", u"0,00" },
    };
    for (const auto &r : rows) {
        QTest::newRow(r.name) << QString::fromUtf16(r.costo) << QString::fromUtf16(r.giacenza)
                              << QString::fromUtf16(r.valore) << r.ok
                              << QString::fromUtf16(r.newCosto) << QString::fromUtf16(r.newGiacenza)
                              << QString::fromUtf16(r.newValore);
    }
}

void TestPrices::calcolaValore()
{
    QFETCH(QString, costo);
    QFETCH(QString, giacenza);
    QFETCH(QString, valore);
    QFETCH(bool, ok);
    QFETCH(QString, newCosto);
    QFETCH(QString, newGiacenza);
    QFETCH(QString, newValore);

    const Prices::ValueResult result = Prices::calcolaValore({ costo, giacenza, valore });
    QCOMPARE(result.ok, ok);
    QCOMPARE(result.fields.costo, newCosto);
    QCOMPARE(result.fields.giacenza, newGiacenza);
    QCOMPARE(result.fields.valore, newValore);
}

QTEST_APPLESS_MAIN(TestPrices)
#include "tst_prices.moc"
