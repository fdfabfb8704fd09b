#include "app/OpenURL.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestOpenUrl : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { TMisc::setOpener({}); }
    void urlHandedToTheDesktop_data();
    void urlHandedToTheDesktop();
    void openGivesTheUrlToTheOpener();
    void mailto_data();
    void mailto();
};

void TestOpenUrl::urlHandedToTheDesktop_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("scheme");
    // For files the local path; for addresses the text as the desktop reads it back.
    QTest::addColumn<QString>("expected");

    const QString mail = QStringLiteral(
        "mailto:info@example.com?subject=Software Merventa 2.0&body=Salve, desidererei avere "
        "le seguenti informazioni sul software in oggetto:");
    const QString search = QStringLiteral("http://www.google.com/search?q=ABC X 12");
    const QString accents = QStringLiteral("mailto:mario.rossi@esempio.it?subject=Perché più "
                                           "caffè&body=Città, età: già");

    QTest::newRow("quoted mailto with blanks, comma and colon")
        << QStringLiteral("\"%1\"").arg(mail) << QStringLiteral("mailto") << mail;
    QTest::newRow("mailto with accented letters")
        << QStringLiteral("\"%1\"").arg(accents) << QStringLiteral("mailto") << accents;
    QTest::newRow("mailto without an address")
        << QStringLiteral("\"mailto:\"") << QStringLiteral("mailto") << QStringLiteral("mailto:");
    QTest::newRow("quoted web search with blanks")
        << QStringLiteral("\"%1\"").arg(search) << QStringLiteral("http") << search;
    QTest::newRow("secure web address")
        << QStringLiteral("\"https://www.example.com/merventa\"") << QStringLiteral("https")
        << QStringLiteral("https://www.example.com/merventa");
    QTest::newRow("address without scheme")
        << QStringLiteral("www.example.com/merventa") << QStringLiteral("http")
        << QStringLiteral("http://www.example.com/merventa");
    QTest::newRow("quoted file") << QStringLiteral("\"/opt/Merventa/Guida.pdf\"")
                                 << QStringLiteral("file")
                                 << QStringLiteral("/opt/Merventa/Guida.pdf");
    QTest::newRow("file with blanks and accents")
        << QStringLiteral("\"/opt/Merventa/Documenti_Allegati/Fattura perché 1.pdf\"")
        << QStringLiteral("file")
        << QStringLiteral("/opt/Merventa/Documenti_Allegati/Fattura perché 1.pdf");
    QTest::newRow("folder") << QStringLiteral("\"/opt/Merventa/Cliente_12\"")
                            << QStringLiteral("file") << QStringLiteral("/opt/Merventa/Cliente_12");
    QTest::newRow("unquoted file")
        << QStringLiteral("/opt/Merventa/Magazzino.xls") << QStringLiteral("file")
        << QStringLiteral("/opt/Merventa/Magazzino.xls");
    // A drive letter is not a scheme.
    QTest::newRow("windows path") << QStringLiteral("\"C:/Programmi/Merventa/Guida.pdf\"")
                                  << QStringLiteral("file")
                                  << QStringLiteral("C:/Programmi/Merventa/Guida.pdf");
}

void TestOpenUrl::urlHandedToTheDesktop()
{
    QFETCH(QString, command);
    QFETCH(QString, scheme);
    QFETCH(QString, expected);

    const QUrl url = TMisc::UrlFor(command);
    QVERIFY2(url.isValid(), qPrintable(url.errorString()));
    QCOMPARE(url.scheme(), scheme);
    if (scheme == QStringLiteral("file"))
        QCOMPARE(url, QUrl::fromLocalFile(expected));
    else
        QCOMPARE(url.toString(), expected);
}

void TestOpenUrl::openGivesTheUrlToTheOpener()
{
    QList<QUrl> opened;
    TMisc::setOpener([&opened](const QUrl &url) { opened.append(url); });
    TMisc::Open(QStringLiteral("\"/opt/Merventa/Guida.pdf\""));
    TMisc::Open(QStringLiteral("\"mailto:a@example.com\""));
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened.at(0), QUrl::fromLocalFile(QStringLiteral("/opt/Merventa/Guida.pdf")));
    QCOMPARE(opened.at(1).toString(), QStringLiteral("mailto:a@example.com"));
}

// The command of the customer and supplier cards' e-mail button.
void TestOpenUrl::mailto_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("command");
    QTest::newRow("address") << u"info@rossi.it"_s << u"\"mailto:info@rossi.it\""_s;
    QTest::newRow("another address")
        << u"mario.rossi@example.it"_s << u"\"mailto:mario.rossi@example.it\""_s;
    QTest::newRow("trimmed") << u"  info@rossi.it "_s << u"\"mailto:info@rossi.it\""_s;
    QTest::newRow("blanks at the ends") << u"  a@b.it "_s << u"\"mailto:a@b.it\""_s;
    QTest::newRow("empty: no recipient") << QString() << u"\"mailto:\""_s;
}

void TestOpenUrl::mailto()
{
    QFETCH(QString, email);
    QFETCH(QString, command);
    QCOMPARE(TMisc::mailto(email), command);
}

QTEST_APPLESS_MAIN(TestOpenUrl)
#include "tst_openurl.moc"
