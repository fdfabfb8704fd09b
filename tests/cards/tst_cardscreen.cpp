#include "app/Palette.h"
#include "cards/CardLooks.h"
#include "catalogue/Magazzino.h"
#include "common/CardFixture.h"
#include "records/ProductRecord.h"
#include "storage/RecordFile.h"

#include <QDir>
#include <QLabel>

using namespace Qt::StringLiterals;

// The card-screen base through the product card: a record reopened on "the card named
// TfrmMagazzino" without its class, the position protocol, and the card's own kind of
// access error.
class TestCardScreen : public QObject
{
    Q_OBJECT
private slots:
    void reopenByName();
    void positionProtocol();
    void accessErrorIsTheCardsKind();
    void salvaAsksBeforeWritingOverAnotherCopy_data();
    void salvaAsksBeforeWritingOverAnotherCopy();
    void looksWithoutPanelsKeepTheirRules();
};

void TestCardScreen::reopenByName()
{
    CardFixture<TfrmMagazzino> f;
    QVERIFY(f.ready());
    CardScreen *card = CardScreen::resident(u"TfrmMagazzino"_s);
    QCOMPARE(card, &f.card);
    QVERIFY(!CardScreen::resident(u"TfrmNessuno"_s));

    const Record product = f.record({ { ProductRecord::Codice, u" A-1 "_s },
        { ProductRecord::File01, u"foto.jpg"_s }, { ProductRecord::Note, u"nota"_s } });
    card->loadRecord(product, 7);
    QCOMPARE(f.text(u"txtCodice"_s), u"A-1"_s);
    QCOMPARE(f.text(u"lblFile01"_s), u"foto.jpg"_s);
    QCOMPARE(f.text(u"txtNote"_s), u"nota"_s);
    QCOMPARE(f.text(u"lblPosizione"_s), u"7"_s);
    QCOMPARE(f.messages.count(), 0);
}

void TestCardScreen::positionProtocol()
{
    CardFixture<TfrmMagazzino> f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ f.record({ { ProductRecord::Codice, u"A"_s } }),
        f.record({ { ProductRecord::Codice, u"B"_s } }) }));
    QCOMPARE(f.card.positionText(), QString());
    f.click(u"cmdUltimo"_s);
    QCOMPARE(f.card.positionText(), u"2"_s);
    QCOMPARE(f.text(u"txtCodice"_s), u"B"_s);
    f.card.setPosition(0);
    QCOMPARE(f.text(u"lblPosizione"_s), QString());
    // Saved as a new card: appended, and the position says where.
    f.click(u"cmdSalva"_s);
    QCOMPARE(f.records().size(), 3);
    QCOMPARE(f.card.positionText(), u"3"_s);
    QCOMPARE(f.messages.lastKind(), Messages::Kind::Information);
}

void TestCardScreen::accessErrorIsTheCardsKind()
{
    CardFixture<TfrmMagazzino> f;
    QVERIFY(f.ready());
    QCOMPARE(f.card.accessErrorKind(), Notice::Kind::Warning);
    QVERIFY(QDir(f.folder.path()).mkdir(f.archive().fileName));
    f.click(u"cmdPrimo"_s);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Messages::Kind::Warning);
    QCOMPARE(f.messages.lastText(), accessErrorText());
}

void TestCardScreen::salvaAsksBeforeWritingOverAnotherCopy_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("Sì: saved over the other copy's changes") << true;
    QTest::newRow("No: nothing saved, the stored card shown") << false;
}

void TestCardScreen::salvaAsksBeforeWritingOverAnotherCopy()
{
    QFETCH(bool, overwrite);
    CardFixture<TfrmMagazzino> f;
    QVERIFY(f.ready());
    QVERIFY(f.writeRecords({ f.record({ { ProductRecord::Codice, u"A"_s } }),
        f.record({ { ProductRecord::Codice, u"B"_s }, { ProductRecord::Giacenza, u"10"_s } }) }));
    f.click(u"cmdUltimo"_s);
    QCOMPARE(f.text(u"txtCodice"_s), u"B"_s);
    // Another copy records an unload of 3 and saves the card meanwhile.
    const Record other
        = f.record({ { ProductRecord::Codice, u"B"_s }, { ProductRecord::Giacenza, u"7"_s } });
    {
        RecordFile file;
        QVERIFY(file.open(f.archive()));
        QVERIFY(file.writeAt(1, other));
    }
    f.edit(u"txtNote"_s)->setText(u"nuova nota"_s);
    f.messages.clear();
    f.messages.answers = { overwrite ? Messages::Answer::Yes : Messages::Answer::No };
    f.click(u"cmdSalva"_s);
    QVERIFY(f.messages.count() >= 1);
    QCOMPARE(f.messages.shown.first().kind, Messages::Kind::Confirmation);
    QCOMPARE(f.messages.shown.first().text,
        u"La scheda è stata modificata da un'altra postazione dopo che è stata aperta. Si "
        "vogliono sovrascrivere quelle modifiche?"_s);
    const Record stored = f.records().at(1);
    QCOMPARE(f.card.positionText(), u"2"_s);
    if (overwrite) {
        QCOMPARE(stored.value(ProductRecord::Note), u"nuova nota"_s);
        QCOMPARE(stored.value(ProductRecord::Giacenza), u"10"_s);
        // Saved as today, then a second Salva asks nothing.
        f.messages.clear();
        f.click(u"cmdSalva"_s);
        QCOMPARE(f.messages.count(), 1);
        QCOMPARE(f.messages.lastKind(), Messages::Kind::Information);
    } else {
        QCOMPARE(f.messages.count(), 1);
        QCOMPARE(stored.encode(), other.encode());
        QCOMPARE(f.text(u"txtGiacenza"_s), u"7"_s);
        QCOMPARE(f.text(u"txtNote"_s), QString());
    }
}

void TestCardScreen::looksWithoutPanelsKeepTheirRules()
{
    // A card with no framed panels (the customer card's toolbar is optional) still gets the
    // position box's colours: no empty rule spoils the ones after it.
    QWidget card;
    card.setObjectName(u"TfrmProva"_s);
    auto *position = new QLabel(&card);
    position->setObjectName(u"lblPosizione"_s);
    CardLooks::styleCard(&card, {}, u"shpFrecce"_s);
    card.ensurePolished();
    QCOMPARE(position->palette().color(QPalette::WindowText), QColor(Palette::kPositionText));
}

QTEST_MAIN(TestCardScreen)
#include "tst_cardscreen.moc"
