#include "app/HelpTexts.h"

#include <QSet>
#include <QTest>

class TestHelpTexts : public QObject
{
    Q_OBJECT
private slots:
    void topicOfEveryScreen_data();
    void topicOfEveryScreen();
    void documentHoldsEveryTopicOnce();
    void unknownScreenHasNoText();
};

void TestHelpTexts::topicOfEveryScreen_data()
{
    QTest::addColumn<QString>("screenClass");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("paragraphs");

    static const struct
    {
        const char *screenClass;
        const char *title;
        int paragraphs;
    } rows[] = {
        { "TfrmAvvio", "Uno sguardo a Merventa 2.0.", 42 },
        { "TfrmMagazzino", "Magazzino Prodotti.", 14 },
        { "TfrmEtichette", "Codici a barre ed etichette.", 5 },
        { "TfrmAnagrafica", "Anagrafica Clienti.", 7 },
        { "TfrmGrafici", "Grafici.", 4 },
        { "TfrmFornitori", "Archivio Fornitori.", 9 },
        { "TfrmMenuRiepilogo", "Inventario Merce.", 4 },
        { "TfrmRiepilogo", "Inventario Merce.", 4 },
        { "TfrmRiepilogoCarico", "Riepilogo Movimenti.", 3 },
        { "TfrmRiepilogoScarico", "Riepilogo Movimenti.", 3 },
        { "TfrmMenuRiepilogoCarico", "Riepilogo Movimenti.", 3 },
        { "TfrmMenuRiepilogoScarico", "Riepilogo Movimenti.", 3 },
        { "TfrmExpMagazzino", "Esportazione archivio prodotti e servizi in Microsoft Excel.", 3 },
        { "TfrmExpFornitori", "Esportazione archivio Fornitori in Microsoft Excel.", 3 },
        { "TfrmExpClienti", "Esportazione archivio Clienti in Microsoft Excel.", 3 },
        { "TfrmExpCarico", "Esportazione archivio movimenti di carico merce in Microsoft Excel.",
            3 },
        { "TfrmExpScarico", "Esportazione archivio movimenti di scarico merce in Microsoft Excel.",
            3 },
        { "TfrmImporta", "Importazione da fogli di calcolo e file CSV.", 5 },
        { "TfrmArchivi", "Archivi su un server.", 5 },
    };
    for (const auto &row : rows) {
        QTest::newRow(row.screenClass) << QString::fromLatin1(row.screenClass)
                                       << QString::fromUtf8(row.title) << row.paragraphs;
    }
}

void TestHelpTexts::topicOfEveryScreen()
{
    QFETCH(QString, screenClass);
    QFETCH(QString, title);
    QFETCH(int, paragraphs);

    const HelpTopic topic = helpTopic(screenClass);
    QCOMPARE(topic.title, title);
    QCOMPARE(topic.paragraphs.size(), paragraphs);
    // The window joins paragraphs with an empty line and wraps each one itself.
    for (const QString &paragraph : topic.paragraphs) {
        QVERIFY2(!paragraph.contains(u'\r') && !paragraph.contains(u'\n'), qPrintable(paragraph));
        QVERIFY2(paragraph == paragraph.trimmed() && paragraph.size() > 80, qPrintable(paragraph));
        QVERIFY2(paragraph.endsWith(u'.') || paragraph.endsWith(u'!'), qPrintable(paragraph));
    }
    QCOMPARE(QSet<QString>(topic.paragraphs.cbegin(), topic.paragraphs.cend()).size(),
        topic.paragraphs.size());
}

void TestHelpTexts::documentHoldsEveryTopicOnce()
{
    const QStringList order = helpDocumentOrder();
    QCOMPARE(order.first(), QStringLiteral("TfrmAvvio"));
    QSet<QString> titles;
    for (const QString &screenClass : order) {
        const HelpTopic topic = helpTopic(screenClass);
        QVERIFY2(!topic.paragraphs.isEmpty(), qPrintable(screenClass));
        titles.insert(topic.title);
    }
    // Fifteen distinct texts: the aliases of a shared text do not appear twice.
    QCOMPARE(order.size(), 15);
    QCOMPARE(titles.size(), 15);
}

void TestHelpTexts::unknownScreenHasNoText()
{
    const HelpTopic topic = helpTopic(QStringLiteral("TfrmSconosciuta"));
    QVERIFY(topic.title.isEmpty());
    QVERIFY(topic.paragraphs.isEmpty());
}

QTEST_APPLESS_MAIN(TestHelpTexts)
#include "tst_helptexts.moc"
