#include "cards/CardNavigation.h"

#include <QTest>

using CardNavigation::Move;
using Action = CardNavigation::Step::Action;

class TestCardNavigation : public QObject
{
    Q_OBJECT
private slots:
    void decide_data();
    void decide();
    void decideSave_data();
    void decideSave();
};

void TestCardNavigation::decide_data()
{
    QTest::addColumn<Move>("move");
    QTest::addColumn<QString>("position");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<Action>("action");
    QTest::addColumn<qint64>("index");
    QTest::addColumn<bool>("clearPosition");

    static const struct
    {
        const char *name;
        Move move;
        const char16_t *position;
        qint64 count;
        Action action;
        qint64 index;
        bool clearPosition;
    } rows[] = {
        { "first, empty archive", Move::First, u"", 0, Action::EmptyArchive, -1, false },
        { "first from a new card", Move::First, u"", 3, Action::Read, 0, false },
        { "first from the middle", Move::First, u"2", 3, Action::Read, 0, false },
        { "last, empty archive", Move::Last, u"2", 0, Action::EmptyArchive, -1, false },
        { "last from a new card", Move::Last, u"", 3, Action::Read, 2, false },
        { "last from the first", Move::Last, u"1", 3, Action::Read, 2, false },
        { "previous at the first", Move::Previous, u"1", 3, Action::Stay, -1, false },
        // position 1 is checked before the count: silent even over an empty archive
        { "previous at the first, empty archive", Move::Previous, u"1", 0, Action::Stay, -1,
            false },
        { "previous from a new card, empty archive", Move::Previous, u"", 0, Action::EmptyArchive,
            -1, false },
        { "previous from a new card", Move::Previous, u"", 3, Action::Read, 0, false },
        { "previous from the third", Move::Previous, u"3", 3, Action::Read, 1, false },
        // the file refuses index 3 of a 3-record archive: the card reports an access error
        { "previous beyond the archive", Move::Previous, u"5", 3, Action::Read, 3, false },
        { "next, empty archive, new card", Move::Next, u"", 0, Action::EmptyArchive, -1, true },
        { "next, empty archive, stored card", Move::Next, u"2", 0, Action::EmptyArchive, -1, true },
        { "next from a new card", Move::Next, u"", 3, Action::Read, 0, false },
        { "next from the second", Move::Next, u"2", 3, Action::Read, 2, false },
        { "next at the last", Move::Next, u"3", 3, Action::Stay, -1, false },
        { "next beyond the archive", Move::Next, u"7", 3, Action::Stay, -1, false },
    };
    for (const auto &r : rows) {
        QTest::newRow(r.name) << r.move << QString::fromUtf16(r.position) << r.count << r.action
                              << r.index << r.clearPosition;
    }
}

void TestCardNavigation::decide()
{
    QFETCH(Move, move);
    QFETCH(QString, position);
    QFETCH(qint64, count);
    QFETCH(Action, action);
    QFETCH(qint64, index);
    QFETCH(bool, clearPosition);

    const CardNavigation::Step step = CardNavigation::decide(move, position, count);
    QCOMPARE(step.action, action);
    if (action == Action::Read) {
        QCOMPARE(step.index, index);
        QCOMPARE(step.position(), index + 1);
    }
    QCOMPARE(step.clearPosition, clearPosition);
}

void TestCardNavigation::decideSave_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<bool>("append");
    QTest::addColumn<qint64>("index");
    QTest::addColumn<QString>("message");

    const QString appended = QStringLiteral("La scheda corrente è stata inserita in archivio.");
    const QString rewritten = QStringLiteral(
        "Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
    QTest::newRow("new card") << QString() << true << qint64(-1) << appended;
    QTest::newRow("stored at 1") << QStringLiteral("1") << false << qint64(0) << rewritten;
    QTest::newRow("stored at 12") << QStringLiteral("12") << false << qint64(11) << rewritten;
    QTest::newRow("not a position") << QStringLiteral("x") << true << qint64(-1) << appended;
    QTest::newRow("zero") << QStringLiteral("0") << true << qint64(-1) << appended;
}

void TestCardNavigation::decideSave()
{
    QFETCH(QString, position);
    QFETCH(bool, append);
    QFETCH(qint64, index);
    QFETCH(QString, message);

    const CardNavigation::Save save = CardNavigation::decideSave(position);
    QCOMPARE(save.append, append);
    if (!append)
        QCOMPARE(save.index, index);
    QCOMPARE(save.notice.text, message);
    QCOMPARE(save.notice.kind, Notice::Kind::Information);
}

QTEST_APPLESS_MAIN(TestCardNavigation)
#include "tst_cardnavigation.moc"
