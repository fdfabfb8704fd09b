#include "app/ArchiveSettings.h"
#include "app/OpenURL.h"
#include "attachments/Cartella.h"
#include "attachments/RecordFolder.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <functional>

using namespace Qt::StringLiterals;

// The record folder: its path from the card's position, its creation and the dialog that
// opens it.
class TestCartella : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { TMisc::setOpener({}); }
    void pathFor_data();
    void pathFor();
    void prepareCreatesOnceAndKeepsContents();
    void prepareReportsWhatCannotBeCreated();
    void prepareReportsAnUnreadableFolder();
    void apriCartellaOpensTheFolderAndCloses();
    void apriCartellaWarnsWhenTheFolderCannotBeCreated();
    void chiudiCreatesNothing();
    void dialogContract();
    void instructionsShowWhole_data();
    void instructionsShowWhole();

private:
    // Runs act on a dialog made for position once it is shown modally.
    void runDialog(const QString &position, const std::function<void(TfrmCartella *)> &act);
};

void TestCartella::pathFor_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("name"); // empty: no folder
    QTest::addColumn<bool>("shared"); // a documents folder is set in the settings

    QTest::newRow("position 7") << u"7"_s << u"Cliente_7"_s << false;
    QTest::newRow("position 7, shared documents folder") << u"7"_s << u"Cliente_7"_s << true;
    QTest::newRow("a path, shared documents folder") << u"../7"_s << QString() << true;
    QTest::newRow("position 12, trimmed") << u" 12 "_s << u"Cliente_12"_s << false;
    QTest::newRow("empty (a new card)") << QString() << QString() << false;
    QTest::newRow("zero") << u"0"_s << QString() << false;
    QTest::newRow("negative") << u"-3"_s << QString() << false;
    QTest::newRow("leading zero") << u"07"_s << QString() << false;
    QTest::newRow("a path") << u"../7"_s << QString() << false;
    QTest::newRow("a separator") << u"7/x"_s << QString() << false;
}

void TestCartella::pathFor()
{
    QFETCH(QString, position);
    QFETCH(QString, name);
    QFETCH(bool, shared);
    TempProgramFolder folder;
    // The folder the computers of a shop share, as the archives' settings name it.
    QTemporaryDir documents;
    if (shared) {
        ArchiveSettings::Settings settings;
        settings.documentsFolder = documents.path();
        QVERIFY(ArchiveSettings::write(settings));
    }
    const QString path = RecordFolder::pathFor(position);
    const QString expected = shared ? QDir(documents.path()).filePath(name) : folder.filePath(name);
    QCOMPARE(path, name.isEmpty() ? QString() : expected);
}

void TestCartella::prepareCreatesOnceAndKeepsContents()
{
    TempProgramFolder folder;
    const QString path = RecordFolder::pathFor(u"7");
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(RecordFolder::prepare(path), RecordFolder::Outcome::Ready);
    QVERIFY(QFileInfo(path).isDir());

    QFile kept(path + u"/contratto.pdf"_s);
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("%PDF");
    kept.close();
    QCOMPARE(RecordFolder::prepare(path), RecordFolder::Outcome::Ready);
    QCOMPARE(QDir(path).entryList(QDir::Files), QStringList { u"contratto.pdf"_s });
    QCOMPARE(folder.readAll(u"Cliente_7/contratto.pdf"_s), QByteArray("%PDF"));
}

void TestCartella::prepareReportsWhatCannotBeCreated()
{
    TempProgramFolder folder;
    // A file where the folder should be.
    QFile blocker(folder.filePath(u"Cliente_3"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QCOMPARE(
        RecordFolder::prepare(RecordFolder::pathFor(u"3")), RecordFolder::Outcome::CannotCreate);
    QVERIFY(QFileInfo(folder.filePath(u"Cliente_3"_s)).isFile());

    // A program folder below a file: no parent can be made.
    ProgramFolder::setPath(folder.filePath(u"Cliente_3/sotto"_s));
    QCOMPARE(
        RecordFolder::prepare(RecordFolder::pathFor(u"4")), RecordFolder::Outcome::CannotCreate);
    QCOMPARE(RecordFolder::prepare(QString()), RecordFolder::Outcome::CannotCreate);
}

void TestCartella::prepareReportsAnUnreadableFolder()
{
    TempProgramFolder folder;
    const QString path = RecordFolder::pathFor(u"5");
    QVERIFY(QDir().mkpath(path));
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    const bool readable = QFileInfo(path).isReadable();
    const RecordFolder::Outcome outcome = RecordFolder::prepare(path);
    QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (readable)
        QSKIP("the folder stays readable for this user (root)");
    QCOMPARE(outcome, RecordFolder::Outcome::CannotOpen);
}

void TestCartella::runDialog(
    const QString &position, const std::function<void(TfrmCartella *)> &act)
{
    bool acted = false;
    onNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmCartella *>(modal);
        if (!dialog)
            return;
        acted = true;
        act(dialog);
        if (dialog->isVisible())
            dialog->close();
    });
    TfrmCartella::openFor(nullptr, position);
    QVERIFY(acted);
}

void TestCartella::apriCartellaOpensTheFolderAndCloses()
{
    TempProgramFolder folder;
    QList<QUrl> opened;
    TMisc::setOpener([&opened](const QUrl &url) { opened.append(url); });
    MessageRecorder messages;

    bool stillOpen = true;
    for (int press = 0; press < 2; ++press) {
        runDialog(u"7"_s, [&](TfrmCartella *dialog) {
            QCOMPARE(dialog->findChild<QLabel *>(u"lblMemory"_s)->text(), u"7"_s);
            QTest::mouseClick(
                dialog->findChild<QPushButton *>(u"btnApriCartella"_s), Qt::LeftButton);
            stillOpen = dialog->isVisible();
        });
        QVERIFY(!stillOpen);
    }
    QCOMPARE(messages.count(), 0);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened.at(0), QUrl::fromLocalFile(folder.filePath(u"Cliente_7"_s)));
    QCOMPARE(opened.at(1), opened.at(0));
    QVERIFY(QFileInfo(folder.filePath(u"Cliente_7"_s)).isDir());
}

void TestCartella::apriCartellaWarnsWhenTheFolderCannotBeCreated()
{
    TempProgramFolder folder;
    QFile blocker(folder.filePath(u"Cliente_2"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QList<QUrl> opened;
    TMisc::setOpener([&opened](const QUrl &url) { opened.append(url); });
    MessageRecorder messages;

    runDialog(u"2"_s, [](TfrmCartella *dialog) {
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"btnApriCartella"_s), Qt::LeftButton);
    });
    QVERIFY(opened.isEmpty());
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Messages::Kind::Warning);
    QCOMPARE(messages.lastText(), RecordFolder::cannotCreateText(folder.filePath(u"Cliente_2"_s)));
    QVERIFY(messages.lastText().startsWith(
        u"Attenzione: non è stato possibile creare la cartella abbinata alla scheda corrente:"_s));
    QVERIFY(
        messages.lastText().contains(QDir::toNativeSeparators(folder.filePath(u"Cliente_2"_s))));
}

void TestCartella::chiudiCreatesNothing()
{
    TempProgramFolder folder;
    QList<QUrl> opened;
    TMisc::setOpener([&opened](const QUrl &url) { opened.append(url); });
    bool stillOpen = true;
    runDialog(u"9"_s, [&](TfrmCartella *dialog) {
        QTest::mouseClick(dialog->findChild<QPushButton *>(u"btnChiudi"_s), Qt::LeftButton);
        stillOpen = dialog->isVisible();
    });
    QVERIFY(!stillOpen);
    QVERIFY(opened.isEmpty());
    QVERIFY(!QFileInfo::exists(folder.filePath(u"Cliente_9"_s)));
}

void TestCartella::dialogContract()
{
    TfrmCartella dialog;
    QCOMPARE(dialog.objectName(), u"TfrmCartella"_s);
    QCOMPARE(dialog.windowTitle(), u" Gestione cartella abbinata alla scheda corrente"_s);
    static const struct
    {
        const char *name;
        const char *className;
    } controls[] = {
        { "imgLogo", "QLabel" },
        { "icoIstruzioni01", "QLabel" },
        { "icoCartella", "QLabel" },
        { "btnApriCartella", "QPushButton" },
        { "icoIstruzioni02", "QLabel" },
        { "btnChiudi", "QPushButton" },
        { "lblMemory", "QLabel" },
    };
    for (const auto &c : controls) {
        QWidget *w = dialog.findChild<QWidget *>(QString::fromLatin1(c.name));
        QVERIFY2(w, c.name);
        QVERIFY2(w->inherits(c.className), c.name);
    }
    QCOMPARE(dialog.findChild<QPushButton *>(u"btnApriCartella"_s)->text(), u"Apri cartella"_s);
    QCOMPARE(dialog.findChild<QPushButton *>(u"btnChiudi"_s)->text(), u"Chiudi"_s);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
}

// Every line of both instructions shows: each wrapped text gets the height it needs at the
// width it has, inside the dialog.
void TestCartella::instructionsShowWhole_data()
{
    QTest::addColumn<QString>("label");
    QTest::newRow("the folder") << u"icoIstruzioni01"_s;
    QTest::newRow("the backup") << u"icoIstruzioni02"_s;
}

void TestCartella::instructionsShowWhole()
{
    QFETCH(QString, label);
    TfrmCartella dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto *text = dialog.findChild<QLabel *>(label);
    QVERIFY(text);
    QVERIFY(text->wordWrap());
    QVERIFY(!text->text().isEmpty());
    QVERIFY2(text->height() >= text->heightForWidth(text->width()),
        qPrintable(u"%1 px of %2"_s.arg(text->height()).arg(text->heightForWidth(text->width()))));
    const QRect placed(text->mapTo(&dialog, QPoint()), text->size());
    QVERIFY(dialog.rect().contains(placed));
}

QTEST_MAIN(TestCartella)
#include "tst_cartella.moc"
