#include "app/HelpTexts.h"
#include "app/Maker.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace {

// pdftotext joins a word broken after a hyphen at the end of a line ("e-" + "mail"), so
// texts are compared without hyphens and with blanks and line ends made single blanks.
QString comparable(const QString &text)
{
    QString result = text;
    result.remove(u'-');
    return result.simplified();
}

} // namespace

// Reads back the help document written at build time: every chapter and every paragraph,
// each once and whole, across page ends.
class TestGuidaPdf : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyTopicHasItsChapter_data();
    void everyTopicHasItsChapter();
    void coverNamesTheMaker();

private:
    QString m_text;
    QString m_cover;
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
    reader.start(pdftotext, { pdf, QStringLiteral("-") });
    QVERIFY(reader.waitForFinished(30000));
    QCOMPARE(reader.exitCode(), 0);
    QString text = QString::fromUtf8(reader.readAllStandardOutput());
    m_pages = int(text.count(u'\f'));
    // The page footers interrupt a paragraph that continues on the next page.
    static const QRegularExpression footer(
        QStringLiteral("Merventa 2\\.0 \u2013 Guida all'utilizzo del software\\s+Pagina \\d+"));
    text.remove(footer);
    m_cover = text.section(u'\f', 0, 0).simplified();
    m_text = comparable(text);
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
    const QString title = comparable(topic.title.chopped(1));
    // Once in the contents, once at the head of its chapter.
    QVERIFY2(m_text.count(title) >= 2, qPrintable(title));
    const QString chapter = comparable(topic.paragraphs.join(u' '));
    QVERIFY2(m_text.contains(chapter), qPrintable(title));
    QVERIFY(m_pages >= int(helpDocumentOrder().size()) + 2);
}

void TestGuidaPdf::coverNamesTheMaker()
{
    // The same name, site and address as the program's windows show.
    QVERIFY2(m_cover.contains(Maker::name()), qPrintable(m_cover));
    QVERIFY2(m_cover.contains(Maker::webSiteText()), qPrintable(m_cover));
    QVERIFY2(m_cover.contains(Maker::email()), qPrintable(m_cover));
    QVERIFY(!Maker::webSiteText().contains(QStringLiteral("://")));
}

QTEST_APPLESS_MAIN(TestGuidaPdf)
#include "tst_guidapdf.moc"
