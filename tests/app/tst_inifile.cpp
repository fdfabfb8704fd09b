#include "app/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT
private slots:
    void valueIn_data();
    void valueIn();
    void withValue_data();
    void withValue();
    void withValueIsReadBack_data();
    void withValueIsReadBack();
    void fileRoundTripKeepsForeignLines();
    void missingFileReadsEmptyAndIsCreated();
    void folderInPlaceOfTheFile();
    void failedWriteLeavesTheOldFile();
};

void TestIniFile::valueIn_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("value");

    QTest::newRow("empty text") << QByteArray() << false << QByteArray();
    QTest::newRow("plain") << QByteArray("[Accesso]\r\nValore=ABCD\r\n") << true
                           << QByteArray("ABCD");
    QTest::newRow("no line ending at the end")
        << QByteArray("[Accesso]\nValore=AB") << true << QByteArray("AB");
    QTest::newRow("names in another case")
        << QByteArray("[ACCESSO]\nvalore=AB\n") << true << QByteArray("AB");
    QTest::newRow("blanks around names and value")
        << QByteArray("  [ Accesso ]  \n\t Valore \t=  AB CD \t\r\n") << true
        << QByteArray("AB CD");
    QTest::newRow("empty value") << QByteArray("[Accesso]\nValore=\n") << true << QByteArray();
    QTest::newRow("value holding =")
        << QByteArray("[Accesso]\nValore=A=B\n") << true << QByteArray("A=B");
    QTest::newRow("key in another section only")
        << QByteArray("[Altro]\nValore=11\n[Accesso]\nChiave=22\n") << false << QByteArray();
    QTest::newRow("key before any section")
        << QByteArray("Valore=11\n[Accesso]\n") << false << QByteArray();
    QTest::newRow("commented key")
        << QByteArray("[Accesso]\n;Valore=11\n#Valore=22\n") << false << QByteArray();
    QTest::newRow("first of two sections counts")
        << QByteArray("[Accesso]\nValore=11\n[Accesso]\nValore=22\n") << true << QByteArray("11");
    QTest::newRow("first of two keys counts")
        << QByteArray("[Accesso]\nValore=11\nValore=22\n") << true << QByteArray("11");
    QTest::newRow("section after others")
        << QByteArray("; nota\n[Uno]\nA=1\n\n[Accesso]\nX=0\nValore=7F\n\n[Due]\nB=2\n") << true
        << QByteArray("7F");
    QTest::newRow("byte order mark")
        << QByteArray("\xEF\xBB\xBF[Accesso]\nValore=AB\n") << true << QByteArray("AB");
    QTest::newRow("longer key name is another key")
        << QByteArray("[Accesso]\nValore2=11\n") << false << QByteArray();
    QTest::newRow("binary garbage")
        << QByteArray("\x00\xFF\x1B[\x80\n=\n[\n]\x00Valore=1\n", 20) << false << QByteArray();
}

void TestIniFile::valueIn()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, found);
    QFETCH(QByteArray, value);

    const auto read = IniFile::valueIn(content, "Accesso", "Valore");
    QCOMPARE(read.has_value(), found);
    if (found)
        QCOMPARE(*read, value);
}

void TestIniFile::withValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty text") << QByteArray() << QByteArray("[Accesso]\r\nValore=NEW\r\n");
    QTest::newRow("key rewritten in place, CR LF kept")
        << QByteArray("; nota\r\n[Accesso]\r\nValore=OLD\r\nAltro=1\r\n")
        << QByteArray("; nota\r\n[Accesso]\r\nValore=NEW\r\nAltro=1\r\n");
    QTest::newRow("key rewritten in place, LF kept")
        << QByteArray("[Accesso]\n  valore = OLD\n[Dopo]\nValore=X\n")
        << QByteArray("[Accesso]\nValore=NEW\n[Dopo]\nValore=X\n");
    QTest::newRow("last line without ending")
        << QByteArray("[Accesso]\nValore=OLD") << QByteArray("[Accesso]\nValore=NEW");
    QTest::newRow("key added at the end of its section")
        << QByteArray("[Accesso]\nAltro=1\n\n[Dopo]\nB=2\n")
        << QByteArray("[Accesso]\nAltro=1\nValore=NEW\n\n[Dopo]\nB=2\n");
    QTest::newRow("key added under a bare header")
        << QByteArray("[Accesso]") << QByteArray("[Accesso]\r\nValore=NEW\r\n");
    QTest::newRow("section added, LF file")
        << QByteArray("[Uno]\nA=1\n") << QByteArray("[Uno]\nA=1\n[Accesso]\nValore=NEW\n");
    QTest::newRow("section added after a last line without ending")
        << QByteArray("[Uno]\r\nA=1") << QByteArray("[Uno]\r\nA=1\r\n[Accesso]\r\nValore=NEW\r\n");
    QTest::newRow("only the first key rewritten") << QByteArray(
        "[Accesso]\nValore=1\nValore=2\n") << QByteArray("[Accesso]\nValore=NEW\nValore=2\n");
}

void TestIniFile::withValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, expected);

    QCOMPARE(IniFile::withValue(content, "Accesso", "Valore", "NEW"), expected);
}

void TestIniFile::withValueIsReadBack_data()
{
    valueIn_data();
}

void TestIniFile::withValueIsReadBack()
{
    QFETCH(QByteArray, content);

    const QByteArray written = IniFile::withValue(content, "Accesso", "Valore", "C0FFEE");
    QCOMPARE(IniFile::valueIn(written, "Accesso", "Valore"), std::optional<QByteArray>("C0FFEE"));
    // Writing the same value again changes nothing more.
    QCOMPARE(IniFile::withValue(written, "Accesso", "Valore", "C0FFEE"), written);
}

void TestIniFile::fileRoundTripKeepsForeignLines()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("unins000.dll"));
    const QByteArray before("; Installazione\r\n[Setup]\r\nLingua=it\r\n\r\n[Accesso]\r\n"
                            "Valore=0011\r\n; fine\r\n[Altro]\r\nValore=99\r\n");
    QVERIFY(writeFile(path, before));

    QCOMPARE(IniFile::readValue(path, "Accesso", "Valore"), std::optional<QString>("0011"));
    QVERIFY(IniFile::writeValue(path, "Accesso", "Valore", QStringLiteral("A1B2C3")));
    QCOMPARE(readFile(path),
        QByteArray("; Installazione\r\n[Setup]\r\nLingua=it\r\n\r\n"
                   "[Accesso]\r\nValore=A1B2C3\r\n; fine\r\n[Altro]\r\n"
                   "Valore=99\r\n"));
    QCOMPARE(IniFile::readValue(path, "Accesso", "Valore"), std::optional<QString>("A1B2C3"));
    // No temporary file is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("unins000.dll") });
}

void TestIniFile::missingFileReadsEmptyAndIsCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("unins000.dll"));

    QCOMPARE(IniFile::readValue(path, "Accesso", "Valore"), std::optional<QString>(QString()));
    QVERIFY(writeFile(path, QByteArray()));
    QCOMPARE(IniFile::readValue(path, "Accesso", "Valore"), std::optional<QString>(QString()));
    QVERIFY(QFile::remove(path));

    QVERIFY(IniFile::writeValue(path, "Accesso", "Valore", QStringLiteral("7F")));
    QCOMPARE(readFile(path), QByteArray("[Accesso]\r\nValore=7F\r\n"));
}

void TestIniFile::folderInPlaceOfTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("unins000.dll"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("unins000.dll")));
    QVERIFY(writeFile(path + QStringLiteral("/inside.txt"), "keep"));

    QVERIFY(!IniFile::readValue(path, "Accesso", "Valore").has_value());
    QVERIFY(!IniFile::writeValue(path, "Accesso", "Valore", QStringLiteral("7F")));
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(readFile(path + QStringLiteral("/inside.txt")), QByteArray("keep"));
}

void TestIniFile::failedWriteLeavesTheOldFile()
{
#ifdef Q_OS_UNIX
    // The tests may run as root, whom permissions do not stop: a file size limit makes the
    // writing of the new file fail instead.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("unins000.dll"));
    const QByteArray before("[Accesso]\r\nValore=0011\r\n");
    QVERIFY(writeFile(path, before));

    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    rlimit small = oldLimit;
    small.rlim_cur = 8;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = IniFile::writeValue(path, "Accesso", "Valore", QStringLiteral("A1B2C3"));
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!written);
    QCOMPARE(readFile(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("unins000.dll") });
#else
    QSKIP("needs a file size limit");
#endif
}

QTEST_APPLESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
