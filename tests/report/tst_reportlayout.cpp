#include "catalogue/ProductCardReport.h"
#include "records/ProductRecord.h"
#include "report/CardContent.h"
#include "report/ListContent.h"
#include "report/PreparedReport.h"
#include "report/ReportTemplate.h"
#include "storage/Record.h"
#include "storage/TextForms.h"

#include <QTest>

using namespace Report;

namespace {

ReportTemplate loadTemplate(const char *resource)
{
    QString error;
    const auto t = ReportTemplate::load(QString::fromLatin1(resource), &error);
    if (!t)
        qFatal("%s", qPrintable(error));
    return *t;
}

QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(QStringLiteral("Riga %1  articolo di prova").arg(i, 4, 10, QLatin1Char('0')));
    return lines;
}

// Lines of the multi-line box on each page, in page order.
QList<int> linesPerPage(const PreparedReport &report)
{
    QList<int> counts;
    for (int page = 0; page < report.pageCount(); ++page) {
        const PlacedItem *piece = report.find(page, u"txtRiepilogo");
        counts.append(piece ? int(piece->item.lines.size()) : 0);
    }
    return counts;
}

} // namespace

class TestReportLayout : public QObject
{
    Q_OBJECT
private slots:
    void malformedTemplates_data();
    void malformedTemplates();
    void templateEditing();
    void listPagination_data();
    void listPagination();
    void listFill_data();
    void listFill();
    void datePlaceholder();
    void cardLayout();
    void productCardContent_data();
    void productCardContent();
};

void TestReportLayout::malformedTemplates_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("complaint");

    const QByteArray box = R"({"type": "text", "name": "a", "left": 0, "top": 0, "width": 10,
                               "height": 5, "font": {"family": "Arial", "size": 9}})";
    QTest::newRow("not json") << QByteArray("{\"name\": ") << QStringLiteral("not JSON");
    QTest::newRow("duplicate name") << QByteArray("{\"items\": [" + box + "," + box + "]}")
                                    << QStringLiteral("duplicate name a");
    QTest::newRow("unknown item type")
        << QByteArray(R"({"items": [{"type": "ellipse", "name": "e", "left": 0, "top": 0,
                          "width": 1, "height": 1}]})")
        << QStringLiteral("unknown \"type\"");
    QTest::newRow("missing width")
        << QByteArray(R"({"items": [{"type": "line", "name": "l", "left": 0, "top": 0}]})")
        << QStringLiteral("missing \"width\"");
    QTest::newRow("negative length")
        << QByteArray(R"({"items": [{"type": "line", "name": "l", "left": 0, "top": -3,
                          "width": 4}]})")
        << QStringLiteral("\"top\" is not a length");
    QTest::newRow("multi-line without pitch")
        << QByteArray(R"({"items": [{"type": "text", "name": "m", "left": 0, "top": 0,
                          "width": 9, "height": 9, "font": {"family": "Arial", "size": 9},
                          "multiLine": true}]})")
        << QStringLiteral("lineHeight");
    QTest::newRow("two multi-line boxes in a band")
        << QByteArray(R"({"bands": [{"name": "B", "kind": "data", "height": 9, "items": [
              {"type": "text", "name": "m1", "left": 0, "top": 0, "width": 9, "height": 9,
               "font": {"family": "Arial", "size": 9}, "multiLine": true, "lineHeight": 3},
              {"type": "text", "name": "m2", "left": 0, "top": 0, "width": 9, "height": 9,
               "font": {"family": "Arial", "size": 9}, "multiLine": true, "lineHeight": 3}]}]})")
        << QStringLiteral("at most one multi-line box");
    QTest::newRow("picture without sources")
        << QByteArray(R"({"items": [{"type": "picture", "name": "p", "left": 0, "top": 0,
                          "width": 4, "height": 4}]})")
        << QStringLiteral("needs its sources");
}

void TestReportLayout::malformedTemplates()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, complaint);
    QString error;
    QVERIFY(!ReportTemplate::fromJson(json, &error));
    QVERIFY2(error.contains(complaint), qPrintable(error));
}

void TestReportLayout::templateEditing()
{
    const ReportTemplate original = loadTemplate(ListTemplate::kResource);
    ReportTemplate copy = original;
    QVERIFY(copy.setText(u"txtTitolo", QStringLiteral("Copia")));
    QVERIFY(copy.setItemHeight(u"txtRiepilogo", 99));
    QVERIFY(copy.setBandHeight(u"MasterData", 101));
    QCOMPARE(original.findItem(u"txtTitolo")->text, QStringLiteral("Riepilogo"));
    QCOMPARE(original.findItem(u"txtRiepilogo")->height, 27.0);
    QCOMPARE(original.findBand(u"MasterData")->height, 28.0);
    QCOMPARE(copy.findItem(u"txtTitolo")->text, QStringLiteral("Copia"));
    QVERIFY(!copy.setText(u"nessuno", QString()));
    QVERIFY(!copy.setBandHeight(u"txtTitolo", 1));

    // A multi-line box takes a text as lines; a one-line box takes no lines.
    QVERIFY(copy.setText(u"txtRiepilogo", QStringLiteral("uno\r\ndue\ntre")));
    QCOMPARE(copy.findItem(u"txtRiepilogo")->lines,
        (QStringList { QStringLiteral("uno"), QStringLiteral("due"), QStringLiteral("tre") }));
    QVERIFY(!copy.setLines(u"txtTitolo", { QStringLiteral("x") }));
    QCOMPARE(copy.findItem(u"txtTitolo")->text, QStringLiteral("Copia"));
}

void TestReportLayout::listPagination_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QList<int>>("perPage");
    QTest::addColumn<int>("footerPage");

    // A4 landscape inside 10 mm margins leaves 190 mm. The first page gives 182 mm after
    // the 8 mm title: 53 lines of 3.3925 mm (179.80 mm); a following page 56 lines
    // (189.98 mm). The footer needs 8 mm after the band's 2.6458 mm tail, so a first
    // page holds 50 lines with it (8 + 169.63 + 2.65 + 8 = 188.27 mm) but not 51.
    QTest::newRow("empty list") << 0 << QList<int> { 0 } << 0;
    QTest::newRow("one line") << 1 << QList<int> { 1 } << 0;
    QTest::newRow("one page with its footer") << 50 << QList<int> { 50 } << 0;
    QTest::newRow("footer pushed to a page of its own") << 51 << QList<int> { 51, 0 } << 1;
    QTest::newRow("lines exactly fill the first page") << 53 << QList<int> { 53, 0 } << 1;
    QTest::newRow("one line over the first page") << 54 << QList<int> { 53, 1 } << 1;
    QTest::newRow("lines exactly fill the second page") << 109 << QList<int> { 53, 56, 0 } << 2;
    QTest::newRow("two hundred lines") << 200 << QList<int> { 53, 56, 56, 35 } << 3;
}

void TestReportLayout::listPagination()
{
    QFETCH(int, lineCount);
    QFETCH(QList<int>, perPage);
    QFETCH(int, footerPage);

    ReportTemplate list = loadTemplate(ListTemplate::kResource);
    const QStringList lines = numberedLines(lineCount);
    ListTemplate::fill(list, QStringLiteral("Materiali in esaurimento"), lines, {});
    const PreparedReport report = prepare(list, QStringLiteral("05/03/2024"));

    QCOMPARE(report.pageCount(), int(perPage.size()));
    QCOMPARE(report.pageWidth, 297.0);
    QCOMPARE(report.pageHeight, 210.0);
    QCOMPARE(report.pagesWith(u"txtTitolo"), QList<int> { 0 });
    QCOMPARE(report.pagesWith(u"txtPagina"), QList<int> { footerPage });
    QCOMPARE(report.linesOf(u"txtRiepilogo"), lines);
    QCOMPARE(linesPerPage(report), perPage);

    // The first piece starts under the title, the others at the top margin.
    const PlacedItem *first = report.find(0, u"txtRiepilogo");
    QVERIFY(first);
    QCOMPARE(first->item.top, 10.0 + 8.0);
    for (int page = 1; page < report.pageCount(); ++page) {
        if (const PlacedItem *piece = report.find(page, u"txtRiepilogo"))
            QCOMPARE(piece->item.top, 10.0);
    }

    // Nothing prints into the bottom margin, and the footer comes after the last line.
    for (const PreparedPage &page : report.pages) {
        for (const PlacedItem &placed : page.items)
            QVERIFY2(
                placed.item.top + placed.item.height <= 200.0 + 1e-6, qPrintable(placed.item.name));
    }
    const PlacedItem *footer = report.find(footerPage, u"txtPagina");
    QCOMPARE(footer->item.text, QStringLiteral("Stampa eseguita in data 05/03/2024"));
    if (const PlacedItem *last = report.find(footerPage, u"txtRiepilogo"))
        QVERIFY(footer->item.top >= last->item.top + double(last->item.lines.size()) * 3.3925);

    // Numbering the pages adds one box per page in the bottom margin and moves nothing.
    PreparedReport numbered = report;
    numberPages(numbered, ListTemplate::pageNumberBox(list));
    QCOMPARE(numbered.pageCount(), report.pageCount());
    const QString name = QString::fromLatin1(ListTemplate::kPageNumberItem);
    for (int page = 0; page < numbered.pageCount(); ++page) {
        const QList<PlacedItem> &items = numbered.pages.at(page).items;
        QCOMPARE(items.size(), report.pages.at(page).items.size() + 1);
        for (int i = 0; i < report.pages.at(page).items.size(); ++i) {
            QCOMPARE(items.at(i).item.name, report.pages.at(page).items.at(i).item.name);
            QCOMPARE(items.at(i).item.top, report.pages.at(page).items.at(i).item.top);
        }
        const PlacedItem *number = numbered.find(page, name);
        QVERIFY(number);
        QCOMPARE(
            number->item.text, QStringLiteral("Pagina %1 di %2").arg(page + 1).arg(perPage.size()));
        QVERIFY(number->item.top >= 200.0);
        QVERIFY(number->item.top + number->item.height <= 210.0);
    }
}

void TestReportLayout::listFill_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("extraLines");
    QTest::addColumn<QStringList>("printed");

    const QString sep = QStringLiteral("--------");
    QTest::newRow("empty list, no extra lines") << QStringList() << QStringList() << QStringList();
    QTest::newRow("lines then extra lines")
        << QStringList { QStringLiteral("A1  uno"), QStringLiteral("B2  due") }
        << QStringList { sep, QStringLiteral("Totale: 2") }
        << QStringList { QStringLiteral("A1  uno"), QStringLiteral("B2  due"), sep,
               QStringLiteral("Totale: 2") };
    QTest::newRow("only extra lines")
        << QStringList() << QStringList { sep } << QStringList { sep };
    // A note typed over several lines stays one printed line.
    QTest::newRow("line break inside a line")
        << QStringList { QStringLiteral("X1  prima\r\nseconda"), QStringLiteral("X2  a\nb\rc") }
        << QStringList()
        << QStringList { QStringLiteral("X1  prima seconda"), QStringLiteral("X2  a b c") };
    QTest::newRow("brackets in the data are not placeholders")
        << QStringList { QStringLiteral("Z9  [DATE] resta com'è") } << QStringList()
        << QStringList { QStringLiteral("Z9  [DATE] resta com'è") };
}

void TestReportLayout::listFill()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, extraLines);
    QFETCH(QStringList, printed);

    ReportTemplate list = loadTemplate(ListTemplate::kResource);
    ListTemplate::fill(list, QStringLiteral("Riepilogo [DATE] Fornitori"), lines, extraLines);
    QCOMPARE(list.findItem(u"txtRiepilogo")->height, printed.size() * 3.3925);
    QCOMPARE(list.findBand(u"MasterData")->height, printed.size() * 3.3925 + 2.6458);

    const PreparedReport report = prepare(list, QStringLiteral("31/12/2023"));
    QCOMPARE(report.linesOf(u"txtRiepilogo"), printed);
    QCOMPARE(report.find(0, u"txtTitolo")->item.text, QStringLiteral("Riepilogo [DATE] Fornitori"));
}

void TestReportLayout::datePlaceholder()
{
    Clock::setFixed(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)));
    const auto report = ListTemplate::prepare(QStringLiteral("Titolo"), {}, {});
    Clock::reset();
    QVERIFY(report);
    QCOMPARE(report->find(0, u"txtPagina")->item.text,
        QStringLiteral("Stampa eseguita in data 29/02/2024"));
}

void TestReportLayout::cardLayout()
{
    CardContent content;
    content.title = QStringLiteral("SCHEDA ARTICOLO");
    for (int row = 1; row <= CardTemplate::kRows; ++row)
        content.rows.append(
            { QStringLiteral("Voce %1:").arg(row), QStringLiteral("valore %1").arg(row) });
    content.footer = QStringLiteral("Stampa eseguita in data 01/01/2024 alle ore 08:00:00");

    ReportTemplate card = loadTemplate(CardTemplate::kResource);
    card.setOrientation(Orientation::Landscape);
    CardTemplate::fill(card, content);
    const PreparedReport report = prepare(card, QStringLiteral("01/01/2024"));

    QCOMPARE(report.name, QStringLiteral("Scheda informativa"));
    QCOMPARE(report.info.subject, QStringLiteral("Scheda informativa"));
    QCOMPARE(report.info.author, QStringLiteral("Dravello Software"));
    QCOMPARE(report.pageCount(), 1);
    QCOMPARE(report.orientation, Orientation::Portrait);
    QCOMPARE(report.pageWidth, 210.0);
    QCOMPARE(report.pageHeight, 297.0);
    QCOMPARE(report.find(0, u"txtTitolo")->item.text, content.title);
    QCOMPARE(report.find(0, u"txtCalce")->item.text, content.footer);
    // Positions on paper: the template's own plus the 10 mm margins.
    for (int row = 1; row <= CardTemplate::kRows; ++row) {
        const PlacedItem *caption = report.find(0, CardTemplate::captionName(row));
        const PlacedItem *value = report.find(0, CardTemplate::valueName(row));
        QVERIFY(caption && value);
        const double top = 10 + 24 + 10 * (row - 1);
        QCOMPARE(caption->item.top, top);
        QCOMPARE(value->item.top, top);
        QCOMPARE(caption->item.left, 13.0);
        QCOMPARE(value->item.left, 70.0);
        QCOMPARE(caption->item.text, content.rows.at(row - 1).first);
        QCOMPARE(value->item.text, content.rows.at(row - 1).second);
        QVERIFY(!value->item.multiLine);
    }

    // Fewer rows than 24 leave the rest empty rather than showing the design texts.
    content.rows.resize(2);
    CardTemplate::fill(card, content);
    const PreparedReport shorter = prepare(card, QStringLiteral("01/01/2024"));
    QCOMPARE(shorter.find(0, u"txtCampo02")->item.text, QStringLiteral("valore 2"));
    QCOMPARE(shorter.find(0, u"txtCampo03")->item.text, QString());
    QCOMPARE(shorter.find(0, u"titCampo24")->item.text, QString());
}

void TestReportLayout::productCardContent_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("printed");

    using namespace ProductRecord;
    QTest::newRow("code trimmed") << 1 << QStringLiteral("Codice articolo:") << int(Codice)
                                  << QStringLiteral("  AB-12 ") << QStringLiteral("AB-12");
    QTest::newRow("accented caption")
        << 11 << QStringLiteral("Modalità ordine merce:") << int(Ordine)
        << QStringLiteral("Telefono") << QStringLiteral("Telefono");
    QTest::newRow("under-stock threshold")
        << 15 << QStringLiteral("Preavviso sottoscorta:") << int(Sottoscorta) << QStringLiteral("5")
        << QStringLiteral("5 pezzi rimasti");
    QTest::newRow("empty under-stock threshold")
        << 15 << QStringLiteral("Preavviso sottoscorta:") << int(Sottoscorta) << QString()
        << QStringLiteral(" pezzi rimasti");
    QTest::newRow("height from the hidden field")
        << 20 << QStringLiteral("Altezza:") << int(Consumo) << QStringLiteral("12 cm")
        << QStringLiteral("12 cm");
    QTest::newRow("expiry from the hidden field")
        << 23 << QStringLiteral("Scadenza:") << int(Onde) << QStringLiteral("\t31/12/2025 ")
        << QStringLiteral("31/12/2025");
    QTest::newRow("notes last") << 24 << QStringLiteral("Note:") << int(Note)
                                << QStringLiteral("fragile") << QStringLiteral("fragile");
}

void TestReportLayout::productCardContent()
{
    QFETCH(int, row);
    QFETCH(QString, caption);
    QFETCH(int, field);
    QFETCH(QString, stored);
    QFETCH(QString, printed);

    Record product(ProductRecord::layout());
    product.setValue(field, stored);
    const CardContent content
        = ::productCardContent(product, QStringLiteral("07/06/2024"), QStringLiteral("09:05:01"));
    QCOMPARE(content.title, QStringLiteral("SCHEDA ARTICOLO"));
    QCOMPARE(content.rows.size(), CardTemplate::kRows);
    QCOMPARE(content.rows.at(row - 1).first, caption);
    QCOMPARE(content.rows.at(row - 1).second, printed);
    QCOMPARE(
        content.footer, QStringLiteral("Stampa eseguita in data 07/06/2024 alle ore 09:05:01"));
}

QTEST_APPLESS_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
