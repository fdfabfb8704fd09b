#include "app/AccessPassword.h"
#include "app/Crypt.h"
#include "common/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using AccessPassword::ChangeResult;
using AccessPassword::CheckResult;

namespace {

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray passwordFileFor(const QString &storedPassword)
{
    return "[Accesso]\r\nValore=" + Crypt::scramble(storedPassword).toLatin1() + "\r\n";
}

QString longText(qsizetype length, QChar ch = u'A')
{
    return QString(length, ch);
}

} // namespace

class TestAccessPassword : public QObject
{
    Q_OBJECT
private slots:
    void storedForm_data();
    void storedForm();
    void check_data();
    void check();
    void checkAgainstDamagedFiles_data();
    void checkAgainstDamagedFiles();
    void change_data();
    void change();
    void changedPasswordIsTheOneAccepted();
    void changeKeepsTheRestOfTheFile();
    void changeWithAFolderInPlaceOfTheFile();
    void initialPasswordFile();
    void readmeNamesTheInitialPassword();
};

void TestAccessPassword::storedForm_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("lower case letters")
        << QStringLiteral("scaffale2026") << QStringLiteral("SCAFFALE2026");
    QTest::newRow("blanks around")
        << QStringLiteral("  Pass word  ") << QStringLiteral("PASS WORD");
    QTest::newRow("tab and line breaks around")
        << QStringLiteral("\t\r\nabc\n") << QStringLiteral("ABC");
    QTest::newRow("every code up to 32 trimmed") << QString(QChar(u'\x01')) + QStringLiteral("x")
            + QChar(u'\x1F') + QChar(u' ') << QStringLiteral("X");
    QTest::newRow("non-breaking space is not trimmed")
        << QStringLiteral("\u00A0x") << QStringLiteral("\u00A0X");
    QTest::newRow("accented letters keep their case")
        << QStringLiteral("città È") << QStringLiteral("CITTà È");
    QTest::newRow("sharp s and dotless i stay") << QStringLiteral("ßı") << QStringLiteral("ßı");
    QTest::newRow("blank only") << QStringLiteral(" \t ") << QString();
}

void TestAccessPassword::storedForm()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    QCOMPARE(AccessPassword::storedForm(typed), stored);
    QCOMPARE(AccessPassword::isBlank(typed), stored.isEmpty());
}

void TestAccessPassword::check_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("matches");

    const QString initial = QStringLiteral("SCAFFALE2026");
    QTest::newRow("exact") << initial << initial << true;
    QTest::newRow("lower case") << initial << QStringLiteral("scaffale2026") << true;
    QTest::newRow("mixed case") << initial << QStringLiteral("ScAfFaLe2026") << true;
    QTest::newRow("blanks around") << initial << QStringLiteral("  scaffale2026 \t") << true;
    QTest::newRow("blank inside") << initial << QStringLiteral("SCAFFALE 2026") << false;
    QTest::newRow("one letter short") << initial << QStringLiteral("SCAFFALE202") << false;
    QTest::newRow("one letter more") << initial << QStringLiteral("SCAFFALE20266") << false;
    QTest::newRow("accented upper case typed as is")
        << QStringLiteral("CITTÀ") << QStringLiteral("cittÀ") << true;
    // Only a to z change case: à is not À.
    QTest::newRow("accented lower case not folded")
        << QStringLiteral("CITTÀ") << QStringLiteral("città") << false;
    QTest::newRow("10,000 characters") << initial << longText(10000) << false;
    QTest::newRow("line breaks inside a pasted text")
        << initial << QStringLiteral("SCAFFALE\n2026") << false;
    QTest::newRow("character above 255 sharing the low byte")
        << QStringLiteral("¬") << QStringLiteral("€") << false;
    QTest::newRow("blanks around the stored password are not part of it")
        << QStringLiteral("  ABC  ") << QStringLiteral("abc") << true;
}

void TestAccessPassword::check()
{
    QFETCH(QString, stored);
    QFETCH(QString, entry);
    QFETCH(bool, matches);

    TempProgramFolder folder;
    QVERIFY(writeFile(AccessPassword::filePath(), passwordFileFor(stored)));
    QCOMPARE(AccessPassword::check(entry), matches ? CheckResult::Match : CheckResult::Wrong);
}

void TestAccessPassword::checkAgainstDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<int>("result");

    const int wrong = int(CheckResult::Wrong);
    const int error = int(CheckResult::ReadError);
    QTest::newRow("missing file") << QByteArray() << false << wrong;
    QTest::newRow("empty file") << QByteArray("") << false << wrong;
    QTest::newRow("section without the key") << QByteArray("[Accesso]\r\n") << false << wrong;
    QTest::newRow("key in another section")
        << QByteArray("[Altro]\r\nValore=") + Crypt::scramble(QStringLiteral("X")).toLatin1()
        << false << wrong;
    QTest::newRow("empty value") << QByteArray("[Accesso]\r\nValore=\r\n") << false << wrong;
    QTest::newRow("non-hex value") << QByteArray("[Accesso]\r\nValore=2DZZ\r\n") << false << error;
    QTest::newRow("binary garbage") << QByteArray("\x7F"
                                                  "ELF\x02\x01\x00\xFF\xFE\n\r\x00",
        12) << false << wrong;
    QTest::newRow("huge value") << "[Accesso]\r\nValore=" + QByteArray(4'000'000, '4') << false
                                << wrong;
    QTest::newRow("folder in place of the file") << QByteArray() << true << error;
}

void TestAccessPassword::checkAgainstDamagedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, folder);
    QFETCH(int, result);

    TempProgramFolder programFolder;
    if (folder)
        QVERIFY(QDir(programFolder.path()).mkdir(AccessPassword::kFileName.toString()));
    else if (!content.isNull())
        QVERIFY(writeFile(AccessPassword::filePath(), content));

    QCOMPARE(int(AccessPassword::check(QStringLiteral("X"))), result);
    // A blank-only or empty entry never reaches the check on the screen; an empty stored
    // password would match it.
    QCOMPARE(AccessPassword::readStored().has_value(), result != int(CheckResult::ReadError));
}

void TestAccessPassword::change_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<int>("result");

    const int changed = int(ChangeResult::Changed);
    QTest::newRow("plain change") << QStringLiteral("VECCHIA1") << QStringLiteral("nuova123")
                                  << QStringLiteral("nuova123") << changed;
    QTest::newRow("old typed in lower case with blanks")
        << QStringLiteral(" vecchia1 ") << QStringLiteral("Nuova123") << QStringLiteral("Nuova123")
        << changed;
    QTest::newRow("confirmation with other blanks around")
        << QStringLiteral("VECCHIA1") << QStringLiteral(" Nuova123") << QStringLiteral("Nuova123\t")
        << changed;
    QTest::newRow("wrong old password")
        << QStringLiteral("VECCHIA2") << QStringLiteral("nuova123") << QStringLiteral("nuova123")
        << int(ChangeResult::WrongOld);
    // Both would be stored alike, but the confirmation must be typed the same way.
    QTest::newRow("confirmation in another case")
        << QStringLiteral("VECCHIA1") << QStringLiteral("nuova123") << QStringLiteral("NUOVA123")
        << int(ChangeResult::NotConfirmed);
    QTest::newRow("wrong old password is told before a bad confirmation") << QStringLiteral(
        "x") << QStringLiteral("a") << QStringLiteral("b") << int(ChangeResult::WrongOld);
    QTest::newRow("255 characters")
        << QStringLiteral("VECCHIA1") << longText(255) << longText(255) << changed;
    QTest::newRow("256 characters") << QStringLiteral("VECCHIA1") << longText(256) << longText(256)
                                    << int(ChangeResult::TooLong);
    QTest::newRow("256 characters with a trailing blank")
        << QStringLiteral("VECCHIA1") << longText(255) + u' ' << longText(255) << changed;
    QTest::newRow("10,000 characters") << QStringLiteral("VECCHIA1") << longText(10000)
                                       << longText(10000) << int(ChangeResult::TooLong);
    QTest::newRow("accented letters and symbols")
        << QStringLiteral("VECCHIA1") << QStringLiteral("perché§°ç!")
        << QStringLiteral("perché§°ç!") << changed;
    QTest::newRow("euro sign") << QStringLiteral("VECCHIA1") << QStringLiteral("prezzo€1")
                               << QStringLiteral("prezzo€1") << int(ChangeResult::NotAllowed);
    QTest::newRow("emoji") << QStringLiteral("VECCHIA1") << QStringLiteral("casa\U0001F3E0")
                           << QStringLiteral("casa\U0001F3E0") << int(ChangeResult::NotAllowed);
    QTest::newRow("Greek letter") << QStringLiteral("VECCHIA1") << QStringLiteral("alfaα123")
                                  << QStringLiteral("alfaα123") << int(ChangeResult::NotAllowed);
    QTest::newRow("too long and not allowed")
        << QStringLiteral("VECCHIA1") << longText(300, u'α') << longText(300, u'α')
        << int(ChangeResult::NotAllowed);
}

void TestAccessPassword::change()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(int, result);

    TempProgramFolder folder;
    const QByteArray before = passwordFileFor(QStringLiteral("VECCHIA1"));
    QVERIFY(writeFile(AccessPassword::filePath(), before));

    QCOMPARE(int(AccessPassword::change(oldPassword, newPassword, confirmation)), result);
    const QByteArray after = folder.readAll(AccessPassword::kFileName.toString());
    if (result == int(ChangeResult::Changed)) {
        QCOMPARE(after, passwordFileFor(AccessPassword::storedForm(newPassword)));
        QCOMPARE(AccessPassword::check(newPassword), CheckResult::Match);
        QCOMPARE(AccessPassword::check(QStringLiteral("VECCHIA1")), CheckResult::Wrong);
    } else {
        QCOMPARE(after, before);
        QCOMPARE(AccessPassword::check(QStringLiteral("VECCHIA1")), CheckResult::Match);
    }
}

void TestAccessPassword::changedPasswordIsTheOneAccepted()
{
    TempProgramFolder folder;
    QVERIFY(writeFile(AccessPassword::filePath(), passwordFileFor(QStringLiteral("PRIMA"))));

    QCOMPARE(AccessPassword::change(
                 QStringLiteral("prima"), QStringLiteral("dopo"), QStringLiteral("dopo")),
        ChangeResult::Changed);
    QCOMPARE(AccessPassword::readStored(), std::optional<QString>(QStringLiteral("DOPO")));
    QCOMPARE(AccessPassword::change(
                 QStringLiteral("prima"), QStringLiteral("altra"), QStringLiteral("altra")),
        ChangeResult::WrongOld);
    QCOMPARE(AccessPassword::check(QStringLiteral("Dopo")), CheckResult::Match);
}

void TestAccessPassword::changeKeepsTheRestOfTheFile()
{
    TempProgramFolder folder;
    const QByteArray head("; installazione\r\n[Setup]\r\nLingua=it\r\n\r\n[Accesso]\r\nValore=");
    const QByteArray tail("\r\n[Altro]\r\nValore=1\r\n");
    QVERIFY(writeFile(AccessPassword::filePath(),
        head + Crypt::scramble(QStringLiteral("PRIMA")).toLatin1() + tail));

    QCOMPARE(AccessPassword::change(
                 QStringLiteral("prima"), QStringLiteral("dopo"), QStringLiteral("dopo")),
        ChangeResult::Changed);
    QCOMPARE(folder.readAll(AccessPassword::kFileName.toString()),
        head + Crypt::scramble(QStringLiteral("DOPO")).toLatin1() + tail);
}

void TestAccessPassword::changeWithAFolderInPlaceOfTheFile()
{
    TempProgramFolder folder;
    QVERIFY(QDir(folder.path()).mkdir(AccessPassword::kFileName.toString()));

    QCOMPARE(AccessPassword::change(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("y")),
        ChangeResult::ReadError);
    QVERIFY(QFileInfo(AccessPassword::filePath()).isDir());
}

void TestAccessPassword::initialPasswordFile()
{
    QVERIFY(AccessPassword::kInitialPassword.size() >= 8);
    QVERIFY(AccessPassword::refusalOf(AccessPassword::kInitialPassword)
        == AccessPassword::Refusal::None);
    QCOMPARE(AccessPassword::storedForm(AccessPassword::kInitialPassword),
        AccessPassword::kInitialPassword.toString());

    // The file the build writes beside the program, copied into a program folder.
    TempProgramFolder folder;
    QVERIFY(QFile::copy(QStringLiteral(MERVENTA_PASSWORD_FILE), AccessPassword::filePath()));
    QCOMPARE(AccessPassword::check(AccessPassword::kInitialPassword), CheckResult::Match);
    QCOMPARE(AccessPassword::check(AccessPassword::kInitialPassword.toString().toLower()),
        CheckResult::Match);
    QCOMPARE(AccessPassword::check(QStringLiteral("MAGAZZINO")), CheckResult::Wrong);
}

void TestAccessPassword::readmeNamesTheInitialPassword()
{
    QFile readme(QStringLiteral(MERVENTA_README));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    static const QRegularExpression line(
        QStringLiteral("^Initial password: `([^`]+)`"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(text);
    QVERIFY2(match.hasMatch(), "README has no line starting \"Initial password:\"");
    QCOMPARE(match.captured(1), AccessPassword::kInitialPassword.toString());
}

QTEST_APPLESS_MAIN(TestAccessPassword)
#include "tst_accesspassword.moc"
