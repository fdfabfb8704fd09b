#include "app/Crypt.h"

#include <QRegularExpression>
#include <QTest>

class TestCrypt : public QObject
{
    Q_OBJECT
private slots:
    void knownAnswers_data();
    void knownAnswers();
    void roundTrip_data();
    void roundTrip();
    void everyByteValueRoundTrips();
    void onlyTheLowByteOfACharacterCounts();
    void keyIsFedBackWithTheScrambledByte();
    void unscrambleReadsPairs_data();
    void unscrambleReadsPairs();
    void nonHexPairFails_data();
    void nonHexPairFails();
};

// Worked out by hand from the algorithm and the three constants, outside this program:
// they pin the file format, since a password file is readable only with the constants
// that wrote it.
void TestCrypt::knownAnswers_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("scrambled");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one character") << QStringLiteral("A") << QStringLiteral("2D");
    QTest::newRow("initial password")
        << QStringLiteral("SCAFFALE2026") << QStringLiteral("3F93D3775D7B6F99D4D2A241");
    // Equal characters give different pairs: the key moves on after each one.
    QTest::newRow("repeated letter") << QStringLiteral("AAAA") << QStringLiteral("2DF18FB2");
    QTest::newRow("first letter changed") << QStringLiteral("BAAA") << QStringLiteral("2E0F5090");
    QTest::newRow("byte 0 and 255")
        << QString::fromUtf16(u"\u0000\u00FF", 2) << QStringLiteral("6C60");
}

void TestCrypt::knownAnswers()
{
    QFETCH(QString, password);
    QFETCH(QString, scrambled);

    QCOMPARE(Crypt::scramble(password), scrambled);
    QCOMPARE(Crypt::unscramble(scrambled), std::optional<QString>(password));
}

void TestCrypt::roundTrip_data()
{
    QTest::addColumn<QString>("password");

    QTest::newRow("empty") << QString();
    QTest::newRow("one character") << QStringLiteral("x");
    QTest::newRow("blank inside") << QStringLiteral("LA MIA PASSWORD");
    QTest::newRow("accented") << QStringLiteral("CITTÀ è più");
    QTest::newRow("control characters") << QStringLiteral("A\tB\r\nC");
    QString longest;
    for (int i = 0; i < 255; ++i)
        longest += QChar(u'A' + i % 26);
    QTest::newRow("255 characters") << longest;
}

void TestCrypt::roundTrip()
{
    QFETCH(QString, password);

    const QString scrambled = Crypt::scramble(password);
    QCOMPARE(scrambled.size(), password.size() * 2);
    static const QRegularExpression upperHex(QStringLiteral("^[0-9A-F]*$"));
    QVERIFY2(upperHex.match(scrambled).hasMatch(), qPrintable(scrambled));
    QCOMPARE(Crypt::unscramble(scrambled), std::optional<QString>(password));
    QCOMPARE(Crypt::unscramble(scrambled.toLower()), std::optional<QString>(password));
}

void TestCrypt::everyByteValueRoundTrips()
{
    // Every byte value at every position of a 255-character text, in two orders.
    QString up;
    QString down;
    for (int c = 0; c < 255; ++c) {
        up += QChar(char16_t(c));
        down += QChar(char16_t(255 - c));
    }
    for (const QString &password : { up, down }) {
        const QString scrambled = Crypt::scramble(password);
        QCOMPARE(scrambled.size(), 510);
        QCOMPARE(Crypt::unscramble(scrambled), std::optional<QString>(password));
    }
}

void TestCrypt::onlyTheLowByteOfACharacterCounts()
{
    // U+20AC (euro) and U+00AC share their low byte.
    QCOMPARE(Crypt::scramble(QStringLiteral("€")), Crypt::scramble(QStringLiteral("¬")));
    QCOMPARE(Crypt::unscramble(Crypt::scramble(QStringLiteral("€"))),
        std::optional<QString>(QStringLiteral("¬")));
}

void TestCrypt::keyIsFedBackWithTheScrambledByte()
{
    // The first pair is the first character mixed with the start key alone.
    const int first = 'Q' ^ (Crypt::kStartKey >> 8);
    QCOMPARE(Crypt::scramble(QStringLiteral("Q")).toInt(nullptr, 16), first);
    // Two passwords that differ only in their first character differ in their first pair,
    // and their later pairs depend on it.
    const QString a = Crypt::scramble(QStringLiteral("PASSWORD"));
    const QString b = Crypt::scramble(QStringLiteral("QASSWORD"));
    QVERIFY(a.left(2) != b.left(2));
    QVERIFY(a.mid(2) != b.mid(2));
    // Unscrambling a changed pair spoils only that character and the ones after it.
    QString spoiled = a;
    spoiled.replace(
        4, 2, a.mid(4, 2) == QStringLiteral("00") ? QStringLiteral("01") : QStringLiteral("00"));
    const QString back = Crypt::unscramble(spoiled).value_or(QString());
    QCOMPARE(back.left(2), QStringLiteral("PA"));
    QVERIFY(back.mid(2) != QStringLiteral("SSWORD"));
}

void TestCrypt::unscrambleReadsPairs_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("password");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("one digit is ignored") << QStringLiteral("2") << QString();
    QTest::newRow("odd digit count ignores the last")
        << QStringLiteral("2DF18FB2F") << QStringLiteral("AAAA");
    QTest::newRow("a last non-hex single character is ignored")
        << QStringLiteral("2DF1Z") << QStringLiteral("AA");
    QTest::newRow("lower-case digits") << QStringLiteral("2df18fb2") << QStringLiteral("AAAA");
    QTest::newRow("mixed case digits") << QStringLiteral("2dF18Fb2") << QStringLiteral("AAAA");
}

void TestCrypt::unscrambleReadsPairs()
{
    QFETCH(QString, hex);
    QFETCH(QString, password);

    QCOMPARE(Crypt::unscramble(hex), std::optional<QString>(password));
}

void TestCrypt::nonHexPairFails_data()
{
    QTest::addColumn<QString>("hex");

    QTest::newRow("letter past F") << QStringLiteral("2DG1");
    QTest::newRow("blank inside a pair") << QStringLiteral("2D F18F");
    QTest::newRow("leading blank") << QStringLiteral(" 2DF1");
    QTest::newRow("sign") << QStringLiteral("+1");
    QTest::newRow("0x prefix") << QStringLiteral("0x2D");
    QTest::newRow("full-width digit") << QStringLiteral("2\uFF11");
    QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0661\u0662");
    QTest::newRow("bad pair at the end") << QStringLiteral("2DF18FZZ");
}

void TestCrypt::nonHexPairFails()
{
    QFETCH(QString, hex);

    QVERIFY(!Crypt::unscramble(hex).has_value());
}

QTEST_APPLESS_MAIN(TestCrypt)
#include "tst_crypt.moc"
