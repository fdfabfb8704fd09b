#include "app/OpenURL.h"
#include "catalogue/Magazzino.h"
#include "common/CardFixture.h"
#include "common/ListBox.h"
#include "common/ModalProbe.h"
#include "common/UserInput.h"
#include "customers/Anagrafica.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "search/ArchiveSearchScreen.h"
#include "storage/RecordFile.h"
#include "suppliers/Fornitori.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

// The product card's search, supplier import and web search, on the real card.
namespace {

using Fixture = CardFixture<TfrmMagazzino>;

void appendSupplier(const QList<std::pair<int, QString>> &values)
{
    Record r(SupplierRecord::layout());
    for (const auto &[field, text] : values)
        r.setValue(field, text);
    RecordFile file;
    QVERIFY(file.open(SupplierRecord::archive()));
    QVERIFY(file.append(r));
}

// What a search window opened from the card showed, and what was done in it.
struct Seen
{
    QString screen;
    QString tag;
    int lines = -1;
};

// Types into one box of the search window that opens next, runs the search and, when
// row >= 0, double-clicks that line; otherwise closes the window with "Chiudi".
void searchInNextWindow(Seen &seen, const QString &box, const QString &text, int row)
{
    onNextModal([&seen, box, text, row](QWidget *w) {
        auto *screen = qobject_cast<ArchiveSearchScreen *>(w);
        if (!screen)
            return;
        seen.screen = screen->objectName();
        seen.tag = screen->findChild<QLabel *>(u"lblMemory"_s)->text();
        typeText(screen->findChild<QLineEdit *>(box), text);
        QTest::mouseClick(screen->findChild<QPushButton *>(u"btnCerca"_s), Qt::LeftButton);
        seen.lines = int(screen->lines().size());
        if (row < 0) {
            QTest::mouseClick(screen->findChild<QPushButton *>(u"btnChiudi"_s), Qt::LeftButton);
            return;
        }
        ListBox::doubleClick(ListBox::of(screen), row);
    });
}

} // namespace

class TestProductSearch : public QObject
{
    Q_OBJECT
private slots:
    void searchLoadsTheProduct();
    void supplierImport();
    void supplierSearchClosedWithoutChoice();
    void webSearch_data();
    void webSearch();
    void supplierCardSearch();
    void customerCardSearch();
};

void TestProductSearch::searchLoadsTheProduct()
{
    Fixture f;
    QVERIFY(f.ready());
    using namespace ProductRecord;
    QVERIFY(f.writeRecords({
        f.record({ { Codice, u"P1"_s }, { Marca, u"Michelin"_s }, { Modello, u"Primacy"_s } }),
        f.record({ { Codice, u"P2"_s }, { Marca, u"Michelin"_s }, { Modello, u"Pilot Sport 4"_s },
            { Note, u"gomme estive"_s } }),
        f.record({ { Codice, u"P3"_s }, { Marca, u"Pirelli"_s }, { Modello, u"Pilot"_s } }),
    }));
    Seen seen;
    searchInNextWindow(seen, u"txtModello"_s, u"pilot"_s, 0);
    f.click(u"cmdTrova"_s);
    QCOMPARE(seen.screen, u"TfrmTrovaMagazzino"_s);
    QCOMPARE(seen.tag, u"magazzino"_s);
    QCOMPARE(seen.lines, 2);
    // Sorted by code: P2 comes first.
    QCOMPARE(f.text(u"txtCodice"_s), u"P2"_s);
    QCOMPARE(f.text(u"txtModello"_s), u"Pilot Sport 4"_s);
    QCOMPARE(f.text(u"txtNote"_s), u"gomme estive"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"2"_s);
}

// The supplier's company, contact and order details go into the product; nothing else
// changes and nothing is saved.
void TestProductSearch::supplierImport()
{
    Fixture f;
    QVERIFY(f.ready());
    using namespace ProductRecord;
    const Record product
        = f.record({ { Codice, u"P1"_s }, { Marca, u"Michelin"_s }, { Fornitore, u"Vecchio"_s },
            { Recapiti, u"000"_s }, { Ordine, u"fax"_s }, { Note, u"n"_s } });
    QVERIFY(f.writeRecords({ f.record(), product }));
    const QByteArray before = f.bytes();
    f.card.loadRecord(product, 2);
    appendSupplier(
        { { SupplierRecord::Ditta, u"Gomme Srl"_s }, { SupplierRecord::Recapito, u"055 123456"_s },
            { SupplierRecord::Ordine, u"e-mail"_s }, { SupplierRecord::Note, u"x"_s } });

    Seen seen;
    searchInNextWindow(seen, u"txtDitta"_s, u"gomme"_s, 0);
    f.click(u"impFornitore"_s);
    QCOMPARE(seen.screen, u"TfrmTrovaFornitori"_s);
    QCOMPARE(seen.tag, u"magazzino"_s);
    QCOMPARE(seen.lines, 1);
    QCOMPARE(f.text(u"txtFornitore"_s), u"Gomme Srl"_s);
    QCOMPARE(f.text(u"txtRecapiti"_s), u"055 123456"_s);
    QCOMPARE(f.text(u"txtOrdine"_s), u"e-mail"_s);
    QCOMPARE(f.text(u"txtCodice"_s), u"P1"_s);
    QCOMPARE(f.text(u"txtNote"_s), u"n"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"2"_s);
    QCOMPARE(f.bytes(), before);
    QCOMPARE(f.messages.count(), 0);
}

void TestProductSearch::supplierSearchClosedWithoutChoice()
{
    Fixture f;
    QVERIFY(f.ready());
    using namespace ProductRecord;
    const Record product
        = f.record({ { Codice, u"P1"_s }, { Fornitore, u"Vecchio"_s }, { Ordine, u"fax"_s } });
    QVERIFY(f.writeRecords({ product }));
    f.card.loadRecord(product, 1);
    appendSupplier({ { SupplierRecord::Ditta, u"Gomme Srl"_s } });
    Seen seen;
    searchInNextWindow(seen, u"txtDitta"_s, u"gomme"_s, -1);
    f.click(u"impFornitore"_s);
    QCOMPARE(seen.lines, 1);
    QCOMPARE(f.text(u"txtFornitore"_s), u"Vecchio"_s);
    QCOMPARE(f.text(u"txtOrdine"_s), u"fax"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"1"_s);
}

void TestProductSearch::webSearch_data()
{
    QTest::addColumn<QString>("brand");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("query"); // as the browser reads it; empty: nothing opened
    QTest::newRow("brand and model") << u"ABC"_s << u"X 12"_s << u"ABC X 12"_s;
    QTest::newRow("empty model") << u"ABC"_s << QString() << u"ABC "_s;
    QTest::newRow("ampersand in the brand") << u"A&B"_s << u"Z"_s << u"A&B Z"_s;
    QTest::newRow("empty brand") << QString() << u"X 12"_s << QString();
    QTest::newRow("blank brand") << u"   "_s << u"X 12"_s << QString();
}

void TestProductSearch::webSearch()
{
    QFETCH(QString, brand);
    QFETCH(QString, model);
    QFETCH(QString, query);
    Fixture f;
    QVERIFY(f.ready());
    QList<QUrl> opened;
    TMisc::setOpener([&opened](const QUrl &url) { opened.append(url); });
    f.edit(u"txtMarca"_s)->setText(brand);
    f.edit(u"txtModello"_s)->setText(model);
    f.edit(u"txtCodice"_s)->setFocus();
    f.click(u"cmdWeb"_s);
    TMisc::setOpener({});
    if (query.isEmpty()) {
        QVERIFY(opened.isEmpty());
        QCOMPARE(f.messages.count(), 1);
        QCOMPARE(f.messages.lastKind(), Messages::Kind::Warning);
        QCOMPARE(f.messages.lastText(),
            u"Attenzione: per poter effettuare una ricerca sul Web è necessario compilare il "
            u"campo relativo alla marca dell'articolo."_s);
        QCOMPARE(f.card.focusWidget()->objectName(), u"txtMarca"_s);
        return;
    }
    QCOMPARE(f.messages.count(), 0);
    QCOMPARE(opened.size(), 1);
    const QUrl &url = opened.first();
    QCOMPARE(url.scheme(), u"https"_s);
    QCOMPARE(url.path(), u"/search"_s);
    const QUrlQuery items(url);
    QCOMPARE(items.queryItems(QUrl::FullyDecoded).size(), 1);
    QCOMPARE(items.queryItemValue(u"q"_s, QUrl::FullyDecoded), query);
}

// The supplier card opens its own search, which loads the supplier found into it.
void TestProductSearch::supplierCardSearch()
{
    CardFixture<TfrmFornitori> f;
    QVERIFY(f.ready());
    using namespace SupplierRecord;
    QVERIFY(f.writeRecords({
        f.record({ { Ditta, u"Altra"_s } }),
        f.record({ { Ditta, u"Gomme Srl"_s }, { Titolare, u"Anna"_s }, { Ricontatta, u"Sì"_s },
            { Note, u"chiamare"_s } }),
    }));
    Seen seen;
    searchInNextWindow(seen, u"txtTitolare"_s, u"ANNA"_s, 0);
    f.click(u"cmdTrova"_s);
    QCOMPARE(seen.screen, u"TfrmTrovaFornitori"_s);
    QCOMPARE(seen.tag, u"fornitori"_s);
    QCOMPARE(seen.lines, 1);
    QCOMPARE(f.text(u"txtDitta"_s), u"Gomme Srl"_s);
    QCOMPARE(f.text(u"txtNote"_s), u"chiamare"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"2"_s);
}

// The customer card opens its own search, which loads the customer found into it.
void TestProductSearch::customerCardSearch()
{
    CardFixture<TfrmAnagrafica> f;
    QVERIFY(f.ready());
    using namespace CustomerRecord;
    QVERIFY(f.writeRecords({
        f.record({ { Cognome, u"Rossi"_s }, { Codice, u"A12"_s } }),
        f.record({ { Cognome, u"Bianchi"_s }, { Codice, u"7"_s } }),
        f.record({ { Cognome, u"Verdi"_s }, { Codice, u"120"_s }, { Note, u"rate"_s } }),
    }));
    Seen seen;
    searchInNextWindow(seen, u"txtCodice"_s, u"12"_s, 1);
    f.click(u"cmdTrova"_s);
    QCOMPARE(seen.screen, u"TfrmTrovaClienti"_s);
    QCOMPARE(seen.tag, u"clienti"_s);
    QCOMPARE(seen.lines, 2);
    // Sorted by surname: Rossi, Verdi.
    QCOMPARE(f.text(u"txtCognome"_s), u"Verdi"_s);
    QCOMPARE(f.text(u"txtNote"_s), u"rate"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"3"_s);
}

QTEST_MAIN(TestProductSearch)
#include "tst_productsearch.moc"
