#include "common/TempProgramFolder.h"
#include "labels/Barcode.h"
#include "labels/CodeLookup.h"
#include "labels/LabelSheet.h"
#include "records/ProductRecord.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"
#include "storage/Storage.h"

#include <QDir>
#include <QTest>

using Barcode::Symbology;
Q_DECLARE_METATYPE(Barcode::Symbology)

namespace {

Record product(const QString &code, const QString &description = QString(),
    const QString &price = QStringLiteral("0,00"), const QString &stock = QStringLiteral("0"))
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, code);
    r.setValue(ProductRecord::Descrizione, description);
    r.setValue(ProductRecord::Prezzo_con_Iva, price);
    r.setValue(ProductRecord::Giacenza, stock);
    return r;
}

// A fake encoder: every code fits, as a 20 x 10 mm shape with one bar and one text.
std::optional<Barcode::Shape> fakeEncoder(Symbology, const QString &code, double, double)
{
    Barcode::Shape s;
    s.width = 20;
    s.height = 10;
    s.bars = { QRectF(1, 0, 1, 8) };
    s.texts = { { code, 10, 9.5, 2 } };
    return s;
}

// The program folder's archives, with a stamp the test sets and the scans counted.
class StampedBackend final : public Storage::Backend
{
public:
    QByteArray stamp;
    int scans = 0;

    std::unique_ptr<Storage::Session> open(const Archive &archive, Storage::Access access,
        QString *error, Storage::Failure *failure) override
    {
        auto file = std::make_unique<RecordFile>();
        if (!file->open(archive, access)) {
            if (error)
                *error = file->errorString();
            if (failure)
                *failure = file->failure();
            return nullptr;
        }
        return std::make_unique<Session>(*this, std::move(file));
    }
    // What the code lookup does not use.
    QStringList archiveNames(const QStringList &) const override { return {}; }
    bool copyArchives(const QString &, QStringList *, QString *) override { return false; }
    std::unique_ptr<Storage::WorkingCopy> workingCopy(
        const Archive &, QString *, Storage::Failure *) override
    {
        return nullptr;
    }

private:
    class Session final : public Storage::Session
    {
    public:
        Session(StampedBackend &backend, std::unique_ptr<RecordFile> file)
            : m_backend(backend)
            , m_file(std::move(file))
        {
        }
        qint64 recordCount() const override { return m_file->recordCount(); }
        bool readAt(qint64 index, Record &record) override { return m_file->readAt(index, record); }
        bool readAt(qint64 index, QByteArray &bytes) override
        {
            return m_file->readAt(index, bytes);
        }
        bool writeAt(qint64 index, const QByteArray &bytes) override
        {
            return m_file->writeAt(index, bytes);
        }
        bool scan(std::span<const int> fields, const Visit &visit) override
        {
            ++m_backend.scans;
            return m_file->scan(fields, visit);
        }
        bool writeAt(qint64 index, const Record &record) override
        {
            return m_file->writeAt(index, record);
        }
        bool writeAtIf(qint64 index, const Record &record, const Record &asRead) override
        {
            return m_file->writeAtIf(index, record, asRead);
        }
        bool append(const Record &record) override { return m_file->append(record); }
        Storage::Failure failure() const override { return m_file->failure(); }
        QString errorString() const override { return m_file->errorString(); }
        QByteArray contentStamp() const override { return m_backend.stamp; }

    private:
        StampedBackend &m_backend;
        std::unique_ptr<RecordFile> m_file;
    };
};

} // namespace

class TestLabelSheet : public QObject
{
    Q_OBJECT
private slots:
    void choose_data();
    void choose();
    void moduleWidth_data();
    void moduleWidth();
    void formatsFitTheirPaper();
    void place_data();
    void place();
    void labelCount_data();
    void labelCount();
    void content_data();
    void content();
    void buildCountsPagesAndLabelsWithoutBarcode();
    void buildLeavesOutThePriceWhenAsked();
    void productsOfLinesFollowsTheList();
    void lookup_data();
    void lookup();
    void lookupSeesChangesToTheArchive();
    void lookupKeepsTheCodesWhileTheStampStays_data();
    void lookupKeepsTheCodesWhileTheStampStays();
    void lookupOverManyCodes();
    void lookupOfADamagedArchive_data();
    void lookupOfADamagedArchive();
    void lookupOfAnUnreadableArchive();
    void storedKeyClampsADamagedLength();
};

void TestLabelSheet::choose_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<Symbology>("expected");
    QTest::newRow("EAN-13 valid") << "8001234567897" << Symbology::Ean13;
    QTest::newRow("EAN-13 with blanks around") << "  8001234567897 " << Symbology::Ean13;
    QTest::newRow("EAN-13 wrong check digit") << "8001234567890" << Symbology::Code128;
    QTest::newRow("EAN-8 valid") << "96385074" << Symbology::Ean8;
    QTest::newRow("EAN-8 wrong check digit") << "96385075" << Symbology::Code128;
    QTest::newRow("UPC-A valid") << "036000291452" << Symbology::UpcA;
    QTest::newRow("UPC-A wrong check digit") << "036000291453" << Symbology::Code128;
    QTest::newRow("14 digits") << "80012345678970" << Symbology::Code128;
    QTest::newRow("digits with a letter") << "800123456789X" << Symbology::Code128;
    QTest::newRow("letters and dash") << "PN-000123" << Symbology::Code128;
    QTest::newRow("inner blank") << "AB 12" << Symbology::Code128;
    QTest::newRow("empty") << "" << Symbology::None;
    QTest::newRow("blanks only") << "   " << Symbology::None;
    QTest::newRow("30 characters") << QString(30, u'A') << Symbology::Code128;
    QTest::newRow("48 characters") << QString(48, u'7') << Symbology::None;
    QTest::newRow("accented letter") << QStringLiteral("CAFÈ-01") << Symbology::None;
    QTest::newRow("euro sign") << QStringLiteral("€10") << Symbology::None;
    QTest::newRow("tab inside") << "AB\t12" << Symbology::None;
}

void TestLabelSheet::choose()
{
    QFETCH(QString, code);
    QFETCH(Symbology, expected);
    QCOMPARE(Barcode::choose(code), expected);
}

void TestLabelSheet::moduleWidth_data()
{
    QTest::addColumn<Symbology>("symbology");
    QTest::addColumn<int>("modules");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("expected"); // 0: no barcode
    QTest::newRow("EAN-13 nominal") << Symbology::Ean13 << 113 << 60.0 << 0.33;
    QTest::newRow("EAN-13 reduced") << Symbology::Ean13 << 113 << 32.0 << 32.0 / 113;
    QTest::newRow("EAN-13 too narrow") << Symbology::Ean13 << 113 << 29.0 << 0.0;
    QTest::newRow("Code 128 nominal") << Symbology::Code128 << 100 << 60.0 << 0.40;
    QTest::newRow("Code 128 at the limit") << Symbology::Code128 << 100 << 25.0 << 0.25;
    QTest::newRow("Code 128 too narrow") << Symbology::Code128 << 100 << 24.0 << 0.0;
    QTest::newRow("nothing to draw") << Symbology::None << 100 << 60.0 << 0.0;
}

void TestLabelSheet::moduleWidth()
{
    QFETCH(Symbology, symbology);
    QFETCH(int, modules);
    QFETCH(double, width);
    QFETCH(double, expected);
    const std::optional<double> x = Barcode::moduleWidth(symbology, modules, width);
    QCOMPARE(x.value_or(0.0), expected);
}

void TestLabelSheet::formatsFitTheirPaper()
{
    const QList<Labels::Format> &all = Labels::formats();
    QCOMPARE(all.size(), 5);
    for (const Labels::Format &f : all) {
        const double right = f.left + (f.columns - 1) * f.pitchX + f.labelWidth;
        const double bottom = f.top + (f.rows - 1) * f.pitchY + f.labelHeight;
        QVERIFY2(right <= f.pageWidth + 1e-9, qPrintable(f.name));
        QVERIFY2(bottom <= f.pageHeight + 1e-9, qPrintable(f.name));
        QVERIFY2(f.pitchX >= f.labelWidth && f.pitchY >= f.labelHeight, qPrintable(f.name));
    }
    QCOMPARE(all[0].perPage(), 24);
    QCOMPARE(all[1].perPage(), 21);
    QCOMPARE(all[2].perPage(), 14);
    QCOMPARE(all[3].perPage(), 40);
    QCOMPARE(all[4].perPage(), 1);
}

void TestLabelSheet::place_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("firstSlot");
    QTest::addColumn<int>("index"); // the label looked at
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<int>("pages");
    QTest::newRow("3x8 first") << 0 << 1 << 0 << 0 << 0 << 0 << QRectF(0, 0.5, 70, 37) << 1;
    QTest::newRow("3x8 second row") << 0 << 5 << 0 << 4 << 0 << 4 << QRectF(70, 37.5, 70, 37) << 1;
    QTest::newRow("3x8 last of the sheet")
        << 0 << 24 << 0 << 23 << 0 << 23 << QRectF(140, 259.5, 70, 37) << 1;
    QTest::newRow("3x8 page break") << 0 << 25 << 0 << 24 << 1 << 0 << QRectF(0, 0.5, 70, 37) << 2;
    QTest::newRow("3x8 start at label 5")
        << 0 << 1 << 4 << 0 << 0 << 4 << QRectF(70, 37.5, 70, 37) << 1;
    QTest::newRow("3x8 offset then page break")
        << 0 << 21 << 4 << 20 << 1 << 0 << QRectF(0, 0.5, 70, 37) << 2;
    QTest::newRow("3x7 third row")
        << 1 << 7 << 0 << 6 << 0 << 6 << QRectF(0, 0.45 + 2 * 42.3, 70, 42.3) << 1;
    QTest::newRow("2x7 gap between columns")
        << 2 << 2 << 0 << 1 << 0 << 1 << QRectF(4.65 + 101.6, 15.15, 99.1, 38.1) << 1;
    QTest::newRow("2x7 last") << 2 << 14 << 0 << 13 << 0 << 13
                              << QRectF(106.25, 15.15 + 6 * 38.1, 99.1, 38.1) << 1;
    QTest::newRow("4x10 start at the last label")
        << 3 << 2 << 39 << 1 << 1 << 0 << QRectF(8, 21.5, 48.5, 25.4) << 2;
    QTest::newRow("4x10 start beyond the sheet counts as the first")
        << 3 << 1 << 40 << 0 << 0 << 0 << QRectF(8, 21.5, 48.5, 25.4) << 1;
    QTest::newRow("roll one per page") << 4 << 3 << 0 << 2 << 2 << 0 << QRectF(0, 0, 62, 29) << 3;
}

void TestLabelSheet::place()
{
    QFETCH(int, format);
    QFETCH(int, count);
    QFETCH(int, firstSlot);
    QFETCH(int, index);
    QFETCH(int, page);
    QFETCH(int, slot);
    QFETCH(QRectF, rect);
    QFETCH(int, pages);
    const QList<Labels::Placement> places
        = Labels::place(Labels::formats().at(format), count, firstSlot);
    QCOMPARE(places.size(), count);
    QCOMPARE(places[index].page, page);
    QCOMPARE(places[index].slot, slot);
    QCOMPARE(places[index].rect, rect);
    QCOMPARE(places.back().page + 1, pages);
}

void TestLabelSheet::labelCount_data()
{
    QTest::addColumn<QString>("stock");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("onePerPiece");
    QTest::addColumn<int>("expected");
    QTest::newRow("copies") << "7" << 3 << false << 3;
    QTest::newRow("one per piece") << "7" << 3 << true << 7;
    QTest::newRow("no stock") << "0" << 3 << true << 0;
    QTest::newRow("negative stock") << "-4" << 3 << true << 0;
    QTest::newRow("stock not a number") << "sette" << 3 << true << 0;
    QTest::newRow("stock with decimals") << "2,5" << 1 << true << 2;
}

void TestLabelSheet::labelCount()
{
    QFETCH(QString, stock);
    QFETCH(int, copies);
    QFETCH(bool, onePerPiece);
    QFETCH(int, expected);
    QCOMPARE(Labels::labelCount(stock, copies, onePerPiece), expected);
}

void TestLabelSheet::content_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("brand");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("shownDescription");
    QTest::addColumn<QString>("shownPrice");
    QTest::newRow("description and price") << "Pneumatico estivo"
                                           << "Pirelli"
                                           << "P7"
                                           << "12,2"
                                           << "Pneumatico estivo"
                                           << "€ 12,20";
    QTest::newRow("brand and model when no description") << "  "
                                                         << "Pirelli"
                                                         << "P7"
                                                         << "100"
                                                         << "Pirelli P7"
                                                         << "€ 100,00";
    QTest::newRow("model alone") << ""
                                 << ""
                                 << "P7"
                                 << "0,005"
                                 << "P7"
                                 << "€ 0,01";
    QTest::newRow("price not a number") << "Vite"
                                        << ""
                                        << ""
                                        << "abc"
                                        << "Vite"
                                        << "";
}

void TestLabelSheet::content()
{
    QFETCH(QString, description);
    QFETCH(QString, brand);
    QFETCH(QString, model);
    QFETCH(QString, price);
    QFETCH(QString, shownDescription);
    QFETCH(QString, shownPrice);
    Record r = product(QStringLiteral(" 8001234567897 "), description, price);
    r.setValue(ProductRecord::Marca, brand);
    r.setValue(ProductRecord::Modello, model);
    const Labels::Content c = Labels::contentOf(r);
    QCOMPARE(c.code, QStringLiteral("8001234567897"));
    QCOMPARE(c.description, shownDescription);
    QCOMPARE(c.price, shownPrice);
    QCOMPARE(c.symbology, Symbology::Ean13);
}

void TestLabelSheet::buildCountsPagesAndLabelsWithoutBarcode()
{
    const QList<Labels::Product> products = {
        Labels::productOf(product(QStringLiteral("8001234567897"), QStringLiteral("A"))),
        Labels::productOf(product(QStringLiteral("CAFÈ"), QStringLiteral("B"))),
        Labels::productOf(product(QStringLiteral("PN-1"), QStringLiteral("C"))),
    };
    Labels::Options o;
    o.format = 2; // 14 a sheet
    o.copies = 5;
    o.firstLabel = 3;
    const Labels::Sheets s = Labels::build(products, o, fakeEncoder);
    QCOMPARE(s.labels, 15);
    // 12 labels fit after the first two slots; 3 go to the second sheet.
    QCOMPARE(s.report.pageCount(), 2);
    QCOMPARE(s.report.pageWidth, 210.0);
    QCOMPARE(s.withoutBarcode, QStringList { QStringLiteral("CAFÈ") });
    int bars = 0;
    int codesAsText = 0;
    for (const Report::PreparedPage &page : s.report.pages) {
        for (const Report::PlacedItem &placed : page.items) {
            if (placed.item.kind == Report::ItemKind::Bars)
                ++bars;
            if (placed.item.name == QLatin1String("codice"))
                ++codesAsText;
        }
    }
    QCOMPARE(bars, 10);
    QCOMPARE(codesAsText, 15);
    // The first label is the third slot of the first sheet: second column, first row.
    const Report::PlacedItem *first = s.report.find(0, u"descrizione");
    QVERIFY(first);
    QCOMPARE(first->item.text, QStringLiteral("A"));
    QVERIFY(first->item.left > 4.65 && first->item.left < 4.65 + 99.1);
    QVERIFY(first->item.top > 15.15 + 38.1 && first->item.top < 15.15 + 2 * 38.1);
    QVERIFY(!Labels::withoutBarcodeText(s.withoutBarcode).isEmpty());
    QVERIFY(Labels::withoutBarcodeText({}).isEmpty());
}

void TestLabelSheet::buildLeavesOutThePriceWhenAsked()
{
    const QList<Labels::Product> products
        = { Labels::productOf(product(QStringLiteral("PN-1"), QStringLiteral("A"), "9,9")) };
    Labels::Options o;
    o.format = 4;
    Labels::Sheets s = Labels::build(products, o, fakeEncoder);
    QCOMPARE(s.report.orientation, Report::Orientation::Landscape);
    QVERIFY(s.report.find(0, u"prezzo"));
    QCOMPARE(s.report.find(0, u"prezzo")->item.text, QStringLiteral("€ 9,90"));
    o.price = false;
    s = Labels::build(products, o, fakeEncoder);
    QVERIFY(!s.report.find(0, u"prezzo"));
}

void TestLabelSheet::productsOfLinesFollowsTheList()
{
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    for (const char *code : { "B", "A", "C", "A" })
        QVERIFY(file.append(product(QString::fromLatin1(code), QStringLiteral("d"))));
    const auto lineOf = [](QByteArrayView bytes) {
        return fieldOf(ProductRecord::layout(), bytes, ProductRecord::Codice);
    };
    const auto products = Labels::productsOfLines(file,
        { QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("Z") },
        lineOf);
    QVERIFY(products);
    QStringList codes;
    for (const Labels::Product &p : *products)
        codes << p.content.code;
    QCOMPARE(codes, (QStringList { "A", "C", "A" }));
}

void TestLabelSheet::lookup_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("matches");
    QTest::newRow("exact") << "PN-000123" << 2 << 1;
    QTest::newRow("other case and blanks") << "  pn-000123\t" << 2 << 1;
    QTest::newRow("accented capital") << QStringLiteral("càfè") << 3 << 1;
    QTest::newRow("shared code, first one") << "8001234567897" << 4 << 2;
    QTest::newRow("stored with blanks around") << "X1" << 1 << 1;
    QTest::newRow("part of a code") << "PN-000" << 0 << 0;
    QTest::newRow("unknown") << "nope" << 0 << 0;
    QTest::newRow("not storable") << QStringLiteral("Ωmega") << 0 << 0;
    QTest::newRow("empty") << "" << 0 << 0;
}

void TestLabelSheet::lookup()
{
    QFETCH(QString, code);
    QFETCH(int, position);
    QFETCH(int, matches);
    TempProgramFolder folder;
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        for (const QString &c : { QStringLiteral(" X1 "), QStringLiteral("PN-000123"),
                 QStringLiteral("CÀFÈ"), QStringLiteral("8001234567897"), QStringLiteral("?mega"),
                 QStringLiteral("8001234567897") })
            QVERIFY(file.append(product(c, c + QStringLiteral(" desc"))));
    }
    const CodeLookup::Result r = CodeLookup::find(ProductRecord::archive(), code);
    QCOMPARE(r.matches, matches);
    QCOMPARE(int(r.position), position);
    QCOMPARE(r.status,
        position ? CodeLookup::Result::Status::Found : CodeLookup::Result::Status::NotFound);
    if (position) {
        QVERIFY(r.record);
        QCOMPARE(
            r.record->value(ProductRecord::Codice).trimmed().toLower(), code.trimmed().toLower());
    }
}

void TestLabelSheet::lookupSeesChangesToTheArchive()
{
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    for (const char *code : { "A", "B", "C" })
        QVERIFY(file.append(product(QString::fromLatin1(code))));
    const auto positionOf = [](const char *code) {
        return CodeLookup::find(ProductRecord::archive(), QString::fromLatin1(code)).position;
    };
    QCOMPARE(positionOf("A"), 1);
    QCOMPARE(positionOf("Z"), 0);
    // A card saved over the first product: its old code is gone, its new one is there.
    QVERIFY(file.writeAt(0, product(QStringLiteral("Z"))));
    QCOMPARE(positionOf("A"), 0);
    QCOMPARE(positionOf("Z"), 1);
    // A new card with the old code.
    QVERIFY(file.append(product(QStringLiteral("a"))));
    QCOMPARE(positionOf("A"), 4);
    QVERIFY(file.append(product(QStringLiteral("Z"))));
    const CodeLookup::Result z = CodeLookup::find(ProductRecord::archive(), u"z");
    QCOMPARE(z.position, 1);
    QCOMPARE(z.matches, 2);
}

void TestLabelSheet::lookupKeepsTheCodesWhileTheStampStays_data()
{
    QTest::addColumn<QByteArray>("firstStamp");
    QTest::addColumn<QByteArray>("secondStamp");
    QTest::addColumn<QString>("rewriteSecondAs"); // empty: the archive is not changed
    QTest::addColumn<int>("position"); // of B at the second lookup, 0: not found
    QTest::addColumn<int>("scans"); // of the two lookups together
    QTest::newRow("same stamp") << QByteArray("1") << QByteArray("1") << "" << 2 << 1;
    QTest::newRow("other stamp") << QByteArray("1") << QByteArray("2") << "" << 2 << 2;
    QTest::newRow("no stamp") << QByteArray() << QByteArray() << "" << 2 << 2;
    // The stamp did not tell, but the record found is read again and checked.
    QTest::newRow("same stamp, record found changed")
        << QByteArray("1") << QByteArray("1") << "Y" << 0 << 2;
    QTest::newRow("same stamp, record found changed in case only")
        << QByteArray("1") << QByteArray("1") << "b" << 2 << 1;
}

void TestLabelSheet::lookupKeepsTheCodesWhileTheStampStays()
{
    QFETCH(QByteArray, firstStamp);
    QFETCH(QByteArray, secondStamp);
    QFETCH(QString, rewriteSecondAs);
    QFETCH(int, position);
    QFETCH(int, scans);
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    for (const char *code : { "A", "B", "C" })
        QVERIFY(file.append(product(QString::fromLatin1(code))));
    auto backend = std::make_shared<StampedBackend>();
    Storage::setBackend(backend);
    backend->stamp = firstStamp;
    const CodeLookup::Result first = CodeLookup::find(ProductRecord::archive(), u"b");
    if (!rewriteSecondAs.isEmpty())
        QVERIFY(file.writeAt(1, product(rewriteSecondAs)));
    backend->stamp = secondStamp;
    const CodeLookup::Result second = CodeLookup::find(ProductRecord::archive(), u"B");
    Storage::setBackend({});
    QCOMPARE(first.position, 2);
    QCOMPARE(second.position, position);
    QCOMPARE(second.status,
        position ? CodeLookup::Result::Status::Found : CodeLookup::Result::Status::NotFound);
    QCOMPARE(backend->scans, scans);
}

void TestLabelSheet::lookupOverManyCodes()
{
    // Enough codes for the table to grow and for probes to collide: each code found at its
    // first record with the count of its records, whatever the case it is typed in.
    TempProgramFolder folder;
    RecordFile file;
    QVERIFY(file.open(ProductRecord::archive()));
    constexpr int kCodes = 700;
    QByteArray records;
    for (int i = 0; i < 2 * kCodes; ++i) {
        // Every code twice, the second time in small letters; code 0 also blank-padded.
        const int n = i % kCodes;
        QString code = QStringLiteral("PN-%1").arg(n);
        if (i >= kCodes)
            code = code.toLower();
        if (n == 0)
            code = u"  "_qs + code + u" "_qs;
        records += product(code).encode();
    }
    QVERIFY(file.appendBlock(records));
    for (int n = 0; n < kCodes; ++n) {
        const CodeLookup::Result r
            = CodeLookup::find(ProductRecord::archive(), QStringLiteral("pN-%1").arg(n));
        QCOMPARE(r.status, CodeLookup::Result::Status::Found);
        QCOMPARE(r.position, n + 1);
        QCOMPARE(r.matches, 2);
    }
    QCOMPARE(CodeLookup::find(ProductRecord::archive(), u"PN-700").status,
        CodeLookup::Result::Status::NotFound);
    QCOMPARE(CodeLookup::find(ProductRecord::archive(), u"PN-").status,
        CodeLookup::Result::Status::NotFound);
}

void TestLabelSheet::lookupOfADamagedArchive_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("status"); // CodeLookup::Result::Status
    QTest::addColumn<int>("position");
    QTest::newRow("length byte past the field")
        << "length" << QString(30, u'q') << int(CodeLookup::Result::Status::Found) << 2;
    QTest::newRow("record cut short at the end")
        << "tail"
        << "TAIL" << int(CodeLookup::Result::Status::NotFound) << 0;
    QTest::newRow("whole records still found")
        << "tail"
        << "C" << int(CodeLookup::Result::Status::Found) << 3;
    // The codes were read, then the archive lost records behind the program's back while
    // its stamp stayed: the record found cannot be read again.
    QTest::newRow("cut after the codes were read")
        << "cut"
        << "C" << int(CodeLookup::Result::Status::Unreadable) << 0;
}

void TestLabelSheet::lookupOfADamagedArchive()
{
    QFETCH(QString, damage);
    QFETCH(QString, code);
    QFETCH(int, status);
    QFETCH(int, position);
    TempProgramFolder folder;
    const QString path = folder.filePath(QString::fromLatin1(ProductRecord::kFileName));
    QByteArray bytes;
    for (const char *c : { "A", "B", "C" })
        bytes += product(QString::fromLatin1(c)).encode();
    if (damage == u"length") {
        // The second record's code: a length byte of 200 before 30 letters and more.
        const int size = ProductRecord::kRecordSize;
        bytes[size] = char(200);
        for (int i = 1; i <= 40; ++i)
            bytes[size + i] = 'Q';
    }
    if (damage == u"tail")
        bytes += product(QStringLiteral("TAIL")).encode().left(100);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    auto backend = std::make_shared<StampedBackend>();
    backend->stamp = "1";
    Storage::setBackend(backend);
    if (damage == u"cut") {
        QCOMPARE(CodeLookup::find(ProductRecord::archive(), code).position, 3);
        QVERIFY(QFile::resize(path, ProductRecord::kRecordSize));
    }
    const CodeLookup::Result r = CodeLookup::find(ProductRecord::archive(), code);
    Storage::setBackend({});
    QCOMPARE(int(r.status), status);
    QCOMPARE(int(r.position), position);
    QCOMPARE(r.record.has_value(), status == int(CodeLookup::Result::Status::Found));
}

void TestLabelSheet::lookupOfAnUnreadableArchive()
{
    TempProgramFolder folder;
    // A folder where the archive should be: it cannot be opened as a file.
    QVERIFY(QDir(folder.path()).mkdir(QString::fromLatin1(ProductRecord::kFileName)));
    const CodeLookup::Result r = CodeLookup::find(ProductRecord::archive(), u"PN-1");
    QCOMPARE(r.status, CodeLookup::Result::Status::Unreadable);
    QVERIFY(!r.record);
}

void TestLabelSheet::storedKeyClampsADamagedLength()
{
    QByteArray field(31, 'A');
    field[0] = char(200); // longer than the field can be
    QCOMPARE(CodeLookup::storedKey(field, 30), QByteArray(30, 'A'));
    field[0] = char(3);
    field[1] = ' ';
    QCOMPARE(CodeLookup::storedKey(field, 30), QByteArray("AA"));
    // Small letters, accented ones too, compare as their capitals.
    field = QByteArray(1, char(4)) + QByteArray("pn-\xe0") + QByteArray(26, 'x');
    QCOMPARE(CodeLookup::storedKey(field, 30), QByteArray("PN-\xc0"));
}

QTEST_GUILESS_MAIN(TestLabelSheet)
#include "tst_labelsheet.moc"
