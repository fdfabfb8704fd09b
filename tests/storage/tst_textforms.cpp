#include "storage/Cp1252.h"
#include "storage/ShortString.h"
#include "storage/TextForms.h"

#include <QTest>

#include <limits>

class TestTextForms : public QObject
{
    Q_OBJECT
private slots:
    void textToNumber_data();
    void textToNumber();
    void numberToText_data();
    void numberToText();
    void roundDecimals_data();
    void roundDecimals();
    void formatAmountText_data();
    void formatAmountText();
    void formatCountText_data();
    void formatCountText();
    void leftRightYear();
    void calendarDate_data();
    void calendarDate();
    void clockIsInjectable();
    void storeField_data();
    void storeField();
    void loadFieldClampsDamagedLength();
    void codePageRoundTrip();
};

void TestTextForms::textToNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    const struct
    {
        const char *name;
        const char16_t *text;
        bool ok;
        double value;
    } rows[] = {
        { "whole", u"15", true, 15 },
        { "decimal comma", u"12,5", true, 12.5 },
        { "blanks around and plus sign", u"  +7  ", true, 7 },
        { "negative", u"-2,25", true, -2.25 },
        { "leading zeros", u"007", true, 7 },
        { "comma without integer part", u",5", true, 0.5 },
        { "exponent", u"1,5E3", true, 1500 },
        { "lower-case exponent with sign", u"2e-2", true, 0.02 },
        { "point is not a separator", u"12.5", false, 0 },
        { "thousands separator", u"1.000,00", false, 0 },
        { "empty", u"", false, 0 },
        { "blank only", u"   ", false, 0 },
        { "letters", u"abc", false, 0 },
        { "two commas", u"1,2,3", false, 0 },
        { "exponent without digits", u"1E", false, 0 },
        { "sign alone", u"-", false, 0 },
        { "blank inside", u"1 2", false, 0 },
        { "too large for a double", u"1E400", false, 0 },
        { "tiny underflows to zero", u"1E-400", true, 0 },
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << QString::fromUtf16(r.text) << r.ok << r.value;
}

void TestTextForms::textToNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const auto number = TextToNumber(text);
    QCOMPARE(number.has_value(), ok);
    if (ok)
        QCOMPARE(*number, value);
}

void TestTextForms::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("twelve and a half") << 12.5 << QStringLiteral("12,5");
    QTest::newRow("three") << 3.0 << QStringLiteral("3");
    QTest::newRow("minus two") << -2.0 << QStringLiteral("-2");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
    QTest::newRow("negative zero") << -0.0 << QStringLiteral("0");
    QTest::newRow("binary noise cut at 15 digits") << 0.1 + 0.2 << QStringLiteral("0,3");
    QTest::newRow("15 digits kept") << 123456789012345.0 << QStringLiteral("123456789012345");
    QTest::newRow("10^15 in exponent form") << 1e15 << QStringLiteral("1E15");
    QTest::newRow("1E20") << 1e20 << QStringLiteral("1E20");
    QTest::newRow("smallest fixed form") << 0.00001 << QStringLiteral("0,00001");
    QTest::newRow("below 0,00001") << 0.0000015 << QStringLiteral("1,5E-6");
    QTest::newRow("negative exponent form") << -2.5e-7 << QStringLiteral("-2,5E-7");
    QTest::newRow("rounding to 15 digits reaches 10^15")
        << 999999999999999.9 << QStringLiteral("1E15");
    QTest::newRow("many decimals") << 3.14159 << QStringLiteral("3,14159");
}

void TestTextForms::numberToText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberToText(value), text);
    // Every finite text form reads back as the number it came from (to 15 digits).
    const auto back = TextToNumber(text);
    QVERIFY(back.has_value());
    QVERIFY(qAbs(*back - value) <= qAbs(value) * 1e-14);
}

void TestTextForms::roundDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("expected");
    QTest::newRow("half up") << 2.5 << 0 << 3.0;
    QTest::newRow("negative half goes up") << -2.5 << 0 << -2.0;
    QTest::newRow("0,125 to cents") << 0.125 << 2 << 0.13;
    QTest::newRow("whole number unchanged") << -3.0 << 0 << -3.0;
    QTest::newRow("1,005 is below the half in binary") << 1.005 << 2 << 1.0;
    QTest::newRow("four decimals") << 3.14159 << 4 << 3.1416;
}

void TestTextForms::roundDecimals()
{
    QFETCH(double, value);
    QFETCH(int, n);
    QFETCH(double, expected);
    QCOMPARE(RoundDecimals(value, n), expected);
}

void TestTextForms::formatAmountText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");
    const struct
    {
        const char *name;
        const char16_t *text;
        int n;
        const char16_t *expected;
    } rows[] = {
        { "empty", u"", 4, u"0,00" },
        { "blank", u"   ", 4, u"0,00" },
        { "whole", u"5", 4, u"5,00" },
        { "twelve", u"12", 2, u"12,00" },
        { "one decimal padded", u"0,5", 4, u"0,50" },
        { "12,5", u"12,5", 4, u"12,50" },
        { "four decimals kept", u"1,23456", 4, u"1,2346" },
        { "pi to four", u"3,14159", 4, u"3,1416" },
        { "pi to two", u"3,14159", 2, u"3,14" },
        { "three decimals kept", u"2,125", 4, u"2,125" },
        { "point is invalid", u"1.5", 4, u"0,00" },
        { "several commas", u"1,2,3", 4, u"0,00" },
        { "letters", u"abc", 4, u"0,00" },
        { "negative", u"-7,5", 2, u"-7,50" },
        { "zero", u"0", 4, u"0,00" },
        { "gross price", u"12,322", 2, u"12,32" },
        { "exponent read", u"1E3", 2, u"1000,00" },
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << QString::fromUtf16(r.text) << r.n
                              << QString::fromUtf16(r.expected);
}

void TestTextForms::formatAmountText()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(FormatAmountText(text, n), expected);
}

void TestTextForms::formatCountText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty") << QString() << QStringLiteral("0");
    QTest::newRow("7") << QStringLiteral("7") << QStringLiteral("7");
    QTest::newRow("leading zeros") << QStringLiteral("007") << QStringLiteral("7");
    QTest::newRow("3,4 down") << QStringLiteral("3,4") << QStringLiteral("3");
    QTest::newRow("3,5 up") << QStringLiteral("3,5") << QStringLiteral("4");
    QTest::newRow("2,5 up") << QStringLiteral("2,5") << QStringLiteral("3");
    QTest::newRow("negative") << QStringLiteral("-3") << QStringLiteral("-3");
    QTest::newRow("letters") << QStringLiteral("abc") << QStringLiteral("0");
}

void TestTextForms::formatCountText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(FormatCountText(text), expected);
}

void TestTextForms::leftRightYear()
{
    QCOMPARE(TextLeft(u"abcdef", 3), QStringLiteral("abc"));
    QCOMPARE(TextLeft(u"ab", 5), QStringLiteral("ab"));
    QCOMPARE(TextRight(u"abcdef", 2), QStringLiteral("ef"));
    QCOMPARE(TextRight(u"ab", 5), QStringLiteral("ab"));
    QCOMPARE(TextLeft(u"abc", 0), QString());
    QCOMPARE(YearOf(u"05/03/2021"), QStringLiteral("2021"));
    QCOMPARE(LowerAscii(u"ABC È è z"), QStringLiteral("abc È è z"));
    QCOMPARE(UpperAscii(u"abc è"), QStringLiteral("ABC è"));
}

void TestTextForms::calendarDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<bool>("readable");
    QTest::newRow("ordinary") << QStringLiteral("05/03/2021") << true << true;
    QTest::newRow("leap day of a leap year") << QStringLiteral("29/02/2024") << true << true;
    QTest::newRow("29 February of a common year") << QStringLiteral("29/02/2023") << false << false;
    QTest::newRow("1900 is not a leap year") << QStringLiteral("29/02/1900") << false << false;
    QTest::newRow("2000 is a leap year") << QStringLiteral("29/02/2000") << true << true;
    QTest::newRow("31 April") << QStringLiteral("31/04/2021") << false << false;
    QTest::newRow("month 13") << QStringLiteral("01/13/2021") << false << false;
    QTest::newRow("day zero") << QStringLiteral("00/01/2021") << false << false;
    QTest::newRow("short form is readable, not strict")
        << QStringLiteral("5/3/2021") << false << true;
    QTest::newRow("dashes") << QStringLiteral("05-03-2021") << false << false;
    QTest::newRow("empty") << QString() << false << false;
    QTest::newRow("letters") << QStringLiteral("aa/bb/cccc") << false << false;
}

void TestTextForms::calendarDate()
{
    QFETCH(QString, text);
    QFETCH(bool, strict);
    QFETCH(bool, readable);
    QCOMPARE(IsCalendarDate(text), strict);
    QCOMPARE(DateFromText(text).has_value(), readable);
}

void TestTextForms::clockIsInjectable()
{
    Clock::setFixed(QDateTime(QDate(2021, 12, 31), QTime(9, 5, 30)));
    QCOMPARE(Today(), QStringLiteral("31/12/2021"));
    QCOMPARE(Now(), QStringLiteral("09:05:30"));
    Clock::reset();
    QVERIFY(IsCalendarDate(Today()));
}

void TestTextForms::storeField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QByteArray>("expected"); // the length byte and the text bytes
    QTest::newRow("blanks trimmed") << QStringLiteral("  abc  ") << 30
                                    << QByteArray("\x03"
                                                  "abc",
                                           4);
    QTest::newRow("control characters trimmed") << QStringLiteral("\tabc\r\n") << 30
                                                << QByteArray("\x03"
                                                              "abc",
                                                       4);
    QTest::newRow("31 characters into 30")
        << QString(31, u'x') << 30 << (QByteArray(1, char(30)) + QByteArray(30, 'x'));
    QTest::newRow("empty") << QString() << 10 << QByteArray(1, '\0');
    QTest::newRow("accented letters")
        << QStringLiteral("perché è") << 20 << QByteArray("\x08perch\xe9 \xe8", 9);
    QTest::newRow("euro sign") << QStringLiteral("€ 5") << 20 << QByteArray("\x03\x80 5", 4);
    QTest::newRow("greek letter becomes ?") << QStringLiteral("aπb") << 20
                                            << QByteArray("\x03"
                                                          "a?b",
                                                   4);
    QTest::newRow("character outside the BMP is one ?")
        << QString::fromUtf8("a\xF0\x9F\x98\x80") << 20
        << QByteArray("\x02"
                      "a?",
               3);
    QTest::newRow("only the first 255 characters count")
        << QString(300, u'y') << 250 << (QByteArray(1, char(250)) + QByteArray(250, 'y'));
}

void TestTextForms::storeField()
{
    QFETCH(QString, text);
    QFETCH(int, capacity);
    QFETCH(QByteArray, expected);
    const QByteArray stored = StoreField(text, capacity);
    QCOMPARE(stored.size(), capacity + 1);
    QCOMPARE(stored.left(expected.size()), expected);
    // Bytes after the text are zeros.
    QCOMPARE(stored.mid(expected.size()), QByteArray(capacity + 1 - expected.size(), '\0'));
    QCOMPARE(LoadField(stored, capacity), TrimControl(Cp1252::decode(expected.mid(1))));
}

void TestTextForms::loadFieldClampsDamagedLength()
{
    QByteArray field = StoreField(u"abcdef", 4); // "abcd"
    field[0] = char(200); // damaged length byte
    QCOMPARE(LoadField(field, 4), QStringLiteral("abcd"));
    QCOMPARE(LoadField(QByteArrayView(), 4), QString());
}

void TestTextForms::codePageRoundTrip()
{
    for (int b = 0; b < 256; ++b) {
        const QChar ch = Cp1252::decodeByte(static_cast<unsigned char>(b));
        QCOMPARE(static_cast<unsigned char>(Cp1252::encodeChar(ch)), static_cast<unsigned char>(b));
    }
}

QTEST_APPLESS_MAIN(TestTextForms)
#include "tst_textforms.moc"
