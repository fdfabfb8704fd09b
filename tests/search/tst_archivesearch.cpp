#include "common/TempProgramFolder.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "search/ArchiveSearch.h"
#include "search/SupplierImport.h"
#include "search/WebSearch.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"

#include <QFile>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using namespace Qt::StringLiterals;
using Kind = ArchiveId;

Q_DECLARE_METATYPE(ArchiveId)

namespace {

// A stored record of the archive of kind with the fields given as "Field=text".
QByteArray storedRecord(Kind kind, const QStringList &fields)
{
    Record record(*ArchiveSearch::config(kind).archive->layout);
    for (const QString &f : fields) {
        const qsizetype eq = f.indexOf(u'=');
        record.setValue(QStringView(f).first(eq), f.mid(eq + 1));
    }
    return record.encode();
}

// The texts of the ten search boxes, from "txtBox=text" pairs; the other boxes empty.
QStringList typedTexts(Kind kind, const QStringList &boxes)
{
    const ArchiveSearch::Config &config = ArchiveSearch::config(kind);
    QStringList texts(config.fields.size());
    for (const QString &b : boxes) {
        const qsizetype eq = b.indexOf(u'=');
        const QString name = b.first(eq);
        qsizetype i = 0;
        while (i < config.fields.size() && config.fields[i].name != name)
            ++i;
        Q_ASSERT(i < config.fields.size());
        texts[i] = b.mid(eq + 1);
    }
    return texts;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestArchiveSearch : public QObject
{
    Q_OBJECT
private slots:
    void configurations_data();
    void configurations();
    void matching_data();
    void matching();
    void filledCount_data();
    void filledCount();
    void damagedLengthStaysInsideTheRecord();
    void lines_data();
    void lines();
    void searchListsSortedMatches();
    void searchOverDamagedAndMissingArchives();
    void countText();
    void webAddress_data();
    void webAddress();
    void supplierImport();
};

void TestArchiveSearch::configurations_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("screen");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("recordSize");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("thirdCaption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("tag");
    QTest::newRow("products") << Kind::Products << u"TfrmTrovaMagazzino"_s << u"Magazzino.mrv"_s
                              << 4874
                              << QStringList { u"txtCodice"_s, u"txtTipologia"_s, u"txtMarca"_s,
                                     u"txtModello"_s, u"txtDescrizione"_s, u"txtAccessori"_s,
                                     u"txtFornitore"_s, u"txtDocumento"_s, u"txtCollocazione"_s,
                                     u"txtNote"_s }
                              << u"Marca:"_s << u"Riepilogo articoli in magazzino"_s
                              << u"magazzino"_s;
    QTest::newRow("customers") << Kind::Customers << u"TfrmTrovaClienti"_s << u"Clienti.mrv"_s
                               << 4043
                               << QStringList { u"txtCognome"_s, u"txtNome"_s, u"txtCodice"_s,
                                      u"txtCategoria"_s, u"txtCodFisc"_s, u"txtIva"_s, u"txtZona"_s,
                                      u"txtProdotti"_s, u"txtAcquisto"_s, u"txtNote"_s }
                               << u"Codice Cliente:"_s << u"Riepilogo Clienti in archivio"_s
                               << u"clienti"_s;
    QTest::newRow("suppliers") << Kind::Suppliers << u"TfrmTrovaFornitori"_s << u"Fornitori.mrv"_s
                               << 3643
                               << QStringList { u"txtDitta"_s, u"txtTitolare"_s, u"txtPartitaIva"_s,
                                      u"txtCodFisc"_s, u"txtIndirizzoRes"_s, u"txtComuneRes"_s,
                                      u"txtArticoli"_s, u"txtOfferte"_s, u"txtQuestioni"_s,
                                      u"txtNote"_s }
                               << u"Partita IVA:"_s << u"Riepilogo Fornitori"_s << u"fornitori"_s;
}

// Each box searches the record field it is named after.
void TestArchiveSearch::configurations()
{
    QFETCH(Kind, kind);
    QFETCH(QString, screen);
    QFETCH(QString, fileName);
    QFETCH(int, recordSize);
    QFETCH(QStringList, boxes);
    QFETCH(QString, thirdCaption);
    QFETCH(QString, title);
    QFETCH(QString, tag);
    const ArchiveSearch::Config &c = ArchiveSearch::config(kind);
    QCOMPARE(c.screenName, screen);
    QCOMPARE(c.archive->fileName, fileName);
    QCOMPARE(c.archive->layout->recordSize(), recordSize);
    QStringList names;
    for (const ArchiveSearch::SearchField &f : c.fields) {
        names.append(f.name);
        QCOMPARE(u"txt"_s + c.archive->layout->fieldName(f.recordField), f.name);
    }
    QCOMPARE(names, boxes);
    QCOMPARE(c.fields[2].caption, thirdCaption);
    QCOMPARE(c.printTitle, title);
    QCOMPARE(QString(cardIdentity(c.card).searchTag), tag);
}

void TestArchiveSearch::matching_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("found");

    const Kind P = Kind::Products;
    const QStringList michelinPilot { u"Marca=Michelin"_s, u"Modello=Pilot Sport 4"_s };
    const QStringList michelinPrimacy { u"Marca=Michelin"_s, u"Modello=Primacy"_s };
    const QStringList both { u"txtMarca=mich"_s, u"txtModello=pilot"_s };
    QTest::newRow("two fields, both occur") << P << michelinPilot << both << true;
    QTest::newRow("two fields, one misses") << P << michelinPrimacy << both << false;
    QTest::newRow("no field filled lists the record")
        << P << michelinPrimacy << QStringList() << true;
    QTest::newRow("no field filled, empty record") << P << QStringList() << QStringList() << true;
    QTest::newRow("filled field against an empty record field")
        << P << QStringList() << QStringList { u"txtNote=a"_s } << false;

    const QStringList suv { u"Descrizione=Pilot SPORT 4 SUV"_s };
    QTest::newRow("capitals A-Z fold")
        << P << suv << QStringList { u"txtDescrizione=sport 4"_s } << true;
    QTest::newRow("typed capitals fold too")
        << P << suv << QStringList { u"txtDescrizione=PILOT sport"_s } << true;
    QTest::newRow("two spaces inside are searched as typed")
        << P << suv << QStringList { u"txtDescrizione=sport  4"_s } << false;
    QTest::newRow("words in another order")
        << P << suv << QStringList { u"txtDescrizione=4 sport"_s } << false;
    QTest::newRow("leading blank is searched")
        << P << suv << QStringList { u"txtDescrizione= sport"_s } << true;
    QTest::newRow("leading blank at the start of the field cannot occur")
        << P << suv << QStringList { u"txtDescrizione= pilot"_s } << false;
    QTest::newRow("trailing blank after the last word cannot occur")
        << P << suv << QStringList { u"txtDescrizione=suv "_s } << false;

    const QStringList accented { u"Descrizione=Perché ÈLITE"_s };
    QTest::newRow("accented letter matches itself")
        << P << accented << QStringList { u"txtDescrizione=perché"_s } << true;
    QTest::newRow("accented capital is not folded")
        << P << accented << QStringList { u"txtDescrizione=èlite"_s } << false;
    QTest::newRow("accented capital typed as stored")
        << P << accented << QStringList { u"txtDescrizione=Èlite"_s } << true;
    QTest::newRow("letters of the code page's upper half")
        << P << QStringList { u"Note=prezzo 12 € – ok"_s } << QStringList { u"txtNote=12 € – OK"_s }
        << true;

    // A box of blanks only takes no part: it neither counts nor scores.
    QTest::newRow("blank-only box alone lists everything")
        << P << QStringList { u"Note=abc"_s } << QStringList { u"txtNote=   "_s } << true;
    QTest::newRow("blank-only box does not make up for a miss")
        << P << QStringList { u"Marca=Pirelli"_s, u"Note=a b"_s }
        << QStringList { u"txtMarca=mich"_s, u"txtNote= "_s } << false;
    QTest::newRow("blank-only box beside a match")
        << P << QStringList { u"Marca=Michelin"_s }
        << QStringList { u"txtMarca=mich"_s, u"txtNote=  "_s } << true;

    // A character the code page lacks is stored as '?': it must never find a '?'.
    QTest::newRow("character outside the code page")
        << P << QStringList { u"Note=a?b"_s } << QStringList { u"txtNote=a\u0142b"_s } << false;
    QTest::newRow("question mark finds itself")
        << P << QStringList { u"Note=a?b"_s } << QStringList { u"txtNote=a?b"_s } << true;
    QTest::newRow("character beyond the basic plane")
        << P << QStringList { u"Note=x??y"_s } << QStringList { u"txtNote=x\U0001F600y"_s }
        << false;
    QTest::newRow("text longer than the field")
        << P << QStringList { u"Codice=%1"_s.arg(QString(30, u'a')) }
        << QStringList { u"txtCodice=%1"_s.arg(QString(300, u'a')) } << false;

    const Kind C = Kind::Customers;
    const QStringList code12 { u"txtCodice=12"_s };
    QTest::newRow("customer code 12") << C << QStringList { u"Codice=12"_s } << code12 << true;
    QTest::newRow("customer code 120") << C << QStringList { u"Codice=120"_s } << code12 << true;
    QTest::newRow("customer code A12") << C << QStringList { u"Codice=A12"_s } << code12 << true;
    QTest::newRow("customer code 1-2") << C << QStringList { u"Codice=1-2"_s } << code12 << false;
    QTest::newRow("customer surname in the name field")
        << C << QStringList { u"Nome=Rossi"_s } << QStringList { u"txtCognome=rossi"_s } << false;

    const Kind S = Kind::Suppliers;
    QTest::newRow("supplier three fields")
        << S
        << QStringList { u"Ditta=Gomme Srl"_s, u"ComuneRes=Città di Castello"_s,
               u"Note=chiamare"_s }
        << QStringList { u"txtDitta=GOMME"_s, u"txtComuneRes=città"_s, u"txtNote=chiam"_s } << true;
    QTest::newRow("supplier searches PartitaIva, not Iban")
        << S << QStringList { u"Iban=IT60X0542811101000000123456"_s }
        << QStringList { u"txtPartitaIva=0542"_s } << false;
}

void TestArchiveSearch::matching()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, typed);
    QFETCH(bool, found);
    const ArchiveSearch::Matcher matcher(ArchiveSearch::config(kind), typedTexts(kind, typed));
    QCOMPARE(matcher.matches(storedRecord(kind, stored)), found);
}

void TestArchiveSearch::filledCount_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("count");
    QTest::newRow("none") << QStringList() << 0;
    QTest::newRow("blanks and tabs do not count")
        << QStringList { u"txtMarca=  "_s, u"txtNote=\t"_s } << 0;
    QTest::newRow("words with blanks around count once each")
        << QStringList { u"txtMarca= a "_s, u"txtNote=b"_s, u"txtCodice=c"_s } << 3;
}

void TestArchiveSearch::filledCount()
{
    QFETCH(QStringList, typed);
    QFETCH(int, count);
    const ArchiveSearch::Matcher matcher(
        ArchiveSearch::config(Kind::Products), typedTexts(Kind::Products, typed));
    QCOMPARE(matcher.filledCount(), count);
}

// A damaged length byte larger than the field never reads the next field, nor past the
// end of a short record.
void TestArchiveSearch::damagedLengthStaysInsideTheRecord()
{
    const RecordLayout &layout = ProductRecord::layout();
    QByteArray bytes = storedRecord(Kind::Products, { u"Codice=AB"_s, u"Tipologia=XYZ"_s });
    bytes[layout.offset(ProductRecord::Codice)] = char(255);
    const auto &config = ArchiveSearch::config(Kind::Products);
    QVERIFY(!ArchiveSearch::Matcher(config, typedTexts(Kind::Products, { u"txtCodice=xyz"_s }))
                 .matches(bytes));
    // A record cut inside the Note field: the text that is there can still be searched,
    // the rest is not read.
    QByteArray cut = storedRecord(Kind::Products, { u"Note=abcdef"_s });
    cut.truncate(layout.offset(ProductRecord::Note) + 4);
    QVERIFY(ArchiveSearch::Matcher(config, typedTexts(Kind::Products, { u"txtNote=abc"_s }))
                .matches(cut));
    QVERIFY(!ArchiveSearch::Matcher(config, typedTexts(Kind::Products, { u"txtNote=abcd"_s }))
                 .matches(cut));
}

void TestArchiveSearch::lines_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("line");
    QTest::newRow("product") << Kind::Products
                             << QStringList { u"Codice= PN-001 "_s, u"Marca=Michelin"_s,
                                    u"Modello=Pilot Sport 4"_s, u"Costo=85,50"_s, u"Giacenza=12"_s,
                                    u"Note=  ultimo ordine  "_s }
                             << u"PN-001                        "
                                u"  Michelin Pilot Sport 4                  "
                                u"  Costo: 85,50       "
                                u"  Giacenza: 12          "
                                u"  Note: ultimo ordine"_s;
    QTest::newRow("product, empty fields and long brand cut")
        << Kind::Products << QStringList { u"Marca=%1"_s.arg(QString(45, u'M')) }
        << QString(30, u' ') + u"  "_s + QString(40, u'M') + u"  Costo: "_s + QString(12, u' ')
            + u"  Giacenza: "_s + QString(12, u' ') + u"  Note: "_s;
    QTest::newRow("customer") << Kind::Customers
                              << QStringList { u"Cognome=Rossi"_s, u"Nome=Mario"_s,
                                     u"CodFisc=RSSMRA80A01H501U"_s, u"Zona=Nord"_s,
                                     u"Recapito=0612345678901234"_s, u"Note=rate"_s }
                              << u"Rossi Mario                 "
                                 u"  C.F. RSSMRA80A01H501U"
                                 u"  Zona: Nord                    "
                                 u"  Tel. 06123456789012"
                                 u"  Note: rate"_s;
    QTest::newRow("customer without names") << Kind::Customers << QStringList()
                                            << QString(28, u' ') + u"  C.F. "_s + QString(16, u' ')
            + u"  Zona: "_s + QString(24, u' ') + u"  Tel. "_s + QString(14, u' ') + u"  Note: "_s;
    QTest::newRow("supplier") << Kind::Suppliers
                              << QStringList { u"Ditta=Gomme Srl"_s, u"Titolare=Anna Bianchi"_s,
                                     u"Recapito=055 123456"_s, u"Note=sconto 5%"_s }
                              << u"Gomme Srl                     "
                                 u"  Anna Bianchi                  "
                                 u"  Tel. 055 123456          "
                                 u"  sconto 5%"_s;
}

void TestArchiveSearch::lines()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, stored);
    QFETCH(QString, line);
    const ArchiveSearch::Config &c = ArchiveSearch::config(kind);
    QCOMPARE(ListLines::buildLine(c.columns, *c.archive->layout, storedRecord(kind, stored)), line);
}

void TestArchiveSearch::searchListsSortedMatches()
{
    TempProgramFolder folder;
    const QByteArray archive
        = storedRecord(Kind::Products, { u"Codice=zeta"_s, u"Marca=Michelin"_s })
        + storedRecord(Kind::Products, { u"Codice=Alfa"_s, u"Marca=MICHELIN"_s })
        + storedRecord(Kind::Products, { u"Codice=beta"_s, u"Marca=Pirelli"_s })
        + storedRecord(Kind::Products, { u"Codice=Delta"_s, u"Marca=michelin"_s });
    writeFile(folder.filePath(u"Magazzino.mrv"_s), archive);
    const auto &config = ArchiveSearch::config(Kind::Products);
    RecordFile file;
    QVERIFY(file.open(*config.archive));

    const ListLines::Scan found
        = ArchiveSearch::search(file, config, typedTexts(Kind::Products, { u"txtMarca=Mich"_s }));
    QVERIFY(found.complete);
    QStringList codes;
    for (const QString &line : found.lines)
        codes.append(line.first(30).trimmed());
    QCOMPARE(codes, (QStringList { u"Alfa"_s, u"Delta"_s, u"zeta"_s }));

    // Every box empty: every record, also after a search on the same open file.
    QCOMPARE(ArchiveSearch::search(file, config, QStringList(10)).lines.size(), 4);
}

void TestArchiveSearch::searchOverDamagedAndMissingArchives()
{
    TempProgramFolder folder;
    const auto &config = ArchiveSearch::config(Kind::Customers);
    {
        RecordFile file;
        QVERIFY(file.open(*config.archive));
        QVERIFY(ArchiveSearch::search(file, config, QStringList(10)).lines.isEmpty());
    }
    QVERIFY(QFile::exists(folder.filePath(u"Clienti.mrv"_s)));
    QCOMPARE(QFileInfo(folder.filePath(u"Clienti.mrv"_s)).size(), 0);

    // Random bytes with a partial record at the end: no crash, at most one line a record.
    QByteArray bytes(3 * 4043 + 100, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7919 + 13) % 256);
    writeFile(folder.filePath(u"Clienti.mrv"_s), bytes);
    RecordFile file;
    QVERIFY(file.open(*config.archive));
    const ListLines::Scan all = ArchiveSearch::search(file, config, QStringList(10));
    QCOMPARE(all.lines.size(), 3);
    const ListLines::Scan some
        = ArchiveSearch::search(file, config, typedTexts(Kind::Customers, { u"txtNote=zz"_s }));
    QVERIFY(some.lines.size() <= 3);
}

void TestArchiveSearch::countText()
{
    QCOMPARE(ArchiveSearch::countText(ArchiveSearch::config(Kind::Products), 0),
        u"Il presente elenco contiene 0 schede."_s);
    QCOMPARE(ArchiveSearch::countText(ArchiveSearch::config(Kind::Customers), 12),
        u"Il presente riepilogo contiene 12 schede."_s);
    QCOMPARE(ArchiveSearch::countText(ArchiveSearch::config(Kind::Suppliers), 100000),
        u"Il presente riepilogo contiene 100000 schede."_s);
}

void TestArchiveSearch::webAddress_data()
{
    QTest::addColumn<QString>("brand");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("query");
    QTest::newRow("brand and model")
        << u"ABC"_s << u"X 12"_s << u"https://www.google.com/search?q=ABC X 12"_s << u"ABC X 12"_s;
    QTest::newRow("trimmed, one blank between")
        << u"  ABC "_s << u" X 12  "_s << u"https://www.google.com/search?q=ABC X 12"_s
        << u"ABC X 12"_s;
    QTest::newRow("empty model leaves the blank")
        << u"ABC"_s << QString() << u"https://www.google.com/search?q=ABC "_s << u"ABC "_s;
    QTest::newRow("ampersand stays in the query")
        << u"A&B"_s << u"Z"_s << u"https://www.google.com/search?q=A%26B Z"_s << u"A&B Z"_s;
    QTest::newRow("hash, plus and percent")
        << u"C#"_s << u"10+ 5%"_s << u"https://www.google.com/search?q=C%23 10%2B 5%25"_s
        << u"C# 10+ 5%"_s;
    QTest::newRow("accented letters as typed")
        << u"Città"_s << u"è"_s << u"https://www.google.com/search?q=Città è"_s << u"Città è"_s;
}

// The address itself, and what a browser reads as the query once the shell open has
// turned it into a URL.
void TestArchiveSearch::webAddress()
{
    QFETCH(QString, brand);
    QFETCH(QString, model);
    QFETCH(QString, address);
    QFETCH(QString, query);
    const QString built = WebSearch::address(brand, model);
    QCOMPARE(built, address);
    const QUrl url(built, QUrl::TolerantMode);
    QCOMPARE(url.scheme(), u"https"_s);
    QCOMPARE(url.path(), u"/search"_s);
    const QUrlQuery items(url);
    QCOMPARE(items.queryItems().size(), 1);
    QCOMPARE(items.queryItemValue(u"q"_s, QUrl::FullyDecoded), query);
}

void TestArchiveSearch::supplierImport()
{
    Record supplier(SupplierRecord::layout());
    supplier.setValue(SupplierRecord::Ditta, u"  Gomme Srl "_s);
    supplier.setValue(SupplierRecord::Recapito, u"055 123456"_s);
    supplier.setValue(SupplierRecord::Ordine, u"via e-mail "_s);
    supplier.setValue(SupplierRecord::Note, u"non copiato"_s);
    const QList<SupplierImport::Value> values = SupplierImport::productValues(supplier);
    QCOMPARE(values.size(), 3);
    QCOMPARE(values[0].field, int(ProductRecord::Fornitore));
    QCOMPARE(values[0].text, u"Gomme Srl"_s);
    QCOMPARE(values[1].field, int(ProductRecord::Recapiti));
    QCOMPARE(values[1].text, u"055 123456"_s);
    QCOMPARE(values[2].field, int(ProductRecord::Ordine));
    QCOMPARE(values[2].text, u"via e-mail"_s);
}

QTEST_APPLESS_MAIN(TestArchiveSearch)
#include "tst_archivesearch.moc"
