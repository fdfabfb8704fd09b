#include "catalogue/Magazzino.h"

#include "common/CardFixture.h"
#include "common/ModalProbe.h"
#include "labels/ScanBox.h"
#include "records/ProductRecord.h"
#include "storage/RecordFile.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <algorithm>

using Answer = Messages::Answer;

namespace {

struct Fixture : CardFixture<TfrmMagazzino>
{
    Fixture()
    {
        using namespace ProductRecord;
        writeRecords({
            record({ { Codice, u"PN-000123"_qs }, { Descrizione, u"Pneumatico"_qs } }),
            record({ { Codice, u"8001234567897"_qs }, { Descrizione, u"Olio"_qs } }),
            record({ { Codice, u"AB-7"_qs }, { Descrizione, u"Primo AB"_qs } }),
            record({ { Codice, u"ab-7"_qs }, { Descrizione, u"Secondo AB"_qs } }),
        });
    }
    QLineEdit *box() const { return edit(QStringLiteral("txtBarcode")); }
    QString status() const { return find<QLabel>(QStringLiteral("panInfo"))->text(); }
    // A scanner: the code's characters and Enter, as fast as key events go.
    void scan(const QString &code) const
    {
        // Test key events carry ASCII only: other characters are pasted.
        const bool ascii
            = std::all_of(code.begin(), code.end(), [](QChar c) { return c < u'\x80'; });
        if (ascii)
            QTest::keyClicks(box(), code);
        else
            box()->insert(code);
        QTest::keyClick(box(), Qt::Key_Return);
    }
};

} // namespace

class TestScanBox : public QObject
{
    Q_OBJECT
private slots:
    void foundShowsTheProduct_data();
    void foundShowsTheProduct();
    void sharedCodeShowsTheFirst();
    void unknownCodeAsksForANewCard_data();
    void unknownCodeAsksForANewCard();
    void badScansChangeNoCard_data();
    void badScansChangeNoCard();
    void unreadableArchiveIsAnAccessError();
    void burstDuringAMessageIsDropped();
    void singleKeyDuringAMessageGoesThrough();
    void burstIntoAnOpenMessageBoxAnswersNothing();
    void f3ReachesTheBox_data();
    void f3ReachesTheBox();
};

void TestScanBox::foundShowsTheProduct_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("description");
    QTest::newRow("EAN") << "8001234567897"
                         << "2"
                         << "Olio";
    QTest::newRow("lower case, blanks") << " pn-000123 "
                                        << "1"
                                        << "Pneumatico";
}

void TestScanBox::foundShowsTheProduct()
{
    QFETCH(QString, typed);
    QFETCH(QString, position);
    QFETCH(QString, description);
    Fixture f;
    QVERIFY(f.ready());
    f.box()->setFocus();
    f.scan(typed);
    QCOMPARE(f.card.positionText(), position);
    QCOMPARE(f.text(QStringLiteral("txtDescrizione")), description);
    QCOMPARE(f.box()->text(), QString());
    QCOMPARE(QApplication::focusWidget(), f.box());
    QCOMPARE(f.messages.count(), 0);
    // The next scan right after it is whole too.
    f.scan(u"PN-000123"_qs);
    QCOMPARE(f.card.positionText(), QStringLiteral("1"));
    QCOMPARE(f.box()->text(), QString());
}

void TestScanBox::sharedCodeShowsTheFirst()
{
    Fixture f;
    QVERIFY(f.ready());
    f.box()->setFocus();
    f.scan(u"Ab-7"_qs);
    QCOMPARE(f.card.positionText(), QStringLiteral("3"));
    QCOMPARE(f.text(QStringLiteral("txtDescrizione")), QStringLiteral("Primo AB"));
    QCOMPARE(f.status(), ScanBox::sharedText(u"Ab-7"_qs, 2));
}

void TestScanBox::unknownCodeAsksForANewCard_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Sì") << int(Answer::Yes);
    QTest::newRow("No") << int(Answer::No);
}

void TestScanBox::unknownCodeAsksForANewCard()
{
    QFETCH(int, answer);
    Fixture f;
    QVERIFY(f.ready());
    f.card.cmdUltimoClick();
    QCOMPARE(f.card.positionText(), QStringLiteral("4"));
    const QByteArray before = f.bytes();
    f.messages.answers = { Answer(answer) };
    f.box()->setFocus();
    f.scan(u"4006381333931"_qs);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastKind(), Messages::Kind::Confirmation);
    QCOMPARE(f.messages.lastText(),
        QStringLiteral("Nessuna scheda ha il codice 4006381333931. Si vuole creare una nuova "
                       "scheda con questo codice?"));
    if (Answer(answer) == Answer::Yes) {
        QCOMPARE(f.card.positionText(), QString());
        QCOMPARE(f.text(QStringLiteral("txtCodice")), QStringLiteral("4006381333931"));
        QCOMPARE(f.text(QStringLiteral("txtDescrizione")), QString());
    } else {
        QCOMPARE(f.card.positionText(), QStringLiteral("4"));
        QCOMPARE(f.text(QStringLiteral("txtCodice")), QStringLiteral("ab-7"));
        QCOMPARE(QApplication::focusWidget(), f.box());
    }
    QCOMPARE(f.box()->text(), QString());
    QCOMPARE(f.bytes(), before);
}

void TestScanBox::badScansChangeNoCard_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: none, the status line says it
    QTest::addColumn<QString>("status");
    QTest::newRow("empty") << ""
                           << "" << ScanBox::emptyText();
    QTest::newRow("blank") << "   "
                           << "" << ScanBox::emptyText();
    QTest::newRow("300 characters") << QString(300, u'7') << ScanBox::tooLongText(300) << "";
    QTest::newRow("not storable") << QStringLiteral("Ωmega") << ScanBox::notStorableText() << "";
}

void TestScanBox::badScansChangeNoCard()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, status);
    Fixture f;
    QVERIFY(f.ready());
    f.card.cmdPrimoClick();
    f.find<QLabel>(QStringLiteral("panInfo"))->clear();
    f.box()->setFocus();
    f.scan(typed);
    QCOMPARE(f.card.positionText(), QStringLiteral("1"));
    QCOMPARE(f.text(QStringLiteral("txtCodice")), QStringLiteral("PN-000123"));
    QCOMPARE(f.messages.count(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(f.messages.lastText(), message);
    QCOMPARE(f.status(), status);
    QCOMPARE(f.box()->text(), QString());
    QCOMPARE(QApplication::focusWidget(), f.box());
}

void TestScanBox::unreadableArchiveIsAnAccessError()
{
    Fixture f;
    QVERIFY(f.ready());
    f.card.cmdPrimoClick();
    QVERIFY(QFile::remove(f.folder.filePath(QString::fromLatin1(ProductRecord::kFileName))));
    QVERIFY(QDir(f.folder.path()).mkdir(QString::fromLatin1(ProductRecord::kFileName)));
    f.box()->setFocus();
    f.scan(u"8001234567897"_qs);
    QCOMPARE(f.messages.count(), 1);
    QCOMPARE(f.messages.lastText(), accessErrorText());
    QCOMPARE(f.card.positionText(), QStringLiteral("1"));
    QCOMPARE(f.text(QStringLiteral("txtCodice")), QStringLiteral("PN-000123"));
}

void TestScanBox::burstDuringAMessageIsDropped()
{
    Fixture f;
    QVERIFY(f.ready());
    f.card.cmdPrimoClick();
    f.box()->setFocus();
    int shown = 0;
    // While the question is open, the scanner reads another code: its keys, Enter
    // included, must neither answer the question nor start another lookup.
    Messages::setHandler([&](Messages::Kind, const QString &) {
        ++shown;
        QTest::keyClicks(f.box(), u"8001234567897"_qs);
        QTest::keyClick(f.box(), Qt::Key_Return);
        QTest::qWait(3 * ScanBox::kBurstGapMs);
        return Answer::No;
    });
    f.scan(u"UNKNOWN-1"_qs);
    Messages::setHandler({});
    QCOMPARE(shown, 1);
    QCOMPARE(f.card.positionText(), QStringLiteral("1"));
    QCOMPARE(f.box()->text(), QString());
    QCOMPARE(f.status(), ScanBox::droppedText());
    // Once the question is gone, scans work again.
    f.scan(u"8001234567897"_qs);
    QCOMPARE(f.card.positionText(), QStringLiteral("2"));
}

void TestScanBox::singleKeyDuringAMessageGoesThrough()
{
    Fixture f;
    QVERIFY(f.ready());
    f.box()->setFocus();
    Messages::setHandler([&](Messages::Kind, const QString &) {
        QTest::keyClick(f.box(), Qt::Key_X);
        QTest::qWait(3 * ScanBox::kBurstGapMs);
        return Answer::No;
    });
    f.scan(u"UNKNOWN-1"_qs);
    Messages::setHandler({});
    // A person's key press reaches its widget a moment later.
    QCOMPARE(f.box()->text(), QStringLiteral("x"));
    QVERIFY(f.status() != ScanBox::droppedText());
}

void TestScanBox::burstIntoAnOpenMessageBoxAnswersNothing()
{
    Fixture f;
    QVERIFY(f.ready());
    // A real question of the card (as the stock question is), not one of a scan: a code
    // read into it, with letters that are the buttons' keys and Enter, answers nothing.
    Messages::setHandler({});
    bool stillOpen = false;
    onNextModal([&](QWidget *modal) {
        QTest::keyClicks(modal, u"SN-12"_qs);
        QTest::keyClick(modal, Qt::Key_Return);
        QTest::qWait(300);
        stillOpen = modal->isVisible();
    });
    const bool yes = Messages::confirm(&f.card, u"Domanda di prova?"_qs);
    QVERIFY(stillOpen);
    QVERIFY(!yes);
    QCOMPARE(f.status(), ScanBox::droppedText());
}

void TestScanBox::f3ReachesTheBox_data()
{
    QTest::addColumn<QString>("from");
    QTest::newRow("text field") << "txtNote";
    QTest::newRow("amount field") << "txtCosto";
    QTest::newRow("code field") << "txtCodice";
}

void TestScanBox::f3ReachesTheBox()
{
    QFETCH(QString, from);
    Fixture f;
    QVERIFY(f.ready());
    QLineEdit *field = f.edit(from);
    field->setFocus();
    const QString before = field->text();
    QTest::keyClick(field, Qt::Key_F3);
    QCOMPARE(QApplication::focusWidget(), f.box());
    QCOMPARE(field->text(), before);
}

QTEST_MAIN(TestScanBox)
#include "tst_scanbox.moc"
