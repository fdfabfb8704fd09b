#include "attachments/AttachedFiles.h"
#include "common/TempProgramFolder.h"
#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"
#include "storage/Cp1252.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// The attachment folder, the names it accepts and makes, and the copy into it, against a
// temporary program folder.
class TestAttachedFiles : public QObject
{
    Q_OBJECT
private slots:
    void plainNames_data();
    void plainNames();
    void storableNames_data();
    void storableNames();
    void openCommandQuotesTheFullPath();
    void tagsNameTheirCards_data();
    void tagsNameTheirCards();
    void overwriteQuestionKeepsItsWords_data();
    void overwriteQuestionKeepsItsWords();
    void keptBothNames_data();
    void keptBothNames();
    void cardsUsingAFile();
    void takenNameKeepBothStoresBeside();

    void copyCreatesTheFolderWithItsParents();
    void copyIsByteForByteAndTakesHiddenFiles();
    void takenNameAsksAndNoKeepsTheFoldersFile();
    void takenNameAsksAndYesReplacesIt();
    void fileInPlaceOfTheFolderIsReported();
    void vanishedSourceIsReported();
    void unwritableTargetLeavesNothingBehind();
    void unstorableNameIsCopiedUnderAStorableOne_data();
    void unstorableNameIsCopiedUnderAStorableOne();
};

namespace {

QByteArray sampleBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + i / 7) & 0xFF);
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList folderEntries()
{
    return QDir(AttachedFiles::folderPath())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A source folder apart from the program folder, as the user's documents would be.
struct Sources
{
    QTemporaryDir dir;
    QString put(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        return writeFile(path, bytes) ? path : QString();
    }
};

using AttachedFiles::Choice;

const auto neverAsked = [](const QString &, const QString &) {
    QTest::qFail("the overwrite question was asked", __FILE__, __LINE__);
    return Choice::KeepExisting;
};

// Answers the overwrite question with choice, counting the questions.
auto answering(Choice choice, int *asked)
{
    return [choice, asked](const QString &, const QString &) {
        ++*asked;
        return choice;
    };
}

} // namespace

void TestAttachedFiles::plainNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plain");
    QTest::newRow("name with extension") << u"fattura.pdf"_s << true;
    QTest::newRow("blanks and accents") << u"Fattura perché 2024.pdf"_s << true;
    QTest::newRow("no extension") << u"LEGGIMI"_s << true;
    QTest::newRow("hidden file") << u".bashrc"_s << true;
    QTest::newRow("two dots inside a name") << u"listino..2024.xls"_s << true;
    QTest::newRow("question marks of an old unstorable name") << u"???.pdf"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("dot") << u"."_s << false;
    QTest::newRow("dot dot") << u".."_s << false;
    // Windows drops trailing dots and blanks: these name the folder itself.
    QTest::newRow("three dots") << u"..."_s << false;
    QTest::newRow("dots and blanks") << u". . "_s << false;
    QTest::newRow("parent folder") << u"../secret.txt"_s << false;
    QTest::newRow("absolute path") << u"/etc/passwd"_s << false;
    QTest::newRow("windows parent folder") << u"..\\secret.txt"_s << false;
    QTest::newRow("folder inside") << u"sub/file.txt"_s << false;
    QTest::newRow("drive relative") << u"C:secret.txt"_s << false;
    QTest::newRow("drive absolute") << u"C:\\Windows\\win.ini"_s << false;
    QTest::newRow("network share") << u"\\\\server\\share\\x.pdf"_s << false;
    QTest::newRow("tab") << u"a\tb.pdf"_s << false;
    QTest::newRow("line feed") << u"a\nb.pdf"_s << false;
    QTest::newRow("nul") << QString(QChar(0)) + u"x"_s << false;
    QTest::newRow("delete") << u"a\x7f.pdf"_s << false;
    // What an unused byte of the code page reads as.
    QTest::newRow("C1 control") << QString(Cp1252::decodeByte(0x81)) + u".pdf"_s << false;
}

void TestAttachedFiles::plainNames()
{
    QFETCH(QString, name);
    QFETCH(bool, plain);
    QCOMPARE(AttachedFiles::isPlainName(name), plain);
}

void TestAttachedFiles::storableNames_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");
    const QString longStem(300, u'a');
    QTest::newRow("plain name unchanged") << u"fattura.pdf"_s << u"fattura.pdf"_s;
    QTest::newRow("western letters and euro unchanged")
        << u"Perché € Ÿ œ.pdf"_s << u"Perché € Ÿ œ.pdf"_s;
    QTest::newRow("blanks around trimmed") << u"  spazi.pdf  "_s << u"spazi.pdf"_s;
    QTest::newRow("greek") << u"Τιμολόγιο.pdf"_s << u"_________.pdf"_s;
    QTest::newRow("chinese") << u"发票.pdf"_s << u"__.pdf"_s;
    QTest::newRow("emoji is one character") << u"foto😀.jpg"_s << u"foto_.jpg"_s;
    QTest::newRow("decomposed accent composed") << u"cafe\u0301.txt"_s << u"café.txt"_s;
    QTest::newRow("characters windows refuses")
        << u"a:b?c*d\"e<f>g|h.txt"_s << u"a_b_c_d_e_f_g_h.txt"_s;
    QTest::newRow("backslash of a linux name") << u"a\\b.txt"_s << u"a_b.txt"_s;
    QTest::newRow("control character") << u"tab\there.txt"_s << u"tab_here.txt"_s;
    QTest::newRow("long name keeps its extension")
        << longStem + u".pdf"_s << QString(246, u'a') + u".pdf"_s;
    QTest::newRow("long name without extension") << longStem << QString(250, u'a');
    QTest::newRow("long extension is cut like the rest")
        << u"x."_s + QString(300, u'b') << u"x."_s + QString(248, u'b');
    QTest::newRow("exactly 250 unchanged") << QString(250, u'z') << QString(250, u'z');
}

void TestAttachedFiles::storableNames()
{
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    const QString name = AttachedFiles::storableName(chosen);
    QCOMPARE(name, stored);
    QVERIFY(name.size() <= AttachedFiles::kNameCapacity);
    QVERIFY(AttachedFiles::isPlainName(name));
    // The record stores it and gives back the same name.
    QCOMPARE(Cp1252::decode(Cp1252::encode(name)), name);
}

void TestAttachedFiles::openCommandQuotesTheFullPath()
{
    TempProgramFolder folder;
    QCOMPARE(AttachedFiles::openCommand(u"Fattura perché 1.pdf"_s),
        u"\""_s
            + QDir::toNativeSeparators(
                folder.filePath(u"Documenti_Allegati/Fattura perché 1.pdf"_s))
            + u"\""_s);
}

void TestAttachedFiles::tagsNameTheirCards_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("card");
    QTest::newRow("product card") << u"magazzino"_s << u"TfrmMagazzino"_s;
    QTest::newRow("customer card") << u"anagrafica"_s << u"TfrmAnagrafica"_s;
    QTest::newRow("supplier card") << u"fornitori"_s << u"TfrmFornitori"_s;
    // The customer search's tag is not one of this dialog's.
    QTest::newRow("search tag") << u"clienti"_s << QString();
    QTest::newRow("other case") << u"Magazzino"_s << QString();
    QTest::newRow("empty") << QString() << QString();
}

void TestAttachedFiles::tagsNameTheirCards()
{
    QFETCH(QString, tag);
    QFETCH(QString, card);
    QCOMPARE(AttachedFiles::cardForTag(tag), card);
}

// The question names the file, how many other cards use it, and the name "Conserva
// entrambi" gives the new one.
void TestAttachedFiles::overwriteQuestionKeepsItsWords_data()
{
    QTest::addColumn<int>("others");
    QTest::addColumn<QString>("users");
    QTest::newRow("none") << 0 << u"non è allegato a nessun'altra scheda"_s;
    QTest::newRow("one") << 1 << u"è allegato a un'altra scheda"_s;
    QTest::newRow("three") << 3 << u"è allegato ad altre 3 schede"_s;
}

void TestAttachedFiles::overwriteQuestionKeepsItsWords()
{
    QFETCH(int, others);
    QFETCH(QString, users);
    QCOMPARE(AttachedFiles::overwriteQuestion(u"listino.pdf"_s, others, u"listino (2).pdf"_s),
        u"Attenzione: nella cartella dei documenti allegati è presente un altro file di nome "
        "\"listino.pdf\", diverso da quello scelto; il file presente "_s
            + users
            + u".\r\n\r\nSi vuole sovrascrivere il file esistente? Con \"Conserva entrambi\" il "
              "file scelto viene allegato come \"listino (2).pdf\"."_s);
    QCOMPARE(AttachedFiles::keepBothButton(), u"Conserva entrambi"_s);
}

// "Conserva entrambi" takes the first free name with a number before the extension.
void TestAttachedFiles::keptBothNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("kept");
    QTest::newRow("first") << u"listino.pdf"_s << QStringList { u"listino.pdf"_s }
                           << u"listino (2).pdf"_s;
    QTest::newRow("next free") << u"listino.pdf"_s
                               << QStringList { u"listino.pdf"_s, u"listino (2).pdf"_s,
                                      u"listino (3).pdf"_s }
                               << u"listino (4).pdf"_s;
    QTest::newRow("no extension") << u"LEGGIMI"_s << QStringList { u"LEGGIMI"_s }
                                  << u"LEGGIMI (2)"_s;
    QTest::newRow("two dots") << u"foto.2024.jpg"_s << QStringList { u"foto.2024.jpg"_s }
                              << u"foto.2024 (2).jpg"_s;
    const QString longName = QString(246, u'a') + u".pdf"_s;
    QTest::newRow("cut to 250") << longName << QStringList { longName }
                                << QString(242, u'a') + u" (2).pdf"_s;
}

void TestAttachedFiles::keptBothNames()
{
    QFETCH(QString, name);
    QFETCH(QStringList, present);
    TempProgramFolder folder;
    QVERIFY(AttachedFiles::ensureFolder());
    for (const QString &file : present)
        QVERIFY(writeFile(AttachedFiles::filePath(file), "x"));
    const QString kept = AttachedFiles::keptBothName(name);
    QTEST(kept, "kept");
    QVERIFY(kept.size() <= AttachedFiles::kNameCapacity);
}

// The other cards that name a file: every slot of the three archives, the card it is being
// chosen for left out.
void TestAttachedFiles::cardsUsingAFile()
{
    TempProgramFolder folder;
    const auto store = [](const Archive &archive, const QList<QStringList> &cards) {
        RecordFile file;
        if (!file.open(archive))
            return false;
        for (const QStringList &names : cards) {
            Record r(*archive.layout);
            for (int i = 0; i < names.size(); ++i)
                r.setValue(QStringLiteral("File0%1").arg(i + 1), names[i]);
            if (!file.append(r))
                return false;
        }
        return true;
    };
    QVERIFY(store(SupplierRecord::archive(),
        { { u"listino.pdf"_s }, { u"altro.pdf"_s }, { u""_s, u""_s, u"listino.pdf"_s } }));
    QVERIFY(store(ProductRecord::archive(), { { u"foto.jpg"_s, u"listino.pdf"_s } }));
    // The customer archive is not there: nothing to count in it.
    const QString suppliers = SupplierRecord::archive().fileName;
    QCOMPARE(AttachedFiles::cardsUsing(u"listino.pdf"_s, QString(), -1), 3);
    QCOMPARE(AttachedFiles::cardsUsing(u"listino.pdf"_s, suppliers, 2), 2);
    QCOMPARE(AttachedFiles::cardsUsing(u"listino.pdf"_s, suppliers, 1), 3);
    QCOMPARE(AttachedFiles::cardsUsing(u"altro.pdf"_s, suppliers, 1), 0);
    QCOMPARE(AttachedFiles::cardsUsing(u"nessuno.pdf"_s, QString(), -1), 0);
    QVERIFY(!QFile::exists(folder.filePath(CustomerRecord::archive().fileName)));
}

// Another card's different file of the same name is never replaced silently: "Conserva
// entrambi" stores the new one beside it and names that.
void TestAttachedFiles::takenNameKeepBothStoresBeside()
{
    TempProgramFolder folder;
    QVERIFY(AttachedFiles::ensureFolder());
    QVERIFY(writeFile(AttachedFiles::filePath(u"listino.pdf"_s), "fornitore 1"));
    Sources sources;
    const QString source = sources.put(u"listino.pdf"_s, "fornitore 3");
    QString askedName, askedKept;
    const auto outcome
        = AttachedFiles::attach(source, [&](const QString &name, const QString &kept) {
              askedName = name;
              askedKept = kept;
              return Choice::KeepBoth;
          });
    QCOMPARE(askedName, u"listino.pdf"_s);
    QCOMPARE(askedKept, u"listino (2).pdf"_s);
    QVERIFY(outcome.warning.isEmpty());
    QVERIFY(outcome.fillSlot);
    QCOMPARE(outcome.name, u"listino (2).pdf"_s);
    QCOMPARE(readFile(AttachedFiles::filePath(u"listino.pdf"_s)), QByteArray("fornitore 1"));
    QCOMPARE(readFile(AttachedFiles::filePath(u"listino (2).pdf"_s)), QByteArray("fornitore 3"));

    // A file with the same bytes as the folder's one of its name: no question, that name.
    const auto same
        = AttachedFiles::attach(sources.put(u"listino (2).pdf"_s, "fornitore 3"), neverAsked);
    QVERIFY(same.fillSlot);
    QCOMPARE(same.name, u"listino (2).pdf"_s);
    QCOMPARE(QDir(AttachedFiles::folderPath()).entryList(QDir::Files).size(), 2);
}

void TestAttachedFiles::copyCreatesTheFolderWithItsParents()
{
    TempProgramFolder folder;
    // A program folder that is itself not there yet.
    ProgramFolder::setPath(folder.filePath(u"Programmi/Merventa"_s));
    Sources sources;
    const QString source = sources.put(u"listino.xls"_s, sampleBytes(1000));

    const auto outcome = AttachedFiles::attach(source, neverAsked);
    QVERIFY2(outcome.warning.isEmpty(), qPrintable(outcome.warning));
    QVERIFY(outcome.fillSlot);
    QCOMPARE(outcome.name, u"listino.xls"_s);
    QCOMPARE(readFile(folder.filePath(u"Programmi/Merventa/Documenti_Allegati/listino.xls"_s)),
        sampleBytes(1000));
}

void TestAttachedFiles::copyIsByteForByteAndTakesHiddenFiles()
{
    TempProgramFolder folder;
    Sources sources;
    // Larger than one copy block, with every byte value.
    const QByteArray bytes = sampleBytes((1 << 20) * 2 + 123);
    const QString source = sources.put(u".nascosto"_s, bytes);

    const auto outcome = AttachedFiles::attach(source, neverAsked);
    QVERIFY2(outcome.warning.isEmpty(), qPrintable(outcome.warning));
    QCOMPARE(outcome.name, u".nascosto"_s);
    QCOMPARE(readFile(AttachedFiles::filePath(u".nascosto"_s)), bytes);
    QCOMPARE(folderEntries(), QStringList { u".nascosto"_s });
    // The chosen file is copied, not moved.
    QCOMPARE(readFile(source), bytes);
}

void TestAttachedFiles::takenNameAsksAndNoKeepsTheFoldersFile()
{
    TempProgramFolder folder;
    QVERIFY(AttachedFiles::ensureFolder());
    QVERIFY(writeFile(AttachedFiles::filePath(u"foto.jpg"_s), "vecchia"));
    Sources sources;
    const QString source = sources.put(u"foto.jpg"_s, "nuova");

    int asked = 0;
    const auto outcome = AttachedFiles::attach(source, answering(Choice::KeepExisting, &asked));
    QCOMPARE(asked, 1);
    QVERIFY(outcome.warning.isEmpty());
    // The slot names the file that stays in the folder.
    QVERIFY(outcome.fillSlot);
    QCOMPARE(outcome.name, u"foto.jpg"_s);
    QCOMPARE(readFile(AttachedFiles::filePath(u"foto.jpg"_s)), QByteArray("vecchia"));
}

void TestAttachedFiles::takenNameAsksAndYesReplacesIt()
{
    TempProgramFolder folder;
    QVERIFY(AttachedFiles::ensureFolder());
    QVERIFY(writeFile(AttachedFiles::filePath(u"foto.jpg"_s), "vecchia, più lunga"));
    Sources sources;
    const QString source = sources.put(u"foto.jpg"_s, "nuova");

    int asked = 0;
    const auto outcome = AttachedFiles::attach(source, answering(Choice::Overwrite, &asked));
    QCOMPARE(asked, 1);
    QVERIFY(outcome.fillSlot);
    QCOMPARE(readFile(AttachedFiles::filePath(u"foto.jpg"_s)), QByteArray("nuova"));
    QCOMPARE(folderEntries(), QStringList { u"foto.jpg"_s });

    // Choosing the folder's own file again and answering Yes keeps it whole.
    const auto again = AttachedFiles::attach(AttachedFiles::filePath(u"foto.jpg"_s), neverAsked);
    QVERIFY2(again.warning.isEmpty(), qPrintable(again.warning));
    QCOMPARE(readFile(AttachedFiles::filePath(u"foto.jpg"_s)), QByteArray("nuova"));
}

void TestAttachedFiles::fileInPlaceOfTheFolderIsReported()
{
    TempProgramFolder folder;
    // The tests run as root, so a read-only folder would not stop them: a file where the
    // folder should be does.
    QVERIFY(writeFile(AttachedFiles::folderPath(), "non una cartella"));
    Sources sources;
    const QString source = sources.put(u"listino.xls"_s, "dati");

    const auto outcome = AttachedFiles::attach(source, neverAsked);
    QVERIFY(!outcome.fillSlot);
    QVERIFY(outcome.warning.startsWith(u"Attenzione: non è stato possibile creare la cartella"_s));
    QVERIFY(outcome.warning.endsWith(u"Il file non è stato allegato."_s));
    QCOMPARE(readFile(AttachedFiles::folderPath()), QByteArray("non una cartella"));
    QCOMPARE(AttachedFiles::copyIntoFolder(source, u"listino.xls"_s),
        AttachedFiles::CopyResult::FolderNotCreated);
}

void TestAttachedFiles::vanishedSourceIsReported()
{
    TempProgramFolder folder;
    Sources sources;
    const QString source = sources.put(u"sparito.pdf"_s, "dati");
    QVERIFY(QFile::remove(source));

    const auto outcome = AttachedFiles::attach(source, neverAsked);
    QVERIFY(!outcome.fillSlot);
    QVERIFY(outcome.warning.startsWith(
        u"Attenzione: non è stato possibile leggere il file scelto:\r\n"_s));
    QVERIFY(outcome.warning.contains(QDir::toNativeSeparators(source)));
    QVERIFY(folderEntries().isEmpty());
    QCOMPARE(AttachedFiles::copyIntoFolder(source, u"sparito.pdf"_s),
        AttachedFiles::CopyResult::SourceUnreadable);
}

void TestAttachedFiles::unwritableTargetLeavesNothingBehind()
{
    TempProgramFolder folder;
    QVERIFY(QDir().mkpath(AttachedFiles::filePath(u"foto.jpg"_s)));
    Sources sources;
    const QString source = sources.put(u"foto.jpg"_s, sampleBytes(5000));

    // A folder of that name is there: Yes cannot replace it.
    int asked = 0;
    const auto outcome = AttachedFiles::attach(source, answering(Choice::Overwrite, &asked));
    QVERIFY(!outcome.fillSlot);
    QVERIFY(outcome.warning.startsWith(
        u"Attenzione: non è stato possibile copiare il file nella cartella dei documenti "
        "allegati"_s));
    QCOMPARE(folderEntries(), QStringList { u"foto.jpg"_s });
    QVERIFY(QFileInfo(AttachedFiles::filePath(u"foto.jpg"_s)).isDir());
}

void TestAttachedFiles::unstorableNameIsCopiedUnderAStorableOne_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");
    QTest::newRow("greek") << u"Τιμολόγιο.pdf"_s << u"_________.pdf"_s;
    // Linux takes up to 255 bytes in a name.
    QTest::newRow("255 characters")
        << QString(251, u'n') + u".pdf"_s << QString(246, u'n') + u".pdf"_s;
}

void TestAttachedFiles::unstorableNameIsCopiedUnderAStorableOne()
{
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    TempProgramFolder folder;
    Sources sources;
    const QString source = sources.put(chosen, "contenuto");
    QVERIFY(!source.isEmpty());

    const auto outcome = AttachedFiles::attach(source, neverAsked);
    QVERIFY2(outcome.warning.isEmpty(), qPrintable(outcome.warning));
    QCOMPARE(outcome.name, stored);
    QCOMPARE(folderEntries(), QStringList { stored });
    QCOMPARE(readFile(AttachedFiles::filePath(stored)), QByteArray("contenuto"));
}

QTEST_APPLESS_MAIN(TestAttachedFiles)
#include "tst_attachedfiles.moc"
