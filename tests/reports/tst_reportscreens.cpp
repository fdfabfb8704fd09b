#include "app/Screens.h"
#include "catalogue/Magazzino.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/MenuRiepilogo.h"
#include "reports/MenuRiepilogoCarico.h"
#include "reports/MenuRiepilogoScarico.h"
#include "reports/Sottoscorta.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include "common/ListBox.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/TempProgramFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// What a list screen showed while it was open, taken before it is closed.
struct Seen
{
    QString screen;
    QStringList lines;
    QHash<QString, QString> labels;
    bool waitNoticeShown = false;
    QList<MessageRecorder::Shown> messages;
    QString printTitle;
    QStringList printLines, printExtra;
    int printed = 0;
};

// Runs click() (which opens a list screen modally) and, once the list is open, records what
// it shows, runs during() on it and closes it.
Seen openList(QWidget *selection, const std::function<void()> &click, const QStringList &labelNames,
    const std::function<void(ListScreen *)> &during = {})
{
    Seen seen;
    ListScreen::setPrintHandler([&seen](QWidget *, const QString &title, const QStringList &lines,
                                    const QStringList &extra) {
        seen.printTitle = title;
        seen.printLines = lines;
        seen.printExtra = extra;
        ++seen.printed;
    });
    onNextModal([&](QWidget *modal) {
        auto *list = qobject_cast<ListScreen *>(modal);
        if (!list)
            return;
        seen.screen = list->objectName();
        seen.lines = list->lines().toStringList();
        for (const QString &name : labelNames) {
            if (auto *label = list->findChild<QLabel *>(name))
                seen.labels.insert(name, label->text());
        }
        if (auto *notice = selection->findChild<QLabel *>(u"lblAttendere"_s))
            seen.waitNoticeShown = notice->isVisible();
        if (during)
            during(list);
        list->close();
    });
    click();
    ListScreen::setPrintHandler({});
    return seen;
}

void appendProduct(RecordFile &file, const QHash<int, QString> &values)
{
    Record r(ProductRecord::layout());
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        r.setValue(it.key(), it.value());
    QVERIFY(file.append(r));
}

void appendMovement(
    RecordFile &file, const QString &date, const QString &code, const QString &quantity = u"1"_s)
{
    Record r(MovementRecord::layout());
    r.setValue(MovementRecord::Data, date);
    r.setValue(MovementRecord::Ora, u"09:00:00"_s);
    r.setValue(MovementRecord::Codice, code);
    r.setValue(MovementRecord::Marca, u"Marca"_s);
    r.setValue(MovementRecord::Quantita, quantity);
    r.setValue(MovementRecord::Importo, u"3,50"_s);
    QVERIFY(file.append(r));
}

template <typename T> T *child(QWidget *screen, const char *name)
{
    T *w = screen->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qWarning("missing control %s", name);
    return w;
}

void clickButton(QWidget *screen, const char *name)
{
    QTest::mouseClick(child<QPushButton>(screen, name), Qt::LeftButton);
}

// Picks a value from a drop-down box the way a user does: from its list.
void choose(QWidget *screen, const char *box, const QString &text)
{
    auto *combo = child<QComboBox>(screen, box);
    combo->setCurrentIndex(combo->findText(text));
}

void typeYear(QWidget *screen, const QString &year)
{
    auto *edit = child<QLineEdit>(screen, "txtAnno");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, year);
}

void chooseInterval(QWidget *screen, const QStringList &choice)
{
    const char *boxes[] = { "txtGiornoInizio", "txtMeseInizio", "txtGiornoFine", "txtMeseFine" };
    for (int i = 0; i < 4; ++i)
        choose(screen, boxes[i], choice.value(i));
}

} // namespace

class TestReportScreens : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void inventoryTotals_data();
    void inventoryTotals();
    void inventoryFindOnEmptyListIsInformation();
    void inventorySelectionResetsOnEveryShowing();
    void unreadableArchiveIsSaid();
    void readOnlyArchiveIsListed();

    void underStockListAndFind();
    void underStockDoubleClickLoadsTheLaterRecord();
    void underStockDoubleClickWithoutSelection();
    void underStockOpensFromTheCard();

    void summaryOneDayInterval();
    void summaryYearWithoutFileLeavesEmptyFile();
    void summaryCodeFilterAndUnloadLine();
    void summaryStopsAtAnUnreadableDate();
    void summaryPrinting();
    void selectionMessages_data();
    void selectionMessages();
    void selectionReversedIntervalKeepsFocus();
    void selectionInaccessibleFile();
    void selectionExportChecksTheYear();
    void selectionBoxesAcceptNoTyping();
    void selectionEnterOrder();
    void selectionResetsOnEveryShowing();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

void TestReportScreens::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    Clock::setFixed(QDateTime(QDate(2021, 6, 15), QTime(10, 0)));
}

void TestReportScreens::cleanup()
{
    Clock::reset();
    m_folder.reset();
}

void TestReportScreens::inventoryTotals_data()
{
    // Each product: code|type|value. Lines are expected in code order.
    QTest::addColumn<QStringList>("products");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("title");

    const QString all = u"Tutti gli articoli in magazzino."_s;
    const QString none = u"Il presente inventario contiene 0 articoli."_s;
    QTest::newRow("empty archive")
        << QStringList {} << QString() << QStringList {} << u"€ 0,00"_s << none << all;
    QTest::newRow("three values, sorted by code")
        << QStringList { u"b|Gomme|10,50"_s, u"C|x|100"_s, u"a|Gomme|0,25"_s } << QString()
        << QStringList { u"a"_s, u"b"_s, u"C"_s } << u"€ 110,75"_s
        << u"Il presente inventario contiene 3 articoli."_s << all;
    QTest::newRow("binary noise rounded away")
        << QStringList { u"x|t|0,1"_s, u"y|t|0,2"_s } << QString() << QStringList { u"x"_s, u"y"_s }
        << u"€ 0,30"_s << u"Il presente inventario contiene 2 articoli."_s << all;
    QTest::newRow("type filter ignores A-Z case")
        << QStringList { u"1|Gomme|1"_s, u"2|GOMME INVERNALI|2"_s, u"3|Ricambi gomma|4"_s,
               u"4|Cerchi|8"_s, u"5||16"_s }
        << u"gomm"_s << QStringList { u"1"_s, u"2"_s, u"3"_s } << u"€ 7,00"_s
        << u"Il presente inventario contiene 3 articoli."_s << u"gomm"_s;
    QTest::newRow("filter is not trimmed for the match")
        << QStringList { u"1|Gomme|1"_s, u"3|Ricambi gomma|4"_s } << u" gomm"_s
        << QStringList { u"3"_s } << u"€ 4,00"_s << u"Il presente inventario contiene 1 articoli."_s
        << u"gomm"_s;
    QTest::newRow("no product has a type")
        << QStringList { u"1||1"_s } << u"gomm"_s << QStringList {} << u"€ 0,00"_s << none << all;
    QTest::newRow("unreadable value ends the filling")
        << QStringList { u"a|t|5"_s, u"b|t|abc"_s, u"c|t|7"_s } << QString()
        << QStringList { u"a"_s } << u"5"_s << none << all;
    QTest::newRow("unreadable value of an unlisted product is not read")
        << QStringList { u"a|t|5"_s, u"b|x|abc"_s } << u"t"_s << QStringList { u"a"_s }
        << u"€ 5,00"_s << u"Il presente inventario contiene 1 articoli."_s << u"t"_s;
}

void TestReportScreens::inventoryTotals()
{
    QFETCH(QStringList, products);
    QFETCH(QString, filter);
    QFETCH(QStringList, codes);
    QFETCH(QString, total);
    QFETCH(QString, info);
    QFETCH(QString, title);

    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        for (const QString &p : products) {
            const QStringList f = p.split(u'|');
            appendProduct(file,
                { { ProductRecord::Codice, f[0] }, { ProductRecord::Tipologia, f[1] },
                    { ProductRecord::Valore, f[2] } });
        }
    }

    TfrmMenuRiepilogo menu;
    menu.show();
    auto *type = child<QLineEdit>(&menu, "txtTipologia");
    for (const QChar ch : filter)
        QTest::keyClick(type, ch.toLatin1());
    QCOMPARE(type->text(), filter);

    const Seen seen = openList(
        &menu, [&] { clickButton(&menu, "btnVisualizza"); },
        { u"lblTotale"_s, u"panInfo"_s, u"titTipologia"_s },
        [](ListScreen *list) {
            QTest::mouseClick(child<QPushButton>(list, "btnStampa"), Qt::LeftButton);
        });

    QCOMPARE(seen.screen, u"TfrmRiepilogo"_s);
    QVERIFY(seen.waitNoticeShown);
    QVERIFY(!child<QLabel>(&menu, "lblAttendere")->isVisible());
    QCOMPARE(seen.lines.size(), codes.size());
    for (int i = 0; i < codes.size(); ++i)
        QCOMPARE(seen.lines[i].left(30).trimmed(), codes[i]);
    QCOMPARE(seen.labels.value(u"lblTotale"_s), total);
    QCOMPARE(seen.labels.value(u"panInfo"_s), info);
    QCOMPARE(seen.labels.value(u"titTipologia"_s), title);

    // The print: the lines, 26 hyphens and the total as shown.
    QCOMPARE(seen.printed, 1);
    QCOMPARE(seen.printTitle, u"Inventario merce - Tipologia: "_s + title);
    QCOMPARE(seen.printLines, seen.lines);
    QCOMPARE(seen.printExtra,
        (QStringList { u"--------------------------"_s, u"VALORE TOTALE: "_s + total }));
}

void TestReportScreens::inventoryFindOnEmptyListIsInformation()
{
    TfrmMenuRiepilogo menu;
    menu.show();
    MessageRecorder messages;
    bool stillOpen = false;
    const Seen seen = openList(
        &menu, [&] { clickButton(&menu, "btnVisualizza"); }, {},
        [&](ListScreen *list) {
            // Enter in the inventory's find box neither searches nor presses a button.
            QTest::keyClick(child<QLineEdit>(list, "txtTrova"), Qt::Key_Return);
            stillOpen = list->isVisible() && messages.count() == 0;
            QTest::mouseClick(child<QPushButton>(list, "btnTrova"), Qt::LeftButton);
        });
    QVERIFY(stillOpen);
    QCOMPARE(seen.printed, 0);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Information);
    QCOMPARE(
        messages.lastText(), u"Ricerca non applicabile: la lista non contiene nessuna voce."_s);
}

void TestReportScreens::inventorySelectionResetsOnEveryShowing()
{
    TfrmMenuRiepilogo menu;
    for (int i = 0; i < 3; ++i) {
        menu.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu));
        auto *type = child<QLineEdit>(&menu, "txtTipologia");
        QCOMPARE(type->text(), QString());
        QCOMPARE(QApplication::focusWidget(), type);
        QTest::keyClicks(type, "gomme");
        QTest::mouseClick(child<QAbstractButton>(&menu, "imgEsci"), Qt::LeftButton);
        QVERIFY(!menu.isVisible());
    }
}

void TestReportScreens::unreadableArchiveIsSaid()
{
    // A folder where the archive should be: it cannot be opened, the lists say so with the
    // access message instead of showing an empty list, and nothing crashes.
    QVERIFY(QDir(m_folder->path()).mkdir(QString::fromLatin1(ProductRecord::kFileName)));
    MessageRecorder messages;
    TfrmMenuRiepilogo menu;
    menu.show();
    const Seen seen = openList(
        &menu, [&] { clickButton(&menu, "btnVisualizza"); }, { u"lblTotale"_s, u"panInfo"_s });
    QCOMPARE(seen.screen, u"TfrmRiepilogo"_s);
    QVERIFY(seen.lines.isEmpty());
    QCOMPARE(seen.labels.value(u"lblTotale"_s), u"0,00"_s);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QCOMPARE(messages.lastText(), accessErrorText());

    messages.clear();
    TfrmSottoscorta under;
    under.show();
    QVERIFY(under.lines().isEmpty());
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastText(), accessErrorText());
}

void TestReportScreens::readOnlyArchiveIsListed()
{
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        appendProduct(file,
            { { ProductRecord::Codice, u"A1"_s }, { ProductRecord::Tipologia, u"Gomme"_s },
                { ProductRecord::Valore, u"10,00"_s }, { ProductRecord::Giacenza, u"1"_s },
                { ProductRecord::Sottoscorta, u"2"_s } });
        appendProduct(file,
            { { ProductRecord::Codice, u"B2"_s }, { ProductRecord::Valore, u"5,00"_s },
                { ProductRecord::Giacenza, u"9"_s }, { ProductRecord::Sottoscorta, u"2"_s } });
    }
    // An archive that may only be read (a read-only share, a locked USB stick): the
    // storage layer's seam refuses every open for writing, as such a share does.
    RecordFile::setFaultHook([](RecordFile::IoStep step) {
        return step == RecordFile::IoStep::OpenForWriting ? RecordFile::IoFault::Fail
                                                          : RecordFile::IoFault::None;
    });
    MessageRecorder messages;
    TfrmMenuRiepilogo menu;
    menu.show();
    const Seen seen = openList(
        &menu, [&] { clickButton(&menu, "btnVisualizza"); }, { u"lblTotale"_s, u"panInfo"_s });
    TfrmSottoscorta under;
    under.show();
    const QStringList underLines = under.lines().toStringList();
    RecordFile writer;
    const bool writable = writer.open(ProductRecord::archive());
    RecordFile::setFaultHook({});
    QVERIFY(!writable);
    QCOMPARE(seen.lines.size(), 2);
    QCOMPARE(seen.labels.value(u"lblTotale"_s), u"€ 15,00"_s);
    QCOMPARE(seen.labels.value(u"panInfo"_s), u"Il presente inventario contiene 2 articoli."_s);
    QCOMPARE(underLines.size(), 1);
    QVERIFY(underLines.first().startsWith(u"A1"_s));
    QCOMPARE(messages.count(), 0);
}

void TestReportScreens::underStockListAndFind()
{
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        appendProduct(file,
            { { ProductRecord::Codice, u"zz-1"_s }, { ProductRecord::Giacenza, u"1"_s },
                { ProductRecord::Sottoscorta, u"2"_s }, { ProductRecord::Note, u"ABC"_s } });
        appendProduct(file,
            { { ProductRecord::Codice, u"ok"_s }, { ProductRecord::Giacenza, u"3"_s },
                { ProductRecord::Sottoscorta, u"2"_s } });
        appendProduct(file,
            { { ProductRecord::Codice, u"AA-1"_s }, { ProductRecord::Giacenza, u"2"_s },
                { ProductRecord::Sottoscorta, u"2,5"_s } });
        appendProduct(file,
            { { ProductRecord::Codice, u"mm"_s }, { ProductRecord::Giacenza, u"2"_s },
                { ProductRecord::Sottoscorta, u"2"_s }, { ProductRecord::Note, u"abc"_s } });
    }
    TfrmSottoscorta list;
    list.show();
    QVERIFY(QTest::qWaitForWindowActive(&list));
    auto *box = ListBox::of(&list);
    QCOMPARE(ListBox::count(box), 3);
    QVERIFY(ListBox::text(box, 0).startsWith(u"AA-1 "));
    QVERIFY(ListBox::text(box, 1).startsWith(u"mm "));
    QVERIFY(ListBox::text(box, 2).startsWith(u"zz-1 "));
    QVERIFY(ListBox::text(box, 2).endsWith(u"  Note: ABC"));
    QCOMPARE(list.selectedRow(), -1);
    QCOMPARE(box->font().family(), u"Courier New"_s);
    QCOMPARE(box->font().pointSize(), 11);

    // Enter in the find box moves to Trova without searching.
    auto *find = child<QLineEdit>(&list, "txtTrova");
    QCOMPARE(QApplication::focusWidget(), find);
    QTest::keyClicks(find, "abc");
    QTest::keyClick(find, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), child<QPushButton>(&list, "btnTrova"));
    QCOMPARE(list.selectedRow(), -1);
    for (int expected : { 1, 2, 1 }) {
        clickButton(&list, "btnTrova");
        QCOMPARE(list.selectedRow(), expected);
    }

    // Printing asks nothing and has no extra lines.
    QString title;
    QStringList extra = { u"x"_s };
    ListScreen::setPrintHandler(
        [&](QWidget *, const QString &t, const QStringList &, const QStringList &e) {
            title = t;
            extra = e;
        });
    clickButton(&list, "btnStampa");
    ListScreen::setPrintHandler({});
    QCOMPARE(title, u"Materiali in esaurimento"_s);
    QVERIFY(extra.isEmpty());
}

void TestReportScreens::underStockDoubleClickLoadsTheLaterRecord()
{
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        // Records 2 and 3 give the same line; they differ in fields the line does not show.
        appendProduct(file,
            { { ProductRecord::Codice, u"A"_s }, { ProductRecord::Giacenza, u"0"_s },
                { ProductRecord::Sottoscorta, u"0"_s } });
        for (const char16_t *place : { u"scaffale 1", u"scaffale 2" })
            appendProduct(file,
                { { ProductRecord::Codice, u"TWIN"_s }, { ProductRecord::Marca, u"Marca"_s },
                    { ProductRecord::Giacenza, u"1"_s }, { ProductRecord::Sottoscorta, u"3"_s },
                    { ProductRecord::Collocazione, QString::fromUtf16(place) } });
        // Not under stock, so not listed, but its line equals the twins': it is taken
        // too, being later in the file.
        appendProduct(file,
            { { ProductRecord::Codice, u"B"_s }, { ProductRecord::Giacenza, u"5"_s },
                { ProductRecord::Sottoscorta, u"1"_s } });
    }
    TfrmMagazzino card;
    Screens::registerResident(&card);
    card.show();

    for (int row : { 1, 2 }) {
        TfrmSottoscorta list(&card);
        list.show();
        auto *box = ListBox::of(&list);
        QCOMPARE(ListBox::count(box), 3);
        ListBox::doubleClick(box, row);
        QVERIFY(!list.isVisible());
        QCOMPARE(card.fieldText(u"Codice"_s), u"TWIN"_s);
        QCOMPARE(card.fieldText(u"Collocazione"_s), u"scaffale 2"_s);
        QCOMPARE(child<QLabel>(&card, "lblPosizione")->text(), u"3"_s);
        card.cmdNuovoClick();
    }
    Screens::unregisterResident(&card);
}

void TestReportScreens::underStockDoubleClickWithoutSelection()
{
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        appendProduct(file,
            { { ProductRecord::Codice, u"A"_s }, { ProductRecord::Giacenza, u"0"_s },
                { ProductRecord::Sottoscorta, u"0"_s } });
    }
    TfrmMagazzino card;
    Screens::registerResident(&card);
    card.show();
    TfrmSottoscorta list(&card);
    list.show();
    auto *box = ListBox::of(&list);
    // A double-click below the last line with nothing selected closes the list and leaves
    // the card as it was.
    QTest::mouseDClick(
        box->viewport(), Qt::LeftButton, {}, QPoint(10, box->viewport()->height() - 5));
    QVERIFY(!list.isVisible());
    QCOMPARE(card.fieldText(u"Codice"_s), QString());
    QCOMPARE(child<QLabel>(&card, "lblPosizione")->text(), QString());
    Screens::unregisterResident(&card);
}

void TestReportScreens::underStockOpensFromTheCard()
{
    {
        RecordFile file;
        QVERIFY(file.open(ProductRecord::archive()));
        appendProduct(file,
            { { ProductRecord::Codice, u"OK"_s }, { ProductRecord::Giacenza, u"9"_s },
                { ProductRecord::Sottoscorta, u"1"_s } });
        appendProduct(file,
            { { ProductRecord::Codice, u"LOW"_s }, { ProductRecord::Giacenza, u"1"_s },
                { ProductRecord::Sottoscorta, u"1"_s } });
    }
    TfrmMagazzino card;
    Screens::registerResident(&card);
    card.show();
    QString opened;
    QStringList lines;
    onNextModal([&](QWidget *modal) {
        auto *list = qobject_cast<ListScreen *>(modal);
        if (!list)
            return;
        opened = list->objectName();
        lines = list->lines().toStringList();
        ListBox::doubleClick(ListBox::of(list), 0);
        if (list->isVisible())
            list->close();
    });
    QTest::mouseClick(child<QAbstractButton>(&card, "cmdSottoscorta"), Qt::LeftButton);
    Screens::unregisterResident(&card);
    QCOMPARE(opened, u"TfrmSottoscorta"_s);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(card.fieldText(u"Codice"_s), u"LOW"_s);
    QCOMPARE(child<QLabel>(&card, "lblPosizione")->text(), u"2"_s);
}

void TestReportScreens::summaryOneDayInterval()
{
    {
        RecordFile file;
        QVERIFY(file.open(MovementRecord::archiveNamed(u"Carico_2021.mrv"_s)));
        appendMovement(file, u"04/03/2021"_s, u"A1"_s);
        appendMovement(file, u"05/03/2021"_s, u"B2"_s);
        appendMovement(file, u"06/03/2021"_s, u"C3"_s);
        appendMovement(file, u"05/03/2021"_s, u"A1"_s, u"3"_s);
    }
    TfrmMenuRiepilogoCarico menu;
    menu.show();
    typeYear(&menu, u"2021"_s);
    chooseInterval(&menu, { u"05"_s, u"Marzo"_s, u"05"_s, u"Marzo"_s });
    const Seen seen = openList(&menu, [&] { clickButton(&menu, "btnVisualizza"); },
        { u"lblTotCosti"_s, u"lblIntervallo"_s, u"titTipologia"_s });
    QCOMPARE(seen.screen, u"TfrmRiepilogoCarico"_s);
    QVERIFY(seen.waitNoticeShown);
    QCOMPARE(seen.lines.size(), 2);
    QVERIFY(seen.lines[0].startsWith(u"Data: 05/03/2021  Cod. art. B2  "));
    QVERIFY(seen.lines[1].startsWith(u"Data: 05/03/2021  Cod. art. A1  "));
    QVERIFY(seen.lines[1].contains(u"  Pezzi: +3           Costo: € 3,50"));
    QCOMPARE(seen.labels.value(u"lblTotCosti"_s), u"2"_s);
    QCOMPARE(seen.labels.value(u"lblIntervallo"_s), u"Dal   05/03/2021   al   05/03/2021"_s);
    QCOMPARE(seen.labels.value(u"titTipologia"_s), u"Tutti gli articoli"_s);
    QCOMPARE(child<QLabel>(&menu, "lblFile")->text(), m_folder->filePath(u"Carico_2021.mrv"_s));
    QCOMPARE(child<QLabel>(&menu, "lblDataInizio")->text(), u"05/03/2021"_s);
    QVERIFY(!child<QLabel>(&menu, "lblAttendere")->isVisible());
}

void TestReportScreens::summaryYearWithoutFileLeavesEmptyFile()
{
    TfrmMenuRiepilogoCarico menu;
    menu.show();
    typeYear(&menu, u"2019"_s);
    chooseInterval(&menu, { u"01"_s, u"Gennaio"_s, u"31"_s, u"Dicembre"_s });
    const QString path = m_folder->filePath(u"Carico_2019.mrv"_s);
    QVERIFY(!QFileInfo::exists(path));
    MessageRecorder messages;
    const Seen seen = openList(
        &menu, [&] { clickButton(&menu, "btnVisualizza"); },
        { u"lblTotCosti"_s, u"titTipologia"_s, u"lblIntervallo"_s },
        [](ListScreen *list) {
            QTest::mouseClick(child<QPushButton>(list, "btnTrova"), Qt::LeftButton);
        });
    QCOMPARE(seen.screen, u"TfrmRiepilogoCarico"_s);
    QVERIFY(seen.lines.isEmpty());
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Plain);
    QCOMPARE(
        messages.lastText(), u"Ricerca non applicabile: la lista non contiene nessuna voce."_s);
    QCOMPARE(seen.labels.value(u"lblTotCosti"_s), u"0"_s);
    QCOMPARE(seen.labels.value(u"titTipologia"_s), u"- - -"_s);
    QCOMPARE(seen.labels.value(u"lblIntervallo"_s), u"Dal   01/01/2019   al   31/12/2019"_s);
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestReportScreens::summaryCodeFilterAndUnloadLine()
{
    {
        RecordFile file;
        QVERIFY(file.open(MovementRecord::archiveNamed(u"Scarico_2021.mrv"_s)));
        appendMovement(file, u"02/02/2021"_s, u"AB-1"_s, u"7"_s);
        appendMovement(file, u"03/02/2021"_s, QString());
        appendMovement(file, u"04/02/2021"_s, u"xab"_s);
        appendMovement(file, u"05/02/2021"_s, u"zz"_s);
    }
    TfrmMenuRiepilogoScarico menu;
    menu.show();
    typeYear(&menu, u"2021"_s);
    QTest::keyClicks(child<QLineEdit>(&menu, "txtTipologia"), "ab");
    chooseInterval(&menu, { u"01"_s, u"Febbraio"_s, u"28"_s, u"Febbraio"_s });
    const Seen seen = openList(&menu, [&] { clickButton(&menu, "btnVisualizza"); },
        { u"lblTotCosti"_s, u"titTipologia"_s });
    QCOMPARE(seen.screen, u"TfrmRiepilogoScarico"_s);
    QCOMPARE(seen.lines.size(), 2);
    QVERIFY(seen.lines[0].contains(u"  Pezzi: -7           Prezzo: € 3,50"));
    QVERIFY(seen.lines[1].contains(u"Cod. art. xab "));
    QCOMPARE(seen.labels.value(u"lblTotCosti"_s), u"2"_s);
    QCOMPARE(seen.labels.value(u"titTipologia"_s), u"ab"_s);
}

void TestReportScreens::summaryStopsAtAnUnreadableDate()
{
    {
        RecordFile file;
        QVERIFY(file.open(MovementRecord::archiveNamed(u"Carico_2021.mrv"_s)));
        appendMovement(file, u"05/03/2021"_s, u"A"_s);
        appendMovement(file, u"31/02/2021"_s, u"B"_s);
        appendMovement(file, u"06/03/2021"_s, u"C"_s);
    }
    TfrmMenuRiepilogoCarico menu;
    menu.show();
    typeYear(&menu, u"2021"_s);
    chooseInterval(&menu, { u"01"_s, u"Marzo"_s, u"31"_s, u"Marzo"_s });
    const Seen seen = openList(&menu, [&] { clickButton(&menu, "btnVisualizza"); },
        { u"lblTotCosti"_s, u"lblIntervallo"_s });
    QCOMPARE(seen.lines.size(), 1);
    QCOMPARE(seen.labels.value(u"lblTotCosti"_s), u"0"_s);
    QCOMPARE(seen.labels.value(u"lblIntervallo"_s), u"Dal gg/mm/aaaa al gg/mm/aaaa"_s);
}

void TestReportScreens::summaryPrinting()
{
    {
        RecordFile file;
        QVERIFY(file.open(MovementRecord::archiveNamed(u"Carico_2021.mrv"_s)));
        appendMovement(file, u"05/03/2021"_s, u"A"_s);
    }
    TfrmMenuRiepilogoCarico menu;
    menu.show();
    typeYear(&menu, u"2021"_s);

    // An empty summary: the warning and no print.
    chooseInterval(&menu, { u"01"_s, u"Aprile"_s, u"30"_s, u"Aprile"_s });
    {
        MessageRecorder messages;
        const Seen seen = openList(
            &menu, [&] { clickButton(&menu, "btnVisualizza"); }, {},
            [](ListScreen *list) {
                QTest::mouseClick(child<QPushButton>(list, "btnStampa"), Qt::LeftButton);
            });
        QCOMPARE(seen.printed, 0);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
        QCOMPARE(messages.lastText(),
            u"Operazione di stampa non applicabile: il riepilogo non "
            u"contiene nessuna voce."_s);
    }

    chooseInterval(&menu, { u"01"_s, u"Marzo"_s, u"31"_s, u"Marzo"_s });
    for (const auto answer : { Messages::Answer::No, Messages::Answer::Yes }) {
        MessageRecorder messages;
        messages.answers = { answer };
        const Seen seen = openList(
            &menu, [&] { clickButton(&menu, "btnVisualizza"); }, {},
            [](ListScreen *list) {
                QTest::mouseClick(child<QPushButton>(list, "btnStampa"), Qt::LeftButton);
            });
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.lastKind(), Messages::Kind::Confirmation);
        QCOMPARE(messages.lastText(), u"Si vuole stampare il presente riepilogo?"_s);
        QCOMPARE(seen.printed, answer == Messages::Answer::Yes ? 1 : 0);
        if (seen.printed) {
            QCOMPARE(seen.printTitle,
                u"Movimenti di carico merce - Codice articolo: Tutti gli articoli"_s);
            QCOMPARE(seen.printLines, seen.lines);
            QCOMPARE(seen.printExtra,
                (QStringList { u"- - - - - - - - - - - - - - - -"_s,
                    u"INTERVALLO SELEZIONATO:    Dal   01/03/2021   al   31/03/2021"_s,
                    u"TOTALE MOVIMENTI:  1"_s }));
        }
    }
}

void TestReportScreens::selectionMessages_data()
{
    QTest::addColumn<bool>("load");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QStringList>("choice");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("focus");

    const QStringList full = { u"01"_s, u"Marzo"_s, u"31"_s, u"Marzo"_s };
    const int warning = int(Messages::Kind::Warning);
    const int plain = int(Messages::Kind::Plain);
    const QString valid = u"\n\r\n\rPer poter visualizzare il riepilogo è necessario indicare "
                          u"una data valida."_s;
    QTest::newRow("three-digit year")
        << true << u"202"_s << full << warning
        << u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_s << u"txtAnno"_s;
    QTest::newRow("no start day")
        << true << u"2021"_s << QStringList { QString(), u"Marzo"_s, u"31"_s, u"Marzo"_s }
        << warning
        << u"Attenzione: indicare il giorno di inizio intervallo selezionandolo dall'elenco a "
           u"cascata."_s
        << u"txtGiornoInizio"_s;
    QTest::newRow("no start month")
        << false << u"2021"_s << QStringList { u"01"_s, QString(), u"31"_s, u"Marzo"_s } << warning
        << u"Attenzione: indicare il mese di inizio intervallo selezionandolo dall'elenco a "
           u"cascata."_s
        << u"txtMeseInizio"_s;
    QTest::newRow("no end day")
        << true << u"2021"_s << QStringList { u"01"_s, u"Marzo"_s, QString(), u"Marzo"_s }
        << warning
        << u"Attenzione: indicare il giorno di fine intervallo selezionandolo dall'elenco a "
           u"cascata."_s
        << u"txtGiornoFine"_s;
    QTest::newRow("no end month")
        << false << u"2021"_s << QStringList { u"01"_s, u"Marzo"_s, u"31"_s, QString() } << warning
        << u"Attenzione: indicare il mese di fine intervallo selezionandolo dall'elenco a "
           u"cascata."_s
        << u"txtMeseFine"_s;
    QTest::newRow("29 February 2023")
        << true << u"2023"_s << QStringList { u"29"_s, u"Febbraio"_s, u"31"_s, u"Marzo"_s } << plain
        << u"Attenzione: la data 29/02/2023 di inizio intervallo non esiste."_s + valid
        << u"txtGiornoInizio"_s;
    QTest::newRow("31 April") << false << u"2021"_s
                              << QStringList { u"01"_s, u"Aprile"_s, u"31"_s, u"Aprile"_s } << plain
                              << u"Attenzione: la data 31/04/2021 di fine intervallo non esiste."_s
            + valid << u"txtGiornoFine"_s;
    QTest::newRow("year 0000")
        << true << u"0000"_s << full << plain
        << u"Attenzione: la data 01/03/0000 di inizio intervallo non esiste."_s + valid
        << u"txtGiornoInizio"_s;
}

void TestReportScreens::selectionMessages()
{
    QFETCH(bool, load);
    QFETCH(QString, year);
    QFETCH(QStringList, choice);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, focus);

    std::unique_ptr<QWidget> menu;
    if (load)
        menu = std::make_unique<TfrmMenuRiepilogoCarico>();
    else
        menu = std::make_unique<TfrmMenuRiepilogoScarico>();
    menu->show();
    QVERIFY(QTest::qWaitForWindowActive(menu.get()));
    typeYear(menu.get(), year);
    chooseInterval(menu.get(), choice);

    MessageRecorder messages;
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto *list = QApplication::activeModalWidget()) {
            opened = true;
            list->close();
        }
    });
    clickButton(menu.get(), "btnVisualizza");
    QVERIFY(!opened);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(int(messages.lastKind()), kind);
    QCOMPARE(messages.lastText(), text);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QVERIFY(!child<QLabel>(menu.get(), "lblAttendere")->isVisible());
}

void TestReportScreens::selectionReversedIntervalKeepsFocus()
{
    TfrmMenuRiepilogoCarico menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowActive(&menu));
    typeYear(&menu, u"2021"_s);
    chooseInterval(&menu, { u"10"_s, u"Marzo"_s, u"09"_s, u"Marzo"_s });
    child<QLineEdit>(&menu, "txtTipologia")->setFocus();
    MessageRecorder messages;
    child<QPushButton>(&menu, "btnVisualizza")->click();
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Plain);
    QCOMPARE(messages.lastText(),
        u"Attenzione: la data di fine intervallo (09/03/2021) non può essere anteriore a "
        u"quella di inizio intervallo (10/03/2021).\n\r\n\rPer poter visualizzare il "
        u"riepilogo è necessario indicare un intervallo di tempo valido."_s);
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&menu, "txtTipologia"));
}

void TestReportScreens::selectionInaccessibleFile()
{
    // A folder where the yearly file should be: it cannot be opened as a file.
    QVERIFY(QDir(m_folder->path()).mkdir(u"Carico_2021.mrv"_s));
    TfrmMenuRiepilogoCarico menu;
    menu.show();
    typeYear(&menu, u"2021"_s);
    chooseInterval(&menu, { u"01"_s, u"Marzo"_s, u"31"_s, u"Marzo"_s });
    MessageRecorder messages;
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto *list = QApplication::activeModalWidget()) {
            opened = true;
            list->close();
        }
    });
    clickButton(&menu, "btnVisualizza");
    QVERIFY(!opened);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Plain);
    QCOMPARE(messages.lastText(), u"Attenzione: il file di archivio non risulta accessibile."_s);
    QVERIFY(!child<QLabel>(&menu, "lblAttendere")->isVisible());
}

void TestReportScreens::selectionExportChecksTheYear()
{
    TfrmMenuRiepilogoScarico menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowActive(&menu));
    typeYear(&menu, u"202"_s);
    child<QLineEdit>(&menu, "txtTipologia")->setFocus();
    MessageRecorder messages;
    menu.cmdEsportaClick();
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QCOMPARE(
        messages.lastText(), u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_s);
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&menu, "txtAnno"));

    typeYear(&menu, u"2022"_s);
    QString opened;
    onNextModal([&](QWidget *modal) {
        if (auto *exporter = modal) {
            opened = exporter->objectName();
            exporter->close();
        }
    });
    menu.lnkEsportaClick();
    QCOMPARE(messages.count(), 1);
    QCOMPARE(child<QLabel>(&menu, "lblFile")->text(), m_folder->filePath(u"Scarico_2022.mrv"_s));
    QCOMPARE(opened, u"TfrmExpScarico"_s);
}

void TestReportScreens::selectionBoxesAcceptNoTyping()
{
    TfrmMenuRiepilogoCarico menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowActive(&menu));
    for (const char *name :
        { "txtGiornoInizio", "txtMeseInizio", "txtGiornoFine", "txtMeseFine" }) {
        auto *box = child<QComboBox>(&menu, name);
        box->setFocus();
        for (const auto key : { Qt::Key_M, Qt::Key_1, Qt::Key_Down, Qt::Key_End, Qt::Key_Space })
            QTest::keyClick(box, key);
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->currentText(), QString());
    }
    // The year takes digits only, four at most, and shows itself in both date groups.
    auto *year = child<QLineEdit>(&menu, "txtAnno");
    year->setFocus();
    year->selectAll();
    QTest::keyClick(year, Qt::Key_Backspace);
    QTest::keyClicks(year, "2a0-2.45");
    QCOMPARE(year->text(), u"2024"_s);
    QCOMPARE(child<QLabel>(&menu, "lblAnnoInizio")->text(), u"2024"_s);
    QCOMPARE(child<QLabel>(&menu, "lblAnnoFine")->text(), u"2024"_s);
}

void TestReportScreens::selectionEnterOrder()
{
    TfrmMenuRiepilogoCarico menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowActive(&menu));
    const char *order[] = { "txtAnno", "txtTipologia", "txtGiornoInizio", "txtMeseInizio",
        "txtGiornoFine", "txtMeseFine", "btnVisualizza" };
    auto *first = child<QWidget>(&menu, order[0]);
    first->setFocus();
    for (int i = 1; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(order[i]));
    }
    // Enter in a box never chose anything.
    QCOMPARE(child<QComboBox>(&menu, "txtMeseFine")->currentIndex(), -1);
}

void TestReportScreens::selectionResetsOnEveryShowing()
{
    TfrmMenuRiepilogoCarico menu;
    for (int i = 0; i < 3; ++i) {
        menu.show();
        QVERIFY(QTest::qWaitForWindowActive(&menu));
        QCOMPARE(child<QLineEdit>(&menu, "txtAnno")->text(), u"2021"_s);
        QCOMPARE(child<QLabel>(&menu, "lblAnnoInizio")->text(), u"2021"_s);
        QCOMPARE(child<QLabel>(&menu, "lblAnnoFine")->text(), u"2021"_s);
        QCOMPARE(child<QLineEdit>(&menu, "txtTipologia")->text(), QString());
        for (const char *name :
            { "txtGiornoInizio", "txtMeseInizio", "txtGiornoFine", "txtMeseFine" })
            QCOMPARE(child<QComboBox>(&menu, name)->currentIndex(), -1);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&menu, "txtTipologia"));
        QVERIFY(!child<QLabel>(&menu, "lblFile")->isVisible());

        typeYear(&menu, u"1999"_s);
        QTest::keyClicks(child<QLineEdit>(&menu, "txtTipologia"), "X1");
        chooseInterval(&menu, { u"01"_s, u"Marzo"_s, u"31"_s, u"Marzo"_s });
        clickButton(&menu, "btnEsci");
        QVERIFY(!menu.isVisible());
    }
}

QTEST_MAIN(TestReportScreens)
#include "tst_reportscreens.moc"
