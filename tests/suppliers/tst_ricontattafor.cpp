#include "suppliers/RicontattaFor.h"

#include "common/CardFixture.h"
#include "common/ListBox.h"
#include "common/ModalProbe.h"
#include "common/UserInput.h"
#include "records/SupplierRecord.h"
#include "suppliers/Fornitori.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = Messages::Kind;

namespace {

Record supplier(const QString &ditta, const QString &ricontatta, const QString &questioni = {},
    const QString &note = {})
{
    using namespace SupplierRecord;
    Record r(layout());
    r.setValue(Ditta, ditta);
    r.setValue(Titolare, u"Titolare "_s + ditta);
    r.setValue(Recapito, u"02 123"_s);
    r.setValue(Questioni, questioni);
    r.setValue(Ricontatta, ricontatta);
    r.setValue(Note, note);
    return r;
}

// The card of the suppliers, resident and shown, with its archive.
class ListFixture : public CardFixture<TfrmFornitori>
{
public:
    QListView *box(TfrmRicontattaFor &list) const { return ListBox::of(&list); }
    void doubleClick(TfrmRicontattaFor &list, int row) const
    {
        ListBox::doubleClick(box(list), row);
    }
};

} // namespace

class TestRicontattaFor : public QObject
{
    Q_OBJECT
private slots:
    void screen();
    void listsTheMarkedSuppliers();
    void emptyList();
    void missingArchive();
    void printsTheLines();
    void doubleClickShowsTheSupplier();
    void doubleClickTakesTheLastEqualLine();
    void doubleClickWithoutSelection();
    void readsTheFileNotTheCard();
};

void TestRicontattaFor::screen()
{
    ListFixture f;
    QVERIFY(f.ready());
    TfrmRicontattaFor list(&f.card);
    list.show();
    QCOMPARE(list.objectName(), u"TfrmRicontattaFor"_s);
    QCOMPARE(list.windowTitle(), u" Riepilogo Fornitori da ricontattare"_s);
    QCOMPARE(list.size(), ListScreen::kListSize);
    QVERIFY(!(list.windowFlags() & Qt::WindowCloseButtonHint));
    const struct
    {
        const char *name;
        const char16_t *text;
    } labels[] = {
        { "lblRigo01",
            u"Immettere una o più parole consecutive presenti nella scheda in elenco da cercare "
            u"e premere il pulsante Trova." },
        { "lblRigo02",
            u"Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare "
            u"di nuovo clic su Trova." },
        { "lblRigo03", u"Per richiamare i dati di una scheda, selezionarla con un doppio clic." },
    };
    for (const auto &l : labels) {
        auto *label = list.findChild<QLabel *>(QString::fromLatin1(l.name));
        QVERIFY2(label, l.name);
        QCOMPARE(label->text(), QString::fromUtf16(l.text));
    }
    QVERIFY(!list.findChild<QLabel *>(u"imgLogo"_s)->pixmap().isNull());
    QCOMPARE(list.findChild<QPushButton *>(u"btnTrova"_s)->text(), u"Trova"_s);
    QCOMPARE(list.findChild<QPushButton *>(u"btnStampa"_s)->text(), u"Stampa"_s);
    QCOMPARE(list.findChild<QPushButton *>(u"btnChiudi"_s)->text(), u"Chiudi"_s);
    auto *find = list.findChild<QLineEdit *>(u"txtTrova"_s);
    QVERIFY(find->font().bold());
    QCOMPARE(find->font().pointSize(), 12);
    QCOMPARE(list.focusWidget(), find);
    // Chiudi closes the list.
    QTest::mouseClick(list.findChild<QPushButton *>(u"btnChiudi"_s), Qt::LeftButton);
    QVERIFY(!list.isVisible());
}

void TestRicontattaFor::listsTheMarkedSuppliers()
{
    ListFixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords(
        { supplier(u"Verdi"_s, u"Sì"_s, u"Reso"_s), supplier(u"Neri"_s, u"No"_s, u"Vecchia"_s),
            supplier(u"Gialli"_s, QString()), supplier(u"azzurri"_s, u"Sì"_s) }));
    TfrmRicontattaFor list(&f.card);
    list.show();
    const QStringList expected = {
        u"azzurri"_s.leftJustified(30) + u"  "_s + u"Titolare azzurri"_s.leftJustified(30)
            + u"  Tel. "_s + u"02 123"_s.leftJustified(20) + u"  "_s,
        u"Verdi"_s.leftJustified(30) + u"  "_s + u"Titolare Verdi"_s.leftJustified(30)
            + u"  Tel. "_s + u"02 123"_s.leftJustified(20) + u"  Reso"_s,
    };
    QCOMPARE(list.lines().toStringList(), expected);
    QCOMPARE(ListBox::texts(f.box(list)), expected);
    QCOMPARE(list.selectedRow(), -1);

    // Trova selects the line with the word, in any case.
    typeText(list.findChild<QLineEdit *>(u"txtTrova"_s), u"RESO"_s);
    QTest::mouseClick(list.findChild<QPushButton *>(u"btnTrova"_s), Qt::LeftButton);
    QCOMPARE(list.selectedRow(), 1);
    QCOMPARE(f.messages.count(), 0);
}

void TestRicontattaFor::emptyList()
{
    ListFixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ supplier(u"Neri"_s, u"No"_s) }));
    TfrmRicontattaFor list(&f.card);
    list.show();
    QVERIFY(list.lines().isEmpty());
    QTest::mouseClick(list.findChild<QPushButton *>(u"btnTrova"_s), Qt::LeftButton);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Kind::Plain);
    QCOMPARE(
        f.messages.lastText(), u"Ricerca non applicabile: la lista non contiene nessuna voce."_s);
}

void TestRicontattaFor::missingArchive()
{
    ListFixture f;
    QVERIFY(f.ready());
    TfrmRicontattaFor list(&f.card);
    list.show();
    QVERIFY(list.lines().isEmpty());
    QCOMPARE(f.messages.count(), 0);
    QVERIFY(QFile::exists(f.folder.filePath(u"Fornitori.mrv"_s)));
}

void TestRicontattaFor::printsTheLines()
{
    ListFixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ supplier(u"B"_s, u"Sì"_s), supplier(u"A"_s, u"Sì"_s) }));
    QString title;
    QStringList printed;
    QStringList extra = { u"<none>"_s };
    ListScreen::setPrintHandler(
        [&](QWidget *, const QString &t, const QStringList &lines, const QStringList &extraLines) {
            title = t;
            printed = lines;
            extra = extraLines;
        });
    TfrmRicontattaFor list(&f.card);
    list.show();
    QTest::mouseClick(list.findChild<QPushButton *>(u"btnStampa"_s), Qt::LeftButton);
    ListScreen::setPrintHandler({});
    QCOMPARE(title, u"Riepilogo Fornitori da ricontattare"_s);
    QCOMPARE(printed, list.lines().toStringList());
    QVERIFY(printed.first().startsWith(u"A "_s));
    QCOMPARE(extra, QStringList());
    QCOMPARE(f.messages.count(), 0);
}

void TestRicontattaFor::doubleClickShowsTheSupplier()
{
    ListFixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ supplier(u"Primo"_s, u"No"_s), supplier(u"Zeta"_s, u"Sì"_s),
        supplier(u"Alfa"_s, u"Sì"_s, u"Q"_s, u"nota di Alfa"_s) }));
    TfrmRicontattaFor list(&f.card);
    list.show();
    f.doubleClick(list, 0);
    QVERIFY(!list.isVisible());
    QCOMPARE(f.text(u"txtDitta"_s), u"Alfa"_s);
    QCOMPARE(f.text(u"txtNote"_s), u"nota di Alfa"_s);
    QVERIFY(f.find<QCheckBox>(u"chkRicontatta"_s)->isChecked());
    QCOMPARE(f.text(u"lblPosizione"_s), u"3"_s);

    // Unmarked and saved, the supplier is no longer listed.
    f.find<QCheckBox>(u"chkRicontatta"_s)->setChecked(false);
    f.click(u"cmdSalva"_s);
    TfrmRicontattaFor again(&f.card);
    again.show();
    QCOMPARE(again.lines().size(), 1);
    QVERIFY(again.lines().first().startsWith(u"Zeta"_s));
    QCOMPARE(f.records().size(), 3);
}

// Two records with the same line: the card shows the later one, whatever the flags of the
// records between.
void TestRicontattaFor::doubleClickTakesTheLastEqualLine()
{
    ListFixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ supplier(u"Gemello"_s, u"Sì"_s, u"Q"_s, u"primo"_s),
        supplier(u"Altro"_s, u"No"_s), supplier(u"Gemello"_s, u"Sì"_s, u"Q"_s, u"secondo"_s) }));
    TfrmRicontattaFor list(&f.card);
    list.show();
    QCOMPARE(list.lines().size(), 2);
    f.doubleClick(list, 1);
    QCOMPARE(f.text(u"txtNote"_s), u"secondo"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"3"_s);
}

void TestRicontattaFor::doubleClickWithoutSelection()
{
    ListFixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ supplier(u"Unico"_s, u"Sì"_s) }));
    f.edit(u"txtDitta"_s)->setText(u"sulla scheda"_s);
    TfrmRicontattaFor list(&f.card);
    list.show();
    QListView *box = f.box(list);
    QTest::mouseDClick(
        box->viewport(), Qt::LeftButton, {}, QPoint(10, box->viewport()->height() - 5));
    QVERIFY(!list.isVisible());
    QCOMPARE(f.text(u"txtDitta"_s), u"sulla scheda"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), QString());
    QCOMPARE(f.messages.count(), 0);
}

// Marking a supplier on the card without saving does not list it.
void TestRicontattaFor::readsTheFileNotTheCard()
{
    ListFixture f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ supplier(u"Rossi"_s, u"No"_s) }));
    f.click(u"cmdPrimo"_s);
    f.find<QCheckBox>(u"chkRicontatta"_s)->setChecked(true);
    QStringList lines = { u"<none>"_s };
    onNextModal([&](QWidget *modal) {
        if (auto *list = qobject_cast<TfrmRicontattaFor *>(modal))
            lines = list->lines().toStringList();
    });
    f.click(u"cmdRicontatta"_s);
    QCOMPARE(lines, QStringList());
}

QTEST_MAIN(TestRicontattaFor)
#include "tst_ricontattafor.moc"
