#include "app/Screens.h"
#include "cards/CardScreen.h"
#include "common/ListBox.h"
#include "common/MessageRecorder.h"
#include "common/TempProgramFolder.h"
#include "common/UserInput.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "search/TrovaClienti.h"
#include "search/TrovaFornitori.h"
#include "search/TrovaMagazzino.h"
#include "storage/RecordFile.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using Kind = ArchiveId;

Q_DECLARE_METATYPE(ArchiveId)

namespace {

template <typename T> T *child(QWidget *w, const char *name)
{
    T *found = w->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

std::unique_ptr<ArchiveSearchScreen> makeScreen(Kind kind, QWidget *parent = nullptr)
{
    switch (kind) {
    case Kind::Customers:
        return std::make_unique<TfrmTrovaClienti>(parent);
    case Kind::Suppliers:
        return std::make_unique<TfrmTrovaFornitori>(parent);
    case Kind::Products:
    case Kind::Loads:
    case Kind::Unloads:
        break;
    }
    return std::make_unique<TfrmTrovaMagazzino>(parent);
}

// Appends one record of the archive of kind with the fields given as "Field=text".
void appendRecord(Kind kind, const QStringList &fields)
{
    const Archive &archive = *ArchiveSearch::config(kind).archive;
    Record record(*archive.layout);
    for (const QString &f : fields) {
        const qsizetype eq = f.indexOf(u'=');
        record.setValue(QStringView(f).first(eq), f.mid(eq + 1));
    }
    RecordFile file;
    QVERIFY(file.open(archive));
    QVERIFY(file.append(record));
}

void pressCerca(ArchiveSearchScreen &screen)
{
    QTest::mouseClick(child<QPushButton>(&screen, "btnCerca"), Qt::LeftButton);
}

void doubleClickRow(ArchiveSearchScreen &screen, int row)
{
    ListBox::doubleClick(ListBox::of(&screen), row);
}

// A stand-in for a card: the controls the searches write to, registered under the card's
// name for as long as it lives.
class FakeCard : public QWidget
{
public:
    FakeCard(const QString &name, const QStringList &controls)
    {
        setObjectName(name);
        addControls(this, controls);
        Screens::registerResident(this);
    }
    ~FakeCard() override { Screens::unregisterResident(this); }
    QString text(const QString &control) const { return findChild<QLineEdit *>(control)->text(); }

    static void addControls(QWidget *card, const QStringList &controls)
    {
        for (const QString &c : controls) {
            auto *box = new QLineEdit(card);
            box->setObjectName(c);
            box->setText(u"was "_s + c);
        }
    }
};

// the card's configuration of a stand-in card over an archive: no button, and the fields that none
// of its controls shows left unbound.
CardSpec fakeSpec(Kind kind, const QStringList &controls = {})
{
    CardSpec config;
    switch (kind) {
    case Kind::Customers:
        config.id = CardId::Customer;
        config.archive = &CustomerRecord::archive;
        break;
    case Kind::Suppliers:
        config.id = CardId::Supplier;
        config.archive = &SupplierRecord::archive;
        break;
    case Kind::Products:
    case Kind::Loads:
    case Kind::Unloads:
        config.id = CardId::Product;
        config.archive = &ProductRecord::archive;
        break;
    }
    const RecordLayout &layout = *config.archive().layout;
    for (int i = 0; i < layout.fieldCount(); ++i) {
        if (!controls.contains(u"txt"_s + layout.fieldName(i)))
            config.binding.unbound.append(layout.fieldName(i));
    }
    config.withoutButtons = CardScreen::commonButtons();
    return config;
}

struct SpecHolder
{
    CardSpec config;
};

// The product card as the supplier import sees it: a card whose binding reaches the
// controls given, registered under the card's name.
class FakeProductCard : private SpecHolder, public CardScreen
{
public:
    explicit FakeProductCard(const QStringList &controls)
        : SpecHolder { fakeSpec(Kind::Products, controls) }
        , CardScreen(SpecHolder::config)
    {
        setObjectName(u"TfrmMagazzino"_s);
        FakeCard::addControls(this, controls);
        setUpCard();
        Screens::registerResident(this);
    }
    ~FakeProductCard() override { Screens::unregisterResident(this); }
    QString text(const QString &control) const { return findChild<QLineEdit *>(control)->text(); }
};

// A card that records what a search loads into it, registered under its name.
class RecordingCard : private SpecHolder, public CardScreen
{
public:
    RecordingCard(const QString &name, Kind kind)
        : SpecHolder { fakeSpec(kind) }
        , CardScreen(SpecHolder::config)
    {
        setObjectName(name);
        Screens::registerResident(this);
    }
    ~RecordingCard() override { Screens::unregisterResident(this); }
    void loadRecord(const Record &record, qint64 position) override
    {
        loaded.append({ record, position });
    }
    QList<std::pair<Record, qint64>> loaded;
};

const QStringList kProductControls { u"txtCodice"_s, u"txtMarca"_s, u"txtFornitore"_s,
    u"txtRecapiti"_s, u"txtOrdine"_s, u"txtNote"_s, u"lblPosizione"_s };

} // namespace

class TestSearchScreens : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void contract_data();
    void contract();
    void enterRing_data();
    void enterRing();
    void waitNoticeShowsOnPress();
    void searchReplacesTheSearchPanel();
    void countText_data();
    void countText();
    void nothingFound();
    void unreadableArchive();
    void badTypedText();
    void printsWithItsTitle();
    void supplierImportIntoProduct();
    void supplierImportTakesTheLastEqualLine();
    void noImportWithoutDoubleClick();
    void doubleClickWithoutSelection();
    void otherTagLoadsNothing();
    void doubleClickLoadsTheCard_data();
    void doubleClickLoadsTheCard();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
};

void TestSearchScreens::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
}

void TestSearchScreens::cleanup()
{
    m_folder.reset();
    ListScreen::setPrintHandler({});
}

void TestSearchScreens::contract_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("count");
    QTest::newRow("products") << Kind::Products << u"TfrmTrovaMagazzino"_s
                              << u" Trova articoli in magazzino"_s << u"txtCodice"_s
                              << u"Il presente elenco contiene 0 schede."_s;
    QTest::newRow("customers") << Kind::Customers << u"TfrmTrovaClienti"_s
                               << u" Trova Clienti in archivio"_s << u"txtCognome"_s
                               << u"Il presente riepilogo contiene 0 schede."_s;
    QTest::newRow("suppliers") << Kind::Suppliers << u"TfrmTrovaFornitori"_s
                               << u" Trova Fornitori in archivio"_s << u"txtDitta"_s
                               << u"Il presente riepilogo contiene 0 schede."_s;
}

// The screen as it opens: the search panel with its ten captioned boxes, the focus in the
// first, the result panel and the hidden labels out of sight.
void TestSearchScreens::contract()
{
    QFETCH(Kind, kind);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, first);
    QFETCH(QString, count);
    auto screen = makeScreen(kind);
    screen->setCallerTag(u"x"_s);
    screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
    QCOMPARE(screen->objectName(), name);
    QCOMPARE(screen->windowTitle(), caption);
    QCOMPARE(screen->size(), QSize(862, 560));
    QVERIFY(child<QWidget>(screen.get(), "panAvvio")->isVisible());
    QVERIFY(!child<QWidget>(screen.get(), "panContainer")->isVisible());
    QVERIFY(!child<QLabel>(screen.get(), "lblAttendere")->isVisible());
    QCOMPARE(child<QLabel>(screen.get(), "lblAttendere")->text(),
        u"Ricerca schede in corso. Attendere..."_s);
    QVERIFY(!child<QLabel>(screen.get(), "lblMemory")->isVisible());
    QCOMPARE(child<QLabel>(screen.get(), "lblMemory")->text(), u"x"_s);
    QCOMPARE(child<QLabel>(screen.get(), "lblConta")->text(), u"0"_s);
    QCOMPARE(child<QLabel>(screen.get(), "lblTrovate")->text(), count);
    QCOMPARE(child<QPushButton>(screen.get(), "btnCerca")->text(), u"Cerca"_s);
    QCOMPARE(child<QPushButton>(screen.get(), "btnAnnulla")->text(), u"Chiudi"_s);
    QCOMPARE(screen->focusWidget()->objectName(), first);
    for (const ArchiveSearch::SearchField &f : screen->config().fields) {
        auto *box = child<QLineEdit>(screen.get(), qPrintable(f.name));
        QVERIFY(box->isVisible());
        auto *label = child<QLabel>(screen.get(), qPrintable(u"tit"_s + f.name.mid(3)));
        QCOMPARE(label->text(), f.caption);
        QVERIFY(label->isVisible());
        // The caption stands above its box.
        QVERIFY(label->mapTo(screen.get(), QPoint(0, 0)).y()
            < box->mapTo(screen.get(), QPoint(0, 0)).y());
    }
    // Centred on the screen (up to the frame the window system adds).
    const QRect available = screen->screen()->availableGeometry();
    QVERIFY(qAbs(screen->geometry().center().x() - available.center().x()) <= 5);
    QVERIFY(qAbs(screen->geometry().center().y() - available.center().y()) <= 5);
}

void TestSearchScreens::enterRing_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("products") << Kind::Products;
    QTest::newRow("customers") << Kind::Customers;
    QTest::newRow("suppliers") << Kind::Suppliers;
}

// Enter goes through the boxes in the table's order, from the last back to the first;
// it never starts the search.
void TestSearchScreens::enterRing()
{
    QFETCH(Kind, kind);
    auto screen = makeScreen(kind);
    screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
    const auto &fields = screen->config().fields;
    QCOMPARE(fields.size(), 10);
    for (int i = 0; i <= fields.size(); ++i) {
        const QString expected = fields[i % fields.size()].name;
        QCOMPARE(screen->focusWidget()->objectName(), expected);
        QTest::keyClick(screen->focusWidget(), Qt::Key_Return);
    }
    QVERIFY(child<QWidget>(screen.get(), "panAvvio")->isVisible());
}

void TestSearchScreens::waitNoticeShowsOnPress()
{
    TfrmTrovaMagazzino screen;
    screen.show();
    auto *notice = child<QLabel>(&screen, "lblAttendere");
    auto *cerca = child<QPushButton>(&screen, "btnCerca");
    QTest::mousePress(cerca, Qt::LeftButton);
    QVERIFY(notice->isVisible());
    QVERIFY(child<QWidget>(&screen, "panAvvio")->isVisible());
    QTest::mouseRelease(cerca, Qt::LeftButton);
    // The search ran: the result panel replaces the search panel and the notice with it.
    QVERIFY(!notice->isVisible());
    QVERIFY(child<QWidget>(&screen, "panContainer")->isVisible());
}

void TestSearchScreens::searchReplacesTheSearchPanel()
{
    appendRecord(
        Kind::Products, { u"Codice=P1"_s, u"Marca=Michelin"_s, u"Modello=Pilot Sport 4"_s });
    appendRecord(Kind::Products, { u"Codice=P2"_s, u"Marca=Michelin"_s, u"Modello=Primacy"_s });
    appendRecord(Kind::Products, { u"Codice=P3"_s, u"Marca=Pirelli"_s, u"Modello=Pilot"_s });
    TfrmTrovaMagazzino screen;
    screen.show();
    typeText(child<QLineEdit>(&screen, "txtMarca"), u"mich"_s);
    typeText(child<QLineEdit>(&screen, "txtModello"), u"pilot"_s);
    typeText(child<QLineEdit>(&screen, "txtNote"), u"   "_s);
    pressCerca(screen);
    QCOMPARE(child<QLabel>(&screen, "lblConta")->text(), u"2"_s);
    QVERIFY(!child<QWidget>(&screen, "panAvvio")->isVisible());
    QVERIFY(child<QWidget>(&screen, "panContainer")->isVisible());
    QCOMPARE(screen.lines().size(), 1);
    QVERIFY(screen.lines().first().startsWith(u"P1 "_s));
    QCOMPARE(
        child<QLabel>(&screen, "lblTrovate")->text(), u"Il presente elenco contiene 1 schede."_s);
    QCOMPARE(screen.focusWidget()->objectName(), u"txtTrova"_s);
    QCOMPARE(screen.selectedRow(), -1);
    // Enter in the find box moves to "Trova".
    QTest::keyClick(child<QLineEdit>(&screen, "txtTrova"), Qt::Key_Return);
    QCOMPARE(screen.focusWidget()->objectName(), u"btnTrova"_s);
}

void TestSearchScreens::countText_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("record");
    QTest::addColumn<QString>("count");
    QTest::newRow("products") << Kind::Products << QStringList { u"Codice=A"_s }
                              << u"Il presente elenco contiene 3 schede."_s;
    QTest::newRow("customers") << Kind::Customers << QStringList { u"Cognome=Rossi"_s }
                               << u"Il presente riepilogo contiene 3 schede."_s;
    QTest::newRow("suppliers") << Kind::Suppliers << QStringList { u"Ditta=Gomme"_s }
                               << u"Il presente riepilogo contiene 3 schede."_s;
}

// Every box empty lists every record, identical ones included.
void TestSearchScreens::countText()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, record);
    QFETCH(QString, count);
    for (int i = 0; i < 3; ++i)
        appendRecord(kind, record);
    auto screen = makeScreen(kind);
    screen->show();
    pressCerca(*screen);
    QCOMPARE(child<QLabel>(screen.get(), "lblConta")->text(), u"0"_s);
    QCOMPARE(screen->lines().size(), 3);
    QCOMPARE(child<QLabel>(screen.get(), "lblTrovate")->text(), count);
}

void TestSearchScreens::nothingFound()
{
    appendRecord(Kind::Customers, { u"Cognome=Rossi"_s });
    TfrmTrovaClienti screen;
    screen.show();
    typeText(child<QLineEdit>(&screen, "txtCognome"), u"bianchi"_s);
    pressCerca(screen);
    QVERIFY(child<QWidget>(&screen, "panContainer")->isVisible());
    QCOMPARE(ListBox::count(ListBox::of(&screen)), 0);
    QCOMPARE(child<QLabel>(&screen, "lblTrovate")->text(),
        u"Il presente riepilogo contiene 0 schede."_s);
    MessageRecorder messages;
    QTest::mouseClick(child<QPushButton>(&screen, "btnTrova"), Qt::LeftButton);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Plain);
    QCOMPARE(
        messages.lastText(), u"Ricerca non applicabile: la lista non contiene nessuna voce."_s);
}

// An archive that cannot be opened: the access message, and the search panel stays with
// its notice so the search can be started again.
void TestSearchScreens::unreadableArchive()
{
    QVERIFY(QDir(m_folder->path()).mkdir(u"Fornitori.mrv"_s));
    TfrmTrovaFornitori screen;
    screen.show();
    MessageRecorder messages;
    pressCerca(screen);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Plain);
    QCOMPARE(messages.lastText(), accessErrorText());
    QVERIFY(child<QWidget>(&screen, "panAvvio")->isVisible());
    QVERIFY(child<QLabel>(&screen, "lblAttendere")->isVisible());
    QVERIFY(!child<QWidget>(&screen, "panContainer")->isVisible());

    QVERIFY(QDir(m_folder->path()).rmdir(u"Fornitori.mrv"_s));
    appendRecord(Kind::Suppliers, { u"Ditta=Gomme"_s });
    pressCerca(screen);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(screen.lines().size(), 1);
}

// A very long text and characters the archive cannot hold: no crash, no false match.
void TestSearchScreens::badTypedText()
{
    appendRecord(Kind::Products, { u"Codice=A?B"_s, u"Note=%1"_s.arg(QString(250, u'x')) });
    TfrmTrovaMagazzino screen;
    screen.show();
    child<QLineEdit>(&screen, "txtNote")->setText(QString(300, u'x'));
    pressCerca(screen);
    QCOMPARE(screen.lines().size(), 0);

    TfrmTrovaMagazzino again;
    again.show();
    typeText(child<QLineEdit>(&again, "txtCodice"), u"A\u0142B"_s);
    pressCerca(again);
    QCOMPARE(again.lines().size(), 0);
}

void TestSearchScreens::printsWithItsTitle()
{
    appendRecord(Kind::Suppliers, { u"Ditta=Gomme"_s });
    QString title;
    QStringList printed;
    ListScreen::setPrintHandler(
        [&](QWidget *, const QString &t, const QStringList &lines, const QStringList &extra) {
            title = t;
            printed = lines;
            QVERIFY(extra.isEmpty());
        });
    TfrmTrovaFornitori screen;
    screen.show();
    pressCerca(screen);
    QTest::mouseClick(child<QPushButton>(&screen, "btnStampa"), Qt::LeftButton);
    QCOMPARE(title, u"Riepilogo Fornitori"_s);
    QCOMPARE(printed, screen.lines().toStringList());
}

// The supplier search opened from the product card copies three values and nothing else.
void TestSearchScreens::supplierImportIntoProduct()
{
    appendRecord(Kind::Suppliers, { u"Ditta=Altra"_s, u"Recapito=1"_s, u"Ordine=no"_s });
    appendRecord(Kind::Suppliers,
        { u"Ditta=Gomme Srl"_s, u"Titolare=Anna"_s, u"Recapito=055 123456"_s,
            u"Ordine=per e-mail"_s, u"Note=chiamare"_s });
    FakeProductCard product(kProductControls);
    FakeCard supplierCard(u"TfrmFornitori"_s, { u"txtDitta"_s, u"txtRecapito"_s });
    TfrmTrovaFornitori screen;
    screen.setCallerTag(u"magazzino"_s);
    screen.show();
    typeText(child<QLineEdit>(&screen, "txtDitta"), u"gomme"_s);
    pressCerca(screen);
    QCOMPARE(screen.lines().size(), 1);
    doubleClickRow(screen, 0);
    QVERIFY(!screen.isVisible());
    QCOMPARE(product.text(u"txtFornitore"_s), u"Gomme Srl"_s);
    QCOMPARE(product.text(u"txtRecapiti"_s), u"055 123456"_s);
    QCOMPARE(product.text(u"txtOrdine"_s), u"per e-mail"_s);
    for (const QString &c : { u"txtCodice"_s, u"txtMarca"_s, u"txtNote"_s, u"lblPosizione"_s })
        QCOMPARE(product.text(c), u"was "_s + c);
    QCOMPARE(supplierCard.text(u"txtDitta"_s), u"was txtDitta"_s);
    // Nothing is written: the supplier archive is as it was, no product archive made.
    QVERIFY(!QFile::exists(m_folder->filePath(u"Magazzino.mrv"_s)));
}

void TestSearchScreens::supplierImportTakesTheLastEqualLine()
{
    // Same line (Ditta, Titolare, Recapito, Note), different order details.
    appendRecord(Kind::Suppliers, { u"Ditta=Gomme"_s, u"Ordine=primo"_s });
    appendRecord(Kind::Suppliers, { u"Ditta=Gomme"_s, u"Ordine=secondo"_s });
    FakeProductCard product(kProductControls);
    TfrmTrovaFornitori screen;
    screen.setCallerTag(u"magazzino"_s);
    screen.show();
    pressCerca(screen);
    QCOMPARE(screen.lines().size(), 2);
    doubleClickRow(screen, 0);
    QCOMPARE(product.text(u"txtOrdine"_s), u"secondo"_s);
}

void TestSearchScreens::noImportWithoutDoubleClick()
{
    appendRecord(Kind::Suppliers, { u"Ditta=Gomme"_s, u"Ordine=x"_s });
    FakeProductCard product(kProductControls);
    for (const char *closer : { "btnAnnulla", "btnChiudi" }) {
        TfrmTrovaFornitori screen;
        screen.setCallerTag(u"magazzino"_s);
        screen.show();
        if (QByteArrayView(closer) == "btnChiudi") {
            pressCerca(screen);
            ListBox::select(ListBox::of(&screen), 0);
        }
        QTest::mouseClick(child<QPushButton>(&screen, closer), Qt::LeftButton);
        QVERIFY(!screen.isVisible());
        QCOMPARE(screen.lines().size(), 0);
        QVERIFY(!child<QLabel>(&screen, "lblAttendere")->isVisible());
    }
    for (const QString &c : kProductControls)
        QCOMPARE(product.text(c), u"was "_s + c);
}

void TestSearchScreens::doubleClickWithoutSelection()
{
    FakeProductCard product(kProductControls);
    TfrmTrovaFornitori screen;
    screen.setCallerTag(u"magazzino"_s);
    screen.show();
    pressCerca(screen);
    QCOMPARE(screen.lines().size(), 0);
    auto *box = ListBox::of(&screen);
    MessageRecorder messages;
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!screen.isVisible());
    QCOMPARE(messages.count(), 0);
    for (const QString &c : kProductControls)
        QCOMPARE(product.text(c), u"was "_s + c);
}

// A tag that names no card of this archive reads nothing into any card and closes.
void TestSearchScreens::otherTagLoadsNothing()
{
    appendRecord(Kind::Customers, { u"Cognome=Rossi"_s });
    FakeProductCard product(kProductControls);
    TfrmTrovaClienti screen;
    screen.setCallerTag(u"magazzino"_s);
    screen.show();
    pressCerca(screen);
    doubleClickRow(screen, 0);
    QVERIFY(!screen.isVisible());
    for (const QString &c : kProductControls)
        QCOMPARE(product.text(c), u"was "_s + c);
}

void TestSearchScreens::doubleClickLoadsTheCard_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("first");
    QTest::newRow("customers") << Kind::Customers << u"TfrmAnagrafica"_s << u"clienti"_s
                               << u"Cognome"_s;
    QTest::newRow("suppliers") << Kind::Suppliers << u"TfrmFornitori"_s << u"fornitori"_s
                               << u"Ditta"_s;
    QTest::newRow("products") << Kind::Products << u"TfrmMagazzino"_s << u"magazzino"_s
                              << u"Codice"_s;
}

// The tag of the archive's own card loads the record found again, with its position; of
// two records with the same line the later one.
void TestSearchScreens::doubleClickLoadsTheCard()
{
    QFETCH(Kind, kind);
    QFETCH(QString, card);
    QFETCH(QString, tag);
    QFETCH(QString, first);
    appendRecord(kind, { first + u"=Zeta"_s });
    appendRecord(kind, { first + u"=Alfa"_s, u"File01=primo"_s });
    appendRecord(kind, { first + u"=Alfa"_s, u"File01=secondo"_s });
    RecordingCard target(card, kind);
    auto screen = makeScreen(kind);
    screen->setCallerTag(tag);
    screen->show();
    typeText(child<QLineEdit>(screen.get(), qPrintable(u"txt"_s + first)), u"alfa"_s);
    pressCerca(*screen);
    QCOMPARE(screen->lines().size(), 2);
    doubleClickRow(*screen, 0);
    QVERIFY(!screen->isVisible());
    QCOMPARE(target.loaded.size(), 1);
    QCOMPARE(target.loaded.first().second, 3);
    QCOMPARE(target.loaded.first().first.value(u"File01"), u"secondo"_s);

    // Another archive's tag loads nothing into this card.
    auto other = makeScreen(kind);
    other->setCallerTag(kind == Kind::Customers ? u"fornitori"_s : u"clienti"_s);
    other->show();
    pressCerca(*other);
    doubleClickRow(*other, 0);
    QCOMPARE(target.loaded.size(), 1);
}

QTEST_MAIN(TestSearchScreens)
#include "tst_searchscreens.moc"
