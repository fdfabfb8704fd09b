#include "checks/CardNumber.h"
#include "checks/IbanCheck.h"
#include "checks/TaxCode.h"
#include "checks/VatNumber.h"

#include <QTest>

// The check letters, check digits and remainders below were computed apart from this
// program, from the published check rules.

using Kind = CheckOutcome::Kind;
using namespace Qt::StringLiterals;
Q_DECLARE_METATYPE(CheckOutcome::Kind)

namespace {

void addOutcomeColumns()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("closes");
}

void compareOutcome(const CheckOutcome &outcome)
{
    QFETCH(Kind, kind);
    QFETCH(QString, text);
    QFETCH(bool, closes);
    QCOMPARE(outcome.notice.text, text);
    QCOMPARE(outcome.notice.kind, kind);
    QCOMPARE(outcome.closes, closes);
}

} // namespace

class TestChecks : public QObject
{
    Q_OBJECT
private slots:
    void checkTaxCode_data();
    void checkTaxCode();
    void codeCheckFor_data();
    void codeCheckFor();
    void taxCodeOutcome_data();
    void taxCodeOutcome();

    void checkVatNumber_data();
    void checkVatNumber();
    void vatOfficeName_data();
    void vatOfficeName();
    void vatOfficeTableHas104Entries();
    void vatNumberOutcome_data();
    void vatNumberOutcome();

    void ibanMod97_data();
    void ibanMod97();
    void checkIban_data();
    void checkIban();
    void ibanOutcome_data();
    void ibanOutcome();

    void cardCheckCode_data();
    void cardCheckCode();
    void cardNetworkName_data();
    void cardNetworkName();
    void cardOutcome_data();
    void cardOutcome();
};

void TestChecks::checkTaxCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("valid");
    static const struct
    {
        const char *name;
        const char16_t *code;
        bool valid;
    } rows[] = {
        // Positions 1 to 15 add up to 8, and the 8th letter from A = 0 is I.
        { "simple code, right letter", u"AAABBB00A01A000I", true },
        { "simple code, wrong letter", u"AAABBB00A01A000A", false },
        { "Rossi Mario", u"RSSMRA85T10A562S", true },
        { "Rossi Mario, wrong letter", u"RSSMRA85T10A562T", false },
        { "Martini Matteo", u"MRTMTT91D08F205J", true },
        { "Bianchi Giovanni", u"BNCGVN80A01H501J", true },
        { "Verdi Giuseppe", u"VRDGPP13R10B293P", true },
        { "all Z and 9, sum 25 mod 26", u"ZZZZZZ99Z99Z999R", true },
        { "digits and letters swapped places", u"12345678901234?N", true },
        { "colon counts 0", u"0000000000000:0I", true },
        // Each of these would be right if the odd character counted 0 like the signs
        // between "9" and "A": outside the tables they make the code wrong.
        { "blank inside", u"RSSMRA85 10A562E", false },
        { "hyphen inside", u"RSSMRA85-10A562E", false },
        { "accented letter", u"RSSMRÀ85T10A562S", false },
        { "code above Z", u"RSS[RA85T10A562G", false },
        { "code below 0", u"RSSM/A85T10A562K", false },
        { "lower-case letter", u"RSaMRA85T10A562G", false },
        { "lower-case check letter", u"RSSMRA85T10A562s", false },
        { "15 characters", u"RSSMRA85T10A562", false },
        { "17 characters", u"RSSMRA85T10A562SS", false },
        { "empty", u"", false },
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromUtf16(row.code) << row.valid;
}

void TestChecks::checkTaxCode()
{
    QFETCH(QString, code);
    QFETCH(bool, valid);
    QCOMPARE(CheckTaxCode(code), valid);
}

void TestChecks::taxCodeOutcome_data()
{
    addOutcomeColumns();
    const QString length = QStringLiteral(
        "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");
    const QString valid = QStringLiteral("Il codice fiscale digitato è VALIDO.");
    const QString wrong = QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO.");
    QTest::newRow("valid") << "AAABBB00A01A000I" << Kind::Information << valid << true;
    QTest::newRow("lower case is upper-cased")
        << "rssmra85t10a562s" << Kind::Information << valid << true;
    QTest::newRow("wrong letter") << "AAABBB00A01A000A" << Kind::Warning << wrong << true;
    QTest::newRow("blank inside") << "RSSMRA85 10A562E" << Kind::Warning << wrong << true;
    QTest::newRow("15 characters") << "AAABBB00A01A000" << Kind::Warning << length << false;
    QTest::newRow("empty") << "" << Kind::Warning << length << false;
}

void TestChecks::taxCodeOutcome()
{
    QFETCH(QString, input);
    compareOutcome(TaxCodeOutcome(input));
}

void TestChecks::checkVatNumber_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("valid");
    QTest::newRow("Torino") << "12345670017" << true;
    QTest::newRow("Torino, wrong digit") << "12345670018" << false;
    QTest::newRow("office 120") << "12345671205" << true;
    QTest::newRow("all zeros, check digit 0") << "00000000000" << true;
    QTest::newRow("leading zero") << "01234560108" << true;
    QTest::newRow("high digits") << "98765430966" << true;
    QTest::newRow("check digit 0 from sum 30") << "07759121200" << true;
    QTest::newRow("odd digits only") << "13579131031" << true;
    QTest::newRow("odd digits only, wrong") << "13579131032" << false;
    QTest::newRow("letter O for a zero") << "12345670O17" << false;
    QTest::newRow("blank for a digit") << "1234567 017" << false;
    QTest::newRow("10 digits") << "1234567001" << false;
    QTest::newRow("12 digits") << "123456700170" << false;
    QTest::newRow("empty") << "" << false;
}

void TestChecks::checkVatNumber()
{
    QFETCH(QString, number);
    QFETCH(bool, valid);
    QCOMPARE(CheckVatNumber(number), valid);
}

void TestChecks::vatOfficeName_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("office");
    // The first and last office of each column of the table, the odd names, and the
    // codes just outside it.
    static const struct
    {
        const char16_t *code;
        const char16_t *office;
    } rows[] = {
        { u"001", u"Torino" },
        { u"026", u"Treviso" },
        { u"027", u"Venezia" },
        { u"040", u"Forlì" },
        { u"052", u"Siena" },
        { u"053", u"Grosseto" },
        { u"066", u"Aquila" },
        { u"078", u"Cosenza" },
        { u"079", u"Catanzaro" },
        { u"096", u"Monza (Milano 2)" },
        { u"097", u"Prato (Firenze 2)" },
        { u"099", u"Chiavari (Genova 2)" },
        { u"100", u"Roma 2" },
        { u"101", u"Bologna 2" },
        { u"102", u"Napoli 2" },
        { u"120", u"Bologna 2" },
        { u"121", u"Napoli 2" },
        { u"000", u"" },
        { u"103", u"" },
        { u"119", u"" },
        { u"122", u"" },
        { u"999", u"" },
        { u"1", u"" },
        { u"01A", u"" },
    };
    for (const auto &row : rows) {
        const QString code = QString::fromUtf16(row.code);
        QTest::newRow(qPrintable(code)) << code << QString::fromUtf16(row.office);
    }
}

void TestChecks::vatOfficeName()
{
    QFETCH(QString, code);
    QFETCH(QString, office);
    QCOMPARE(VatOfficeName(code), office);
}

void TestChecks::vatOfficeTableHas104Entries()
{
    QStringList named;
    QSet<QString> distinct;
    for (int n = 0; n <= 999; ++n) {
        const QString office = VatOfficeName(QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')));
        if (!office.isEmpty()) {
            named.append(office);
            distinct.insert(office);
        }
    }
    QCOMPARE(named.size(), 104);
    // Only 120 and 121 repeat an office.
    QCOMPARE(distinct.size(), 102);
}

void TestChecks::vatNumberOutcome_data()
{
    addOutcomeColumns();
    const QString valid = QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\n"
                                         "E' stato rilasciato dall'Ufficio IVA del Comune di ");
    const QString wrong = QStringLiteral(
        "Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
        "Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha "
        "rilasciato.");
    const QString length = QStringLiteral(
        "Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
    QTest::newRow("Torino") << "12345670017" << Kind::Information
                            << valid + QStringLiteral("Torino.") << true;
    QTest::newRow("Bologna 2") << "12345671205" << Kind::Information
                               << valid + QStringLiteral("Bologna 2.") << true;
    QTest::newRow("office 102") << "00000001024" << Kind::Information
                                << valid + QStringLiteral("Napoli 2.") << true;
    QTest::newRow("no office") << "00000000000" << Kind::Information << valid + u'.' << true;
    QTest::newRow("wrong digit") << "12345670018" << Kind::Warning << wrong << true;
    QTest::newRow("pasted letter") << "12345670O17" << Kind::Warning << wrong << true;
    QTest::newRow("10 digits") << "1234567001" << Kind::Warning << length << false;
    QTest::newRow("empty") << "" << Kind::Warning << length << false;
}

void TestChecks::vatNumberOutcome()
{
    QFETCH(QString, input);
    compareOutcome(VatNumberOutcome(input));
}

void TestChecks::ibanMod97_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("remainder");
    QTest::newRow("Italian example") << "IT60X0542811101000000123456" << 1;
    QTest::newRow("short example") << "IT91A0123401234000000000001" << 1;
    QTest::newRow("wrong check digits") << "IT92A0123401234000000000001" << 2;
    // A remainder of 0 leaves the one digit "0" in front of the next piece.
    QTest::newRow("remainder 0") << "IT90A0123401234000000000001" << 0;
    QTest::newRow("last digit changed") << "IT60X0542811101000000123457" << 28;
    QTest::newRow("check digits 00") << "IT00X0542811101000000123456" << 38;
    QTest::newRow("lower case") << "it60x0542811101000000123456" << 1;
    QTest::newRow("British example") << "GB82WEST12345698765432" << 1;
    QTest::newRow("German example") << "DE89370400440532013000" << 1;
    QTest::newRow("letters everywhere") << "AB12CD34EF56GH78IJ90KL12MN3" << 87;
    QTest::newRow("many nines") << "9999999999999999999999999999999999" << 85;
    QTest::newRow("long") << "ZZ00" + QString(40, u'9') << 37;
    QTest::newRow("four characters") << "1234" << 70;
    QTest::newRow("IBAN in front removed") << "IBANIT60X0542811101000000123456" << 1;
    QTest::newRow("IBAN inside removed") << "IT60X054IBAN2811101000000123456" << 1;
    QTest::newRow("blank") << "IT60X0542811101000000 23456" << 0;
    QTest::newRow("hyphen") << "IT60-X054-2811-1010-0000-0123-456" << 0;
    QTest::newRow("accented letter") << "IT60È0542811101000000123456" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestChecks::ibanMod97()
{
    QFETCH(QString, text);
    QFETCH(int, remainder);
    QCOMPARE(IbanMod97(text), remainder);
}

void TestChecks::checkIban_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("Italian example") << "IT60X0542811101000000123456" << true;
    QTest::newRow("in groups of four") << "IT60 X054 2811 1010 0000 0123 456" << true;
    QTest::newRow("IBAN and a blank in front") << "IBAN IT60X0542811101000000123456" << true;
    QTest::newRow("French, 27 characters") << "FR1420041010050500013M02606" << true;
    QTest::newRow("Monaco, 27 characters") << "MC5811222000010123456789030" << true;
    QTest::newRow("wrong check digits") << "IT92A0123401234000000000001" << false;
    QTest::newRow("blank for a digit") << "IT60X0542811101000000 23456" << false;
    QTest::newRow("hyphens") << "IT60-X054-2811-1010-0000-0123-456" << false;
    QTest::newRow("empty") << "" << false;
}

void TestChecks::checkIban()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(CheckIban(text), valid);
}

void TestChecks::ibanOutcome_data()
{
    addOutcomeColumns();
    const QString valid = QStringLiteral("L'IBAN digitato è VALIDO.");
    const QString wrong = QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!");
    const QString length
        = QStringLiteral("Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.");
    QTest::newRow("valid") << "IT91A0123401234000000000001" << Kind::Information << valid << true;
    QTest::newRow("lower case") << "it60x0542811101000000123456" << Kind::Information << valid
                                << true;
    QTest::newRow("another country")
        << "FR1420041010050500013M02606" << Kind::Information << valid << true;
    QTest::newRow("blanks around are trimmed")
        << "  IT60X0542811101000000123456 " << Kind::Information << valid << true;
    QTest::newRow("wrong") << "IT92A0123401234000000000001" << Kind::Warning << wrong << true;
    QTest::newRow("blank counts in the length")
        << "IT60X0542811101000000 23456" << Kind::Warning << wrong << true;
    QTest::newRow("signs") << "IT60X0542811101000000-23456" << Kind::Warning << wrong << true;
    QTest::newRow("26 characters")
        << "IT60X054281110100000012345" << Kind::Warning << length << false;
    QTest::newRow("British, 22 characters")
        << "GB82WEST12345698765432" << Kind::Warning << length << false;
    QTest::newRow("empty") << "" << Kind::Warning << length << false;
}

void TestChecks::ibanOutcome()
{
    QFETCH(QString, input);
    compareOutcome(IbanOutcome(input));
}

void TestChecks::cardCheckCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    static const struct
    {
        const char *name;
        const char *text;
        int code;
    } rows[] = {
        { "Visa", "4000000000000002", 2 },
        { "Visa, wrong digit", "4000000000000001", 0 },
        { "Visa test card", "4111111111111111", 2 },
        { "Visa test card 2", "4012888888881881", 2 },
        { "MasterCard", "5000000000000009", 3 },
        { "MasterCard test card", "5555555555554444", 3 },
        { "MasterCard test card 2", "5105105105105100", 3 },
        { "Discover", "6000000000000007", 4 },
        { "Discover test card", "6011111111111117", 4 },
        { "Discover test card 2", "6011000990139424", 4 },
        { "American Express", "378282246310005", 1 },
        { "American Express 2", "371449635398431", 1 },
        { "Diners test card", "30569309025904", 1 },
        { "JCB test card", "3530111333300000", 1 },
        { "JCB, wrong digit", "3530111333300001", 0 },
        { "first digit 2", "2000000000000006", 0 },
        { "first digit 7", "7000000000000005", 5 },
        { "first digit 8", "8000000000000003", 6 },
        { "first digit 9", "9000000000000001", 7 },
        { "first digit 1", "1000000000000008", -1 },
        { "single zero", "0", -2 },
        { "single one", "1", 0 },
        { "blanks skipped", "4000 0000 0000 0002", 2 },
        // The first 20 digits pass; with the last five the whole number would not.
        { "25 digits", "4444444444444444444412345", 2 },
        // 20 digits: the longest number that is read whole.
        { "20 digits", "40000000000000000002", 2 },
        // Only 20 characters are read, blanks included: the last four digits are left
        // out, and without them the number fails.
        { "blanks use up the 20 characters", "4000 0000 0000 0000 0006", 0 },
        { "no digits", "ABCD", 0 },
        { "empty", "", 0 },
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.text) << row.code;
}

void TestChecks::cardCheckCode()
{
    QFETCH(QString, text);
    QFETCH(int, code);
    QCOMPARE(CardCheckCode(text), code);
}

void TestChecks::cardNetworkName_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("network");
    const QString diners = QStringLiteral("Diner's Club / Carte Blanche");
    const QString amex = QStringLiteral("American Express");
    const QString jcb = QStringLiteral("JCB");
    QTest::newRow("30") << 1 << "30000000000004" << diners;
    QTest::newRow("36") << 1 << "36000000000008" << diners;
    QTest::newRow("38") << 1 << "38000000000006" << diners;
    QTest::newRow("34") << 1 << "340000000000009" << amex;
    QTest::newRow("37") << 1 << "370000000000002" << amex;
    QTest::newRow("31") << 1 << "3100000000000003" << jcb;
    QTest::newRow("33") << 1 << "3300000000000001" << jcb;
    QTest::newRow("35") << 1 << "3500000000000009" << jcb;
    QTest::newRow("32") << 1 << "3200000000000002" << QString();
    QTest::newRow("39") << 1 << "3900000000000005" << QString();
    QTest::newRow("3 and a blank") << 1 << "3 400000000000009" << QString();
    QTest::newRow("Visa") << 2 << "4000000000000002"
                          << "Visa";
    QTest::newRow("MasterCard") << 3 << "5000000000000009"
                                << "MasterCard";
    QTest::newRow("Discover") << 4 << "6000000000000007"
                              << "Discover";
    QTest::newRow("failed") << 0 << "4000000000000001" << QString();
    QTest::newRow("first digit 1") << -1 << "1000000000000008" << QString();
    QTest::newRow("first digit 7") << 5 << "7000000000000005" << QString();
}

void TestChecks::cardNetworkName()
{
    QFETCH(int, code);
    QFETCH(QString, input);
    QFETCH(QString, network);
    QCOMPARE(CardNetworkName(code, input), network);
}

void TestChecks::cardOutcome_data()
{
    addOutcomeColumns();
    const auto valid = [](const char *number, const char *network) {
        return QStringLiteral("Il numero di carta di credito ") + QLatin1String(number)
            + QStringLiteral(" risulta valido.\r\n\r\nLa carta di credito è del tipo ")
            + QLatin1String(network) + u'.';
    };
    const QString wrong = QStringLiteral(
        "Attenzione: il numero digitato risulta ERRATO!\r\n\r\n"
        "Non è quindi possibile fornire informazioni relative al tipo di carta di credito.");
    const QString empty = QStringLiteral("Attenzione: immettere il numero di carta di credito "
                                         "prima di premere il pulsante di controllo.");
    static const struct
    {
        const char *number;
        const char *network;
    } networks[] = {
        { "4000000000000002", "Visa" },
        { "5000000000000009", "MasterCard" },
        { "6000000000000007", "Discover" },
        { "340000000000009", "American Express" },
        { "370000000000002", "American Express" },
        { "30000000000004", "Diner's Club / Carte Blanche" },
        { "36000000000008", "Diner's Club / Carte Blanche" },
        { "38000000000006", "Diner's Club / Carte Blanche" },
        { "3100000000000003", "JCB" },
        { "3500000000000009", "JCB" },
        { "5555555555554444", "MasterCard" },
        { "38520000023237", "Diner's Club / Carte Blanche" },
        { "3566002020360505", "JCB" },
    };
    for (const auto &row : networks)
        QTest::newRow(row.number) << QString::fromLatin1(row.number) << Kind::Information
                                  << valid(row.number, row.network) << true;
    QTest::newRow("blanks around are trimmed in the message")
        << " 4000000000000002 " << Kind::Information << valid("4000000000000002", "Visa") << true;
    const QString unknown
        = QStringLiteral("Il numero di carta di credito %1 risulta valido.\r\n\r\n"
                         "Non è però possibile stabilire il tipo di carta di credito.");
    QTest::newRow("32 passes, network unknown")
        << "3200000000000002" << Kind::Information << unknown.arg(u"3200000000000002") << true;
    QTest::newRow("39 passes, network unknown")
        << "3900000000000005" << Kind::Information << unknown.arg(u"3900000000000005") << true;
    QTest::newRow("wrong digit") << "4000000000000001" << Kind::Warning << wrong << true;
    QTest::newRow("first digit 2") << "2000000000000006" << Kind::Warning << wrong << true;
    QTest::newRow("first digit 7") << "7000000000000005" << Kind::Warning << wrong << true;
    QTest::newRow("single zero") << "0" << Kind::Warning << wrong << true;
    QTest::newRow("no digits") << "ABC" << Kind::Warning << wrong << true;
    QTest::newRow("empty") << "" << Kind::Warning << empty << false;
    QTest::newRow("blanks only") << "   " << Kind::Warning << empty << false;
}

void TestChecks::cardOutcome()
{
    QFETCH(QString, input);
    compareOutcome(CardOutcome(input));
}

// Where the tax code button of the customer and supplier cards sends its text.
void TestChecks::codeCheckFor_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("vat");
    QTest::newRow("empty: tax code") << QString() << false;
    QTest::newRow("eleven digits: VAT") << u"12345678903"_s << true;
    QTest::newRow("one digit: VAT") << u"7"_s << true;
    QTest::newRow("twenty digits: VAT") << u"12345678901234567890"_s << true;
    QTest::newRow("tax code") << u"RSSMRA80A01F205X"_s << false;
    QTest::newRow("another tax code") << u"RSSMRA80A01H501U"_s << false;
    QTest::newRow("digits and one letter") << u"1234567890X"_s << false;
    QTest::newRow("digits with a blank inside") << u"123 456"_s << false;
    // Only 0-9 count as digits: other scripts' digits go to the tax code check.
    QTest::newRow("arabic-indic digits") << u"١٢٣"_s << false;
}

void TestChecks::codeCheckFor()
{
    QFETCH(QString, code);
    QFETCH(bool, vat);
    QCOMPARE(::codeCheckFor(code) == CodeCheck::VatNumber, vat);
}

QTEST_APPLESS_MAIN(TestChecks)
#include "tst_checks.moc"
