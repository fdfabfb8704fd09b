#include "customers/DaRinnovare.h"

#include "app/Screens.h"
#include "common/ListBox.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/TempProgramFolder.h"
#include "customers/Anagrafica.h"
#include "records/CustomerRecord.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"
#include "storage/TextForms.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

// The due list as the user sees it: filled when shown, find, print, and a double-click
// that shows the customer on the card.
class TestDaRinnovare : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void contract();
    void fillsOnShow();
    void doubleClickLoadsTheLaterOfTwoIdenticalLines();
    void doubleClickWithoutSelectionLoadsNothing();
    void stopsSilently();
    void unreadableArchive();
    void findOnAnEmptyList();
    void printsWithItsTitle();
    void opensFromTheCard();

private:
    // Shows the due list modally over the card and runs act on it.
    void run(const std::function<void(TfrmDaRinnovare *)> &act);

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<TfrmAnagrafica> m_card;
};

namespace {

Record customer(const QString &surname, const QString &scadenza, const QString &note = {})
{
    using namespace CustomerRecord;
    Record r(layout());
    r.setValue(Cognome, surname);
    r.setValue(Nome, u"Anna"_s);
    r.setValue(Recapito, u"333 1234567"_s);
    r.setValue(Decorrenza, u"01/01/2020"_s);
    r.setValue(Scadenza, scadenza);
    r.setValue(Preavviso, u"0"_s);
    r.setValue(Rata, u"50,00"_s);
    r.setValue(Acquisto, u"Divano"_s);
    r.setValue(Note, note);
    return r;
}

bool writeArchive(const QList<Record> &records)
{
    RecordFile file;
    if (!file.open(CustomerRecord::archive()))
        return false;
    for (const Record &r : records) {
        if (!file.append(r))
            return false;
    }
    return true;
}

void doubleClickRow(QListView *list, int row)
{
    ListBox::doubleClick(list, row);
}

} // namespace

void TestDaRinnovare::init()
{
    m_folder = std::make_unique<TempProgramFolder>();
    Clock::setFixed(QDateTime(QDate(2021, 3, 15), QTime(9, 0)));
    m_card = std::make_unique<TfrmAnagrafica>();
    Screens::registerResident(m_card.get());
}

void TestDaRinnovare::cleanup()
{
    ListScreen::setPrintHandler({});
    Screens::unregisterResident(m_card.get());
    m_card.reset();
    Clock::reset();
    m_folder.reset();
}

void TestDaRinnovare::run(const std::function<void(TfrmDaRinnovare *)> &act)
{
    bool ran = false;
    onNextModal([&](QWidget *modal) {
        auto *list = qobject_cast<TfrmDaRinnovare *>(modal);
        if (!list)
            return;
        ran = true;
        act(list);
        if (list->isVisible())
            list->close();
    });
    TfrmDaRinnovare list(m_card.get());
    list.exec();
    QVERIFY(ran);
}

void TestDaRinnovare::contract()
{
    TfrmDaRinnovare list;
    QCOMPARE(list.objectName(), u"TfrmDaRinnovare"_s);
    QCOMPARE(list.windowTitle(), u" Riepilogo rate in scadenza o scadute"_s);
    static const struct
    {
        const char *name;
        const char *className;
        const char16_t *text;
    } controls[] = {
        { "imgLogo", "QLabel", nullptr },
        { "lblRigo01", "QLabel", nullptr },
        { "lblRigo02", "QLabel", nullptr },
        { "imgLente", "QLabel", nullptr },
        { "txtTrova", "QLineEdit", nullptr },
        { "btnTrova", "QPushButton", u"Trova" },
        { "lstRecords", "QListView", nullptr },
        { "lblRigo03", "QLabel",
            u"Per richiamare i dati di una scheda, selezionarla con un doppio clic." },
        { "btnChiudi", "QPushButton", u"Chiudi" },
        { "btnStampa", "QPushButton", u"Stampa" },
    };
    for (const auto &c : controls) {
        QWidget *w = list.findChild<QWidget *>(QString::fromLatin1(c.name));
        QVERIFY2(w && w->inherits(c.className), c.name);
        if (!c.text)
            continue;
        if (auto *b = qobject_cast<QPushButton *>(w))
            QCOMPARE(b->text(), QString::fromUtf16(c.text));
        else
            QCOMPARE(qobject_cast<QLabel *>(w)->text(), QString::fromUtf16(c.text));
    }
    QCOMPARE(ListBox::of(&list)->font().family(), u"Courier New"_s);
    QVERIFY(!(list.windowFlags() & Qt::WindowCloseButtonHint));
}

void TestDaRinnovare::fillsOnShow()
{
    QVERIFY(writeArchive({ customer(u"Zeta"_s, u"15/03/2021"_s),
        customer(u"Futuro"_s, u"16/03/2021"_s), customer(u"Alfa"_s, u"01/01/2021"_s) }));
    QStringList shown;
    bool findFocused = false;
    run([&](TfrmDaRinnovare *list) {
        shown = ListBox::texts(ListBox::of(list));
        findFocused = list->focusWidget() == list->findChild<QLineEdit *>(u"txtTrova"_s);
    });
    QCOMPARE(shown.size(), 2);
    QVERIFY(shown[0].startsWith(u"Alfa Anna"));
    QVERIFY(shown[1].startsWith(u"Zeta Anna"));
    QVERIFY(findFocused);
}

void TestDaRinnovare::doubleClickLoadsTheLaterOfTwoIdenticalLines()
{
    // Two customers whose lines are identical; only their notes tell them apart.
    QVERIFY(writeArchive(
        { customer(u"Altro"_s, u"01/01/2021"_s), customer(u"Rossi"_s, u"01/02/2021"_s, u"primo"_s),
            customer(u"Rossi"_s, u"01/02/2021"_s, u"secondo"_s),
            customer(u"Verdi"_s, u"01/03/2021"_s) }));
    for (int row : { 1, 2 }) {
        m_card->cmdNuovoClick();
        bool closed = false;
        run([&](TfrmDaRinnovare *list) {
            auto *box = ListBox::of(list);
            QCOMPARE(ListBox::text(box, 1), ListBox::text(box, 2));
            doubleClickRow(box, row);
            closed = !list->isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(m_card->findChild<QLineEdit *>(u"txtNote"_s)->text(), u"secondo"_s);
        QCOMPARE(m_card->findChild<QLabel *>(u"lblPosizione"_s)->text(), u"3"_s);
    }
}

void TestDaRinnovare::doubleClickWithoutSelectionLoadsNothing()
{
    QVERIFY(writeArchive({ customer(u"Rossi"_s, u"01/01/2021"_s) }));
    m_card->cmdNuovoClick();
    bool closed = false;
    run([&](TfrmDaRinnovare *list) {
        auto *box = ListBox::of(list);
        box->clearSelection();
        QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, QPoint(5, box->height() - 30));
        closed = !list->isVisible();
    });
    QVERIFY(closed);
    QCOMPARE(m_card->findChild<QLineEdit *>(u"txtCognome"_s)->text(), QString());
    QCOMPARE(m_card->findChild<QLabel *>(u"lblPosizione"_s)->text(), QString());
}

void TestDaRinnovare::stopsSilently()
{
    MessageRecorder messages;
    QVERIFY(writeArchive({ customer(u"Primo"_s, u"01/01/2021"_s),
        customer(u"Guasto"_s, u"31/02/2021"_s), customer(u"Dopo"_s, u"01/01/2021"_s) }));
    int count = -1;
    run([&](TfrmDaRinnovare *list) { count = int(list->lines().size()); });
    QCOMPARE(count, 1);
    QCOMPARE(messages.count(), 0);
}

void TestDaRinnovare::unreadableArchive()
{
    // An archive that cannot be opened gives an empty list and says so, as the other lists
    // do, rather than passing for an archive with nothing due.
    MessageRecorder messages;
    QVERIFY(QDir(m_folder->path()).mkdir(u"Clienti.mrv"_s));
    int count = -1;
    run([&](TfrmDaRinnovare *list) { count = int(list->lines().size()); });
    QCOMPARE(count, 0);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QCOMPARE(messages.lastText(), accessErrorText());
}

void TestDaRinnovare::findOnAnEmptyList()
{
    MessageRecorder messages;
    run([&](TfrmDaRinnovare *list) {
        list->findChild<QLineEdit *>(u"txtTrova"_s)->setText(u"rossi"_s);
        QTest::mouseClick(list->findChild<QPushButton *>(u"btnTrova"_s), Qt::LeftButton);
    });
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Plain);
    QCOMPARE(
        messages.lastText(), u"Ricerca non applicabile: la lista non contiene nessuna voce."_s);
}

void TestDaRinnovare::printsWithItsTitle()
{
    QVERIFY(writeArchive({ customer(u"Rossi"_s, u"01/01/2021"_s) }));
    QString title;
    QStringList printed;
    QStringList extra = { u"<none>"_s };
    ListScreen::setPrintHandler(
        [&](QWidget *, const QString &t, const QStringList &lines, const QStringList &e) {
            title = t;
            printed = lines;
            extra = e;
        });
    run([&](TfrmDaRinnovare *list) {
        QTest::mouseClick(list->findChild<QPushButton *>(u"btnStampa"_s), Qt::LeftButton);
    });
    QCOMPARE(title, u"Riepilogo rate in scadenza o scadute"_s);
    QCOMPARE(printed.size(), 1);
    QVERIFY(printed.first().startsWith(u"Rossi Anna"));
    QVERIFY(extra.isEmpty());
}

void TestDaRinnovare::opensFromTheCard()
{
    QVERIFY(writeArchive({ customer(u"Rossi"_s, u"01/01/2021"_s) }));
    QString opened;
    int count = -1;
    onNextModal([&](QWidget *modal) {
        if (auto *list = qobject_cast<TfrmDaRinnovare *>(modal)) {
            opened = list->objectName();
            count = int(list->lines().size());
            list->close();
        }
    });
    m_card->cmdScadutiClick();
    QCOMPARE(opened, u"TfrmDaRinnovare"_s);
    QCOMPARE(count, 1);
}

QTEST_MAIN(TestDaRinnovare)
#include "tst_darinnovare.moc"
