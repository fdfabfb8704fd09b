#include "customers/CustomerRules.h"

#include <QTest>

using CustomerRules::SaveFailure;
using namespace Qt::StringLiterals;

class TestCustomerRules : public QObject
{
    Q_OBJECT
private slots:
    void dueTest_data();
    void dueTest();
    void instalmentDate_data();
    void instalmentDate();
    void saveChecks_data();
    void saveChecks();
};

// Expected: "due", "not due", or "stop" (the record cannot be tested: the due list ends).
void TestCustomerRules::dueTest_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("scadenza");
    QTest::addColumn<QString>("preavviso");
    QTest::addColumn<QString>("expected");

    static const struct
    {
        const char *name;
        QDate today;
        const char16_t *scadenza;
        const char16_t *preavviso;
        const char *expected;
    } rows[] = {
        { "due today, no notice", { 2021, 3, 15 }, u"15/03/2021", u"0", "due" },
        { "five days of notice reach today", { 2021, 3, 15 }, u"20/03/2021", u"5", "due" },
        { "four days of notice stop tomorrow", { 2021, 3, 15 }, u"20/03/2021", u"4", "not due" },
        { "overdue, no notice", { 2021, 3, 15 }, u"01/01/2021", u"0", "due" },
        { "overdue, long notice", { 2021, 3, 15 }, u"01/01/2021", u"999", "due" },
        { "tomorrow, no notice", { 2021, 3, 15 }, u"16/03/2021", u"0", "not due" },
        // 05/01/2021 - 10 days = 26/12/2020: across the month and the year
        { "notice crosses the year, on the day", { 2020, 12, 26 }, u"05/01/2021", u"10", "due" },
        { "notice crosses the year, the day before", { 2020, 12, 25 }, u"05/01/2021", u"10",
            "not due" },
        { "notice crosses a month end", { 2021, 4, 30 }, u"02/05/2021", u"2", "due" },
        { "notice crosses a month end, too early", { 2021, 4, 29 }, u"02/05/2021", u"2",
            "not due" },
        // 01/03/2024 - 1 = 29/02/2024 (leap year); 01/03/2023 - 1 = 28/02/2023
        { "leap day as notice date", { 2024, 2, 29 }, u"01/03/2024", u"1", "due" },
        { "leap year, the day before the leap day", { 2024, 2, 28 }, u"01/03/2024", u"1",
            "not due" },
        { "common year, notice on 28 February", { 2023, 2, 28 }, u"01/03/2023", u"1", "due" },
        { "due on a leap day", { 2024, 2, 29 }, u"29/02/2024", u"0", "due" },
        // 999 days before 30/09/2023 is 04/01/2021
        { "999 days of notice, on the day", { 2021, 1, 4 }, u"30/09/2023", u"999", "due" },
        { "999 days of notice, the day before", { 2021, 1, 3 }, u"30/09/2023", u"999", "not due" },
        { "far in the future", { 2021, 3, 15 }, u"31/12/2099", u"0", "not due" },
        { "short day and month", { 2021, 3, 5 }, u"5/3/2021", u"0", "due" },
        { "blanks around the texts", { 2021, 3, 15 }, u" 15/03/2021 ", u" 0 ", "due" },
        { "31 February", { 2021, 3, 15 }, u"31/02/2021", u"0", "stop" },
        { "29 February of a common year", { 2023, 3, 15 }, u"29/02/2023", u"0", "stop" },
        { "two-digit year", { 2021, 3, 15 }, u"1/1/21", u"0", "stop" },
        { "empty due date", { 2021, 3, 15 }, u"", u"0", "stop" },
        { "blanks only", { 2021, 3, 15 }, u"   ", u"0", "stop" },
        { "letters", { 2021, 3, 15 }, u"domani", u"0", "stop" },
        { "dashes", { 2021, 3, 15 }, u"15-03-2021", u"0", "stop" },
        { "empty notice", { 2021, 3, 15 }, u"15/03/2021", u"", "stop" },
        { "notice with a letter", { 2021, 3, 15 }, u"15/03/2021", u"5a", "stop" },
        { "negative notice", { 2021, 3, 15 }, u"15/03/2021", u"-1", "stop" },
        { "notice with a comma", { 2021, 3, 15 }, u"15/03/2021", u"1,5", "stop" },
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << r.today << QString::fromUtf16(r.scadenza)
                              << QString::fromUtf16(r.preavviso) << QString::fromLatin1(r.expected);
}

void TestCustomerRules::dueTest()
{
    QFETCH(QDate, today);
    QFETCH(QString, scadenza);
    QFETCH(QString, preavviso);
    QFETCH(QString, expected);

    const std::optional<bool> due = CustomerRules::isDue(scadenza, preavviso, today);
    const QString got = !due ? QStringLiteral("stop")
                             : (*due ? QStringLiteral("due") : QStringLiteral("not due"));
    QCOMPARE(got, expected);
}

void TestCustomerRules::instalmentDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected"); // invalid: not a date

    QTest::newRow("full form") << u"09/05/2021"_s << QDate(2021, 5, 9);
    QTest::newRow("short day and month") << u"9/5/2021"_s << QDate(2021, 5, 9);
    QTest::newRow("leap day") << u"29/02/2020"_s << QDate(2020, 2, 29);
    QTest::newRow("31 December") << u"31/12/2021"_s << QDate(2021, 12, 31);
    QTest::newRow("31 February") << u"31/02/2021"_s << QDate();
    QTest::newRow("29 February 2023") << u"29/02/2023"_s << QDate();
    QTest::newRow("31 April") << u"31/04/2021"_s << QDate();
    QTest::newRow("month 13") << u"01/13/2021"_s << QDate();
    QTest::newRow("day 0") << u"00/01/2021"_s << QDate();
    QTest::newRow("two-digit year") << u"1/1/21"_s << QDate();
    QTest::newRow("five-digit year") << u"01/01/20210"_s << QDate();
    QTest::newRow("no slashes") << u"01012021"_s << QDate();
    QTest::newRow("a fourth part") << u"01/01/2021/1"_s << QDate();
    QTest::newRow("year with a letter") << u"01/01/20a1"_s << QDate();
    QTest::newRow("empty") << QString() << QDate();
}

void TestCustomerRules::instalmentDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    const std::optional<QDate> date = CustomerRules::instalmentDate(text);
    QCOMPARE(date.value_or(QDate()), expected);
}

void TestCustomerRules::saveChecks_data()
{
    QTest::addColumn<QStringList>("card"); // Cognome, Nome, Decorrenza, Scadenza, Preavviso
    QTest::addColumn<bool>("fails");
    QTest::addColumn<Notice::Kind>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("focus");

    const QString dateTail = QStringLiteral("\n\r\n\rPer poter salvare la scheda è necessario "
                                            "indicare una data valida nel formato gg/mm/aaaa.");
    using Box = Notice::Kind;
    const QStringList good = { u"Rossi"_s, u"Mario"_s, u"10/05/2021"_s, u"10/05/2021"_s, u"0"_s };
    auto with = [&good](int field, const QString &text) {
        QStringList card = good;
        card[field] = text;
        return card;
    };

    QTest::newRow("all present, equal dates")
        << good << false << Box::Warning << QString() << QString();
    QTest::newRow("the values of a new card and a name")
        << QStringList { u"Rossi"_s, u"Mario"_s, u"15/03/2021"_s, u"15/03/2021"_s, u"0"_s } << false
        << Box::Warning << QString() << QString();
    QTest::newRow("empty surname")
        << with(0, QString()) << true << Box::Warning
        << u"Attenzione: per salvare la scheda è necessario indicare il cognome del Cliente."_s
        << u"txtCognome"_s;
    QTest::newRow("surname of blanks only")
        << with(0, u"   "_s) << true << Box::Warning
        << u"Attenzione: per salvare la scheda è necessario indicare il cognome del Cliente."_s
        << u"txtCognome"_s;
    // the surname is checked first even when everything else is missing too
    QTest::newRow("everything empty")
        << QStringList { QString(), QString(), QString(), QString(), QString() } << true
        << Box::Warning
        << u"Attenzione: per salvare la scheda è necessario indicare il cognome del Cliente."_s
        << u"txtCognome"_s;
    QTest::newRow("empty name")
        << with(1, u" "_s) << true << Box::Warning
        << u"Attenzione: per salvare la scheda è necessario indicare il nome del Cliente."_s
        << u"txtNome"_s;
    QTest::newRow("empty start date")
        << with(2, QString()) << true << Box::Warning
        << u"Attenzione: per salvare la scheda è necessario indicare la data di decorrenza "
           "dell'acquisto rateale effettuato."_s
        << u"txtDecorrenza"_s;
    // an empty due date is reported before a wrong start date
    QTest::newRow("empty due date, wrong start date")
        << QStringList { u"Rossi"_s, u"Mario"_s, u"31/02/2021"_s, QString(), u"0"_s } << true
        << Box::Warning
        << u"Attenzione: per salvare la scheda è necessario indicare la data di scadenza della "
           "prossima rata."_s
        << u"txtScadenza"_s;
    QTest::newRow("start date 31/02/2021")
        << with(2, u"31/02/2021"_s) << true << Box::Plain
        << u"Attenzione: la data di decorrenza 31/02/2021 non esiste."_s + dateTail
        << u"txtDecorrenza"_s;
    QTest::newRow("start date trimmed in the message")
        << with(2, u"  29/02/2023 "_s) << true << Box::Plain
        << u"Attenzione: la data di decorrenza 29/02/2023 non esiste."_s + dateTail
        << u"txtDecorrenza"_s;
    QTest::newRow("start date with a two-digit year")
        << with(2, u"1/1/21"_s) << true << Box::Plain
        << u"Attenzione: la data di decorrenza 1/1/21 non esiste."_s + dateTail
        << u"txtDecorrenza"_s;
    QTest::newRow("due date 29/02/2023")
        << with(3, u"29/02/2023"_s) << true << Box::Plain
        << u"Attenzione: la data di scadenza 29/02/2023 non esiste."_s + dateTail
        << u"txtScadenza"_s;
    QTest::newRow("both dates wrong: the start date first")
        << QStringList { u"Rossi"_s, u"Mario"_s, u"xx"_s, u"yy"_s, u"0"_s } << true << Box::Plain
        << u"Attenzione: la data di decorrenza xx non esiste."_s + dateTail << u"txtDecorrenza"_s;
    QTest::newRow("due date before the start date")
        << QStringList { u"Rossi"_s, u"Mario"_s, u"10/05/2021"_s, u"09/05/2021"_s, u"0"_s } << true
        << Box::Plain
        << u"Attenzione: la data di scadenza della prossima rata (09/05/2021) non può essere "
           "anteriore a quella di decorrenza (10/05/2021).\n\r\n\rPer poter salvare la scheda è "
           "necessario indicare un intervallo di tempo valido."_s
        << QString();
    QTest::newRow("dates compared as dates, not as texts")
        << QStringList { u"Rossi"_s, u"Mario"_s, u"31/12/2020"_s, u"01/01/2021"_s, u"0"_s } << false
        << Box::Warning << QString() << QString();
    // the interval is checked before the days of notice
    QTest::newRow("bad interval and no notice")
        << QStringList { u"Rossi"_s, u"Mario"_s, u"02/01/2021"_s, u"01/01/2021"_s, QString() }
        << true << Box::Plain
        << u"Attenzione: la data di scadenza della prossima rata (01/01/2021) non può essere "
           "anteriore a quella di decorrenza (02/01/2021).\n\r\n\rPer poter salvare la scheda è "
           "necessario indicare un intervallo di tempo valido."_s
        << QString();
    QTest::newRow("empty days of notice")
        << with(4, QString()) << true << Box::Warning
        << u"Attenzione: per salvare la scheda è necessario indicare i giorni di preavviso."_s
        << u"txtPreavviso"_s;
}

void TestCustomerRules::saveChecks()
{
    QFETCH(QStringList, card);
    QFETCH(bool, fails);
    QFETCH(Notice::Kind, box);
    QFETCH(QString, text);
    QFETCH(QString, focus);

    const auto failure
        = CustomerRules::firstFailingCheck({ card[0], card[1], card[2], card[3], card[4] });
    QCOMPARE(failure.has_value(), fails);
    if (!failure)
        return;
    QCOMPARE(failure->notice.kind, box);
    QCOMPARE(failure->notice.text, text);
    QCOMPARE(failure->focus, focus);
}

QTEST_APPLESS_MAIN(TestCustomerRules)
#include "tst_customerrules.moc"
