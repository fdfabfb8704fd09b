#include "app/HelpTexts.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

// Reads back the help document written at build time and looks for every chapter.
class TestGuidaPdf : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyTopicHasItsChapter_data();
    void everyTopicHasItsChapter();

private:
    QString m_text;
    int m_pages = 0;
};

void TestGuidaPdf::initTestCase()
{
    const QString pdf = QStringLiteral(MERVENTA_GUIDA_PDF);
    QVERIFY2(QFileInfo::exists(pdf), qPrintable(pdf));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");

    QProcess reader;
    reader.start(pdftotext, {pdf, QStringLiteral("-")});
    QVERIFY(reader.waitForFinished(30000));
    QCOMPARE(reader.exitCode(), 0);
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    // Pages are separated by form feeds; line ends and hyphen-free wrapping become blanks.
    m_pages = int(text.count(u'\f'));
    m_text = text.simplified();
}

void TestGuidaPdf::everyTopicHasItsChapter_data()
{
    QTest::addColumn<QString>("screenClass");
    for (const QString &screenClass : helpDocumentOrder())
        QTest::newRow(qPrintable(screenClass)) << screenClass;
}

void TestGuidaPdf::everyTopicHasItsChapter()
{
    QFETCH(QString, screenClass);

    const HelpTopic topic = helpTopic(screenClass);
    const QString title = topic.title.chopped(1);
    // Once in the contents, once at the head of its chapter.
    QVERIFY2(m_text.count(title) >= 2, qPrintable(title));
    // A chapter starts on a new page, so its opening words are never split by a footer.
    const QString opening = topic.paragraphs.first().section(u' ', 0, 7);
    QVERIFY2(m_text.contains(opening), qPrintable(opening));
    QVERIFY(m_pages >= int(helpDocumentOrder().size()) + 2);
}

QTEST_APPLESS_MAIN(TestGuidaPdf)
#include "tst_guidapdf.moc"
