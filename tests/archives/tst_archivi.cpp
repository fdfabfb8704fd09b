#include "app/ArchiveSettings.h"
#include "archives/ArchiveServer.h"
#include "archives/Archivi.h"
#include "archives/ServerCalls.h"
#include "archives/StartupArchives.h"
#include "common/MessageRecorder.h"
#include "common/ModalProbe.h"
#include "common/TempProgramFolder.h"
#include "records/ProductRecord.h"
#include "server/TestServer.h"
#include "storage/Storage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using Messages::Answer;
using Messages::Kind;

namespace {

// A backend that opens nothing: what matters here is which one is in use.
class FakeBackend : public Storage::Backend
{
public:
    std::unique_ptr<Storage::Session> open(
        const Archive &, Storage::Access, QString *error, Storage::Failure *) override
    {
        if (error)
            *error = QStringLiteral("finto");
        return nullptr;
    }
    QStringList archiveNames(const QStringList &) const override { return {}; }
    bool copyArchives(const QString &, QStringList *, QString *error) override
    {
        if (error)
            *error = QStringLiteral("finto");
        return false;
    }
    std::unique_ptr<Storage::WorkingCopy> workingCopy(
        const Archive &, QString *error, Storage::Failure *) override
    {
        if (error)
            *error = QStringLiteral("finto");
        return nullptr;
    }
};

// A server the test scripts: what each call answers, and what it was asked.
struct FakeServer
{
    bool reachable = true;
    QString refusal = QStringLiteral("Il server nas non risponde");
    qint64 records = 0;
    qint64 total = 3;
    bool transferFails = false;
    QStringList calls;
    QString lastConnection;
    QString lastFolder;
    QList<qint64> progressSeen;
    bool cancelled = false;

    void install()
    {
        ArchiveServer::Calls server;
        server.connect = [this](const QString &connection, QString *error) {
            record(QStringLiteral("connect"), connection);
            if (!reachable) {
                *error = refusal;
                return std::shared_ptr<Storage::Backend>();
            }
            return std::shared_ptr<Storage::Backend>(std::make_shared<FakeBackend>());
        };
        server.probe = [this](const QString &connection) {
            record(QStringLiteral("probe"), connection);
            if (!reachable)
                return ArchiveServer::Probe { false, refusal, -1 };
            return ArchiveServer::Probe { true, QStringLiteral("Il server risponde."), records };
        };
        server.transfer = [this](const QString &connection, const QString &folder,
                              const ArchiveServer::Progress &progress, QString *error) {
            record(QStringLiteral("transfer"), connection);
            lastFolder = folder;
            for (qint64 done = 0; done <= total; ++done) {
                progressSeen.append(done);
                if (!progress(done, total)) {
                    cancelled = true;
                    return false;
                }
            }
            if (transferFails) {
                *error = QStringLiteral("spazio esaurito sul server");
                return false;
            }
            return true;
        };
        server.copyBack = [this](const QString &connection, const QString &folder, QString *) {
            record(QStringLiteral("copyBack"), connection);
            lastFolder = folder;
            return true;
        };
        ArchiveServer::install(server);
    }

    void record(const QString &call, const QString &connection)
    {
        calls.append(call);
        lastConnection = connection;
    }
};

template <typename T> T *child(const QWidget *screen, const char *name)
{
    T *found = screen->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("control %s missing", name);
    return found;
}

// A click on the option's round mark (a radio button wider than its text takes clicks
// only on the mark and the text).
void choose(QRadioButton *option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

void fillServer(TfrmArchivi &screen)
{
    choose(child<QRadioButton>(&screen, "optServer"));
    child<QLineEdit>(&screen, "txtServer")->setText(QStringLiteral("nas"));
    child<QLineEdit>(&screen, "txtPorta")->setText(QStringLiteral("6001"));
    child<QLineEdit>(&screen, "txtDatabase")->setText(QStringLiteral("negozio"));
    child<QLineEdit>(&screen, "txtUtente")->setText(QStringLiteral("cassa"));
    child<QLineEdit>(&screen, "txtPassword")->setText(QStringLiteral("Segreta'9"));
}

constexpr char kFieldsConnection[] = "host='nas' port='6001' dbname='negozio' user='cassa' "
                                     "password='Segreta\\'9' connect_timeout=5";

const char *const kServerFields[]
    = { "txtServer", "txtPorta", "txtDatabase", "txtUtente", "txtPassword" };

} // namespace

class TestArchivi : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void defaults();
    void serverFieldsFollowTheChoice();
    void overrideIsShownReadOnly();
    void damagedSettingsAreSaid();
    void applyWrites_data();
    void applyWrites();
    void applyRefusedByTheServerChangesNothing();
    void applyChecksTheFields_data();
    void applyChecksTheFields();
    void probeSaysTheAnswer_data();
    void probeSaysTheAnswer();
    void transferAsksBeforeReplacing_data();
    void transferAsksBeforeReplacing();
    void transferCanBeCancelled();
    void copyBackAsksFirst_data();
    void copyBackAsksFirst();
    void withoutServerCallsNothingIsReached();
    void startWithTheFolder();
    void startWithAnUnreachableServer_data();
    void startWithAnUnreachableServer();
    void startOpensTheSettings();
    void probeOfTheRealServer_data();
    void probeOfTheRealServer();
    void transferThenCopyBackGiveTheSameArchive();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<FakeServer> m_server;
};

void TestArchivi::init()
{
    qunsetenv(ArchiveSettings::kEnvironment);
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->isValid());
    m_server = std::make_unique<FakeServer>();
    m_server->install();
    ArchiveServer::useFolder();
}

void TestArchivi::cleanup()
{
    qunsetenv(ArchiveSettings::kEnvironment);
    ArchiveServer::install({});
    ArchiveServer::useFolder();
    m_server.reset();
    m_folder.reset();
}

void TestArchivi::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");

    static const struct
    {
        const char *name;
        const char *className;
        const char *text;
    } rows[] = {
        { "optCartella", "QRadioButton", "Archivi nella cartella del programma" },
        { "optServer", "QRadioButton", "Archivi su un server PostgreSQL" },
        { "txtServer", "QLineEdit", "" },
        { "txtPorta", "QLineEdit", "5432" },
        { "txtDatabase", "QLineEdit", "" },
        { "txtUtente", "QLineEdit", "" },
        { "txtPassword", "QLineEdit", "" },
        { "txtCartellaDocumenti", "QLineEdit", nullptr },
        { "btnSfoglia", "QPushButton", "Sfoglia..." },
        { "btnProva", "QPushButton", "Prova connessione" },
        { "btnTrasferisci", "QPushButton",
            "Trasferisci sul server gli archivi di questa cartella" },
        { "btnRiporta", "QPushButton", "Copia in questa cartella gli archivi del server" },
        { "prgTrasferimento", "QProgressBar", nullptr },
        { "btnAnnulla", "QPushButton", "Annulla" },
        { "btnApplica", "QPushButton", "Applica" },
        { "btnChiudi", "QPushButton", "Chiudi" },
        { "imgGuida", "QToolButton", "Guida" },
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name)
                                << QString::fromLatin1(row.className)
                                << (row.text ? QString::fromUtf8(row.text) : QString());
}

void TestArchivi::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);

    TfrmArchivi screen;
    QCOMPARE(screen.objectName(), QStringLiteral("TfrmArchivi"));
    QCOMPARE(screen.windowTitle(), QStringLiteral(" Archivi"));
    const QWidget *control = screen.findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), className);
    if (text.isNull())
        return;
    if (const auto *edit = qobject_cast<const QLineEdit *>(control))
        QCOMPARE(edit->text(), text);
    else
        QCOMPARE(static_cast<const QAbstractButton *>(control)->text(), text);
}

void TestArchivi::defaults()
{
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QVERIFY(child<QRadioButton>(&screen, "optCartella")->isChecked());
    QVERIFY(!child<QRadioButton>(&screen, "optServer")->isChecked());
    QCOMPARE(child<QLineEdit>(&screen, "txtPassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(child<QLineEdit>(&screen, "txtCartellaDocumenti")->text(),
        QDir::toNativeSeparators(m_folder->path()));
    QVERIFY(!child<QLabel>(&screen, "lblAvviso")->isVisible());
    QVERIFY(child<QLabel>(&screen, "lblInUso")->text().contains(QStringLiteral("cartella")));
    QVERIFY(child<QPushButton>(&screen, "btnApplica")->isEnabled());
    QVERIFY(child<QPushButton>(&screen, "btnChiudi")->isEnabled());
    QVERIFY(!child<QPushButton>(&screen, "btnAnnulla")->isEnabled());
    // Opening the screen writes nothing.
    QVERIFY(!QFileInfo::exists(ArchiveSettings::filePath()));
}

void TestArchivi::serverFieldsFollowTheChoice()
{
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    const auto serverControlsEnabled = [&screen](bool enabled) {
        for (const char *name : kServerFields) {
            if (child<QLineEdit>(&screen, name)->isEnabled() != enabled)
                return false;
        }
        for (const char *name : { "btnProva", "btnTrasferisci", "btnRiporta" }) {
            if (child<QPushButton>(&screen, name)->isEnabled() != enabled)
                return false;
        }
        return true;
    };
    QVERIFY(serverControlsEnabled(false));
    choose(child<QRadioButton>(&screen, "optServer"));
    QVERIFY(child<QRadioButton>(&screen, "optServer")->isChecked());
    QVERIFY(serverControlsEnabled(true));
    choose(child<QRadioButton>(&screen, "optCartella"));
    QVERIFY(serverControlsEnabled(false));
    // The documents folder is not a server matter.
    QVERIFY(child<QLineEdit>(&screen, "txtCartellaDocumenti")->isEnabled());
}

void TestArchivi::overrideIsShownReadOnly()
{
    // The file says folder; the variable wins and the screen says why.
    QVERIFY(ArchiveSettings::write({}));
    qputenv(ArchiveSettings::kEnvironment,
        "host=nas.negozio port=6002 dbname=prova user='mario rossi' password=pw");
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    QVERIFY(child<QRadioButton>(&screen, "optServer")->isChecked());
    QCOMPARE(child<QLineEdit>(&screen, "txtServer")->text(), QStringLiteral("nas.negozio"));
    QCOMPARE(child<QLineEdit>(&screen, "txtPorta")->text(), QStringLiteral("6002"));
    QCOMPARE(child<QLineEdit>(&screen, "txtDatabase")->text(), QStringLiteral("prova"));
    QCOMPARE(child<QLineEdit>(&screen, "txtUtente")->text(), QStringLiteral("mario rossi"));
    QCOMPARE(child<QLineEdit>(&screen, "txtPassword")->text(), QStringLiteral("pw"));
    for (const char *name : kServerFields)
        QVERIFY2(child<QLineEdit>(&screen, name)->isReadOnly(), name);
    QVERIFY(child<QLineEdit>(&screen, "txtCartellaDocumenti")->isReadOnly());
    QVERIFY(!child<QRadioButton>(&screen, "optCartella")->isEnabled());
    QVERIFY(!child<QRadioButton>(&screen, "optServer")->isEnabled());
    QVERIFY(!child<QPushButton>(&screen, "btnApplica")->isEnabled());
    QVERIFY(!child<QPushButton>(&screen, "btnSfoglia")->isEnabled());
    const QLabel *note = child<QLabel>(&screen, "lblAvviso");
    QVERIFY(note->isVisible());
    QVERIFY2(note->text().contains(QStringLiteral("variabile d'ambiente MERVENTA_SERVER")),
        qPrintable(note->text()));
    // Prova still tries the server in force, with the variable's own string.
    MessageRecorder messages;
    QTest::mouseClick(child<QPushButton>(&screen, "btnProva"), Qt::LeftButton);
    QCOMPARE(m_server->calls, QStringList { QStringLiteral("probe") });
    QCOMPARE(m_server->lastConnection,
        QStringLiteral("host=nas.negozio port=6002 dbname=prova user='mario rossi' password=pw "
                       "connect_timeout=5"));
    // The file is untouched.
    QCOMPARE(ArchiveSettings::read().settings, ArchiveSettings::Settings {});
}

void TestArchivi::damagedSettingsAreSaid()
{
    QFile file(ArchiveSettings::filePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Archivi]\nModalita=server\nServer=nas\nPorta=novanta\n");
    file.close();
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    const QLabel *note = child<QLabel>(&screen, "lblAvviso");
    QVERIFY(note->isVisible());
    QVERIFY2(note->text().contains(QStringLiteral("\"novanta\"")), qPrintable(note->text()));
    QCOMPARE(child<QLineEdit>(&screen, "txtPorta")->text(), QStringLiteral("5432"));
    QCOMPARE(child<QLineEdit>(&screen, "txtServer")->text(), QStringLiteral("nas"));
}

void TestArchivi::applyWrites_data()
{
    QTest::addColumn<bool>("server");
    QTest::newRow("folder") << false;
    QTest::newRow("server") << true;
}

void TestArchivi::applyWrites()
{
    QFETCH(bool, server);

    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    if (server)
        fillServer(screen);
    MessageRecorder messages;
    QTest::mouseClick(child<QPushButton>(&screen, "btnApplica"), Qt::LeftButton);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Kind::Information);
    QCOMPARE(ArchiveServer::onServer(), server);
    QCOMPARE(m_server->calls, server ? QStringList { QStringLiteral("connect") } : QStringList());
    if (server)
        QCOMPARE(m_server->lastConnection, QString::fromUtf8(kFieldsConnection));

    const QString path = ArchiveSettings::filePath();
    QVERIFY(QFileInfo::exists(path));
#ifdef Q_OS_UNIX
    QCOMPARE(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(!content.contains("Segreta"));
    const ArchiveSettings::Loaded loaded = ArchiveSettings::read();
    QVERIFY(!loaded.damaged);
    QCOMPARE(loaded.settings, screen.fieldSettings());
    QCOMPARE(loaded.settings.mode,
        server ? ArchiveSettings::Mode::Server : ArchiveSettings::Mode::Folder);
    // The program folder is stored as "the program folder".
    QVERIFY(loaded.settings.documentsFolder.isEmpty());
    if (server) {
        QCOMPARE(loaded.settings.password, QStringLiteral("Segreta'9"));
        QVERIFY(child<QLabel>(&screen, "lblInUso")->text().contains(QStringLiteral("nas")));
    }

    // And back to the folder.
    if (server) {
        choose(child<QRadioButton>(&screen, "optCartella"));
        QTest::mouseClick(child<QPushButton>(&screen, "btnApplica"), Qt::LeftButton);
        QVERIFY(!ArchiveServer::onServer());
        QCOMPARE(ArchiveSettings::read().settings.mode, ArchiveSettings::Mode::Folder);
        // The server's fields are kept for the next time.
        QCOMPARE(ArchiveSettings::read().settings.server, QStringLiteral("nas"));
    }
}

void TestArchivi::applyRefusedByTheServerChangesNothing()
{
    m_server->reachable = false;
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    fillServer(screen);
    MessageRecorder messages;
    QTest::mouseClick(child<QPushButton>(&screen, "btnApplica"), Qt::LeftButton);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Kind::Warning);
    QCOMPARE(messages.lastText(),
        QStringLiteral("Impossibile usare gli archivi del server: le impostazioni non sono "
                       "state cambiate. Il server nas non risponde."));
    QVERIFY(!ArchiveServer::onServer());
    QVERIFY(!QFileInfo::exists(ArchiveSettings::filePath()));
}

void TestArchivi::applyChecksTheFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");

    QTest::newRow("no server") << QStringLiteral("txtServer") << QString()
                               << QStringLiteral("Indicare il nome o l'indirizzo del server.");
    QTest::newRow("port zero") << QStringLiteral("txtPorta") << QStringLiteral("0")
                               << QStringLiteral(
                                      "La porta deve essere un numero da 1 a 65535 (di solito "
                                      "5432).");
    QTest::newRow("port too large")
        << QStringLiteral("txtPorta") << QStringLiteral("70000")
        << QStringLiteral("La porta deve essere un numero da 1 a 65535 (di "
                          "solito 5432).");
    QTest::newRow("no database") << QStringLiteral("txtDatabase") << QString()
                                 << QStringLiteral("Indicare il nome del database.");
    QTest::newRow("no user") << QStringLiteral("txtUtente") << QStringLiteral("   ")
                             << QStringLiteral("Indicare l'utente con cui collegarsi al server.");
    QTest::newRow("missing documents folder")
        << QStringLiteral("txtCartellaDocumenti") << QStringLiteral("/nessuna/cartella/così")
        << QStringLiteral("La cartella dei documenti %1 non esiste o non è raggiungibile.")
               .arg(QDir::toNativeSeparators(QStringLiteral("/nessuna/cartella/così")));
}

void TestArchivi::applyChecksTheFields()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);

    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    fillServer(screen);
    auto *edit = screen.findChild<QLineEdit *>(field);
    QVERIFY(edit);
    edit->setText(value);
    MessageRecorder messages;
    QTest::mouseClick(child<QPushButton>(&screen, "btnApplica"), Qt::LeftButton);
    QCOMPARE(messages.lastText(), message);
    QCOMPARE(messages.lastKind(), Kind::Warning);
    QVERIFY(m_server->calls.isEmpty());
    QVERIFY(!QFileInfo::exists(ArchiveSettings::filePath()));
    QVERIFY(!ArchiveServer::onServer());
}

void TestArchivi::probeSaysTheAnswer_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("answers") << true << int(Kind::Information)
                             << QStringLiteral("Il server risponde.");
    QTest::newRow("does not answer")
        << false << int(Kind::Warning) << QStringLiteral("Il server nas non risponde");
}

void TestArchivi::probeSaysTheAnswer()
{
    QFETCH(bool, reachable);
    QFETCH(int, kind);
    QFETCH(QString, text);

    m_server->reachable = reachable;
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    fillServer(screen);
    MessageRecorder messages;
    QTest::mouseClick(child<QPushButton>(&screen, "btnProva"), Qt::LeftButton);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(int(messages.lastKind()), kind);
    QCOMPARE(messages.lastText(), text);
    QCOMPARE(m_server->calls, QStringList { QStringLiteral("probe") });
    QCOMPARE(m_server->lastConnection, QString::fromUtf8(kFieldsConnection));
    // A test changes neither the settings nor the archives in use.
    QVERIFY(!QFileInfo::exists(ArchiveSettings::filePath()));
    QVERIFY(!ArchiveServer::onServer());
}

void TestArchivi::transferAsksBeforeReplacing_data()
{
    QTest::addColumn<qint64>("records");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("transferred");

    QTest::newRow("empty server, no question") << qint64(0) << int(Answer::No) << true;
    QTest::newRow("full server, Sì") << qint64(12345) << int(Answer::Yes) << true;
    QTest::newRow("full server, No") << qint64(12345) << int(Answer::No) << false;
}

void TestArchivi::transferAsksBeforeReplacing()
{
    QFETCH(qint64, records);
    QFETCH(int, answer);
    QFETCH(bool, transferred);

    m_server->records = records;
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    fillServer(screen);
    MessageRecorder messages;
    messages.answers = { Answer(answer) };
    QTest::mouseClick(child<QPushButton>(&screen, "btnTrasferisci"), Qt::LeftButton);
    if (records > 0) {
        QVERIFY(messages.takeFirst(QStringLiteral(
            "Il server contiene già degli archivi (12.345 record in tutto). Sostituirli con "
            "quelli di questa cartella?")));
    }
    QStringList expected { QStringLiteral("probe") };
    if (transferred)
        expected.append(QStringLiteral("transfer"));
    QCOMPARE(m_server->calls, expected);
    if (!transferred) {
        QCOMPARE(messages.count(), 0);
        return;
    }
    QCOMPARE(m_server->lastFolder, m_folder->path());
    QCOMPARE(m_server->progressSeen, (QList<qint64> { 0, 1, 2, 3 }));
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), Kind::Information);
    QVERIFY(messages.lastText().startsWith(QStringLiteral("Trasferimento completato")));
    // Everything usable again afterwards.
    QVERIFY(child<QPushButton>(&screen, "btnChiudi")->isEnabled());
    QVERIFY(!child<QPushButton>(&screen, "btnAnnulla")->isEnabled());
}

void TestArchivi::transferCanBeCancelled()
{
    m_server->total = 1000000;
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    fillServer(screen);
    auto *cancel = child<QPushButton>(&screen, "btnAnnulla");
    auto *bar = child<QProgressBar>(&screen, "prgTrasferimento");
    bool sawRunning = false;
    // Annulla pressed while the transfer reports its progress.
    QTimer::singleShot(0, &screen, [&] {
        sawRunning = cancel->isEnabled() && !child<QPushButton>(&screen, "btnChiudi")->isEnabled()
            && bar->maximum() == 1000;
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    MessageRecorder messages;
    QTest::mouseClick(child<QPushButton>(&screen, "btnTrasferisci"), Qt::LeftButton);
    QVERIFY(sawRunning);
    QVERIFY(m_server->cancelled);
    QVERIFY(m_server->progressSeen.size() < 1000000);
    QCOMPARE(messages.lastText(),
        QStringLiteral("Trasferimento annullato: sul server non è cambiato nulla."));
    QVERIFY(!cancel->isEnabled());
}

void TestArchivi::copyBackAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Sì") << int(Answer::Yes);
    QTest::newRow("No") << int(Answer::No);
}

void TestArchivi::copyBackAsksFirst()
{
    QFETCH(int, answer);

    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    fillServer(screen);
    MessageRecorder messages;
    messages.answers = { Answer(answer) };
    QTest::mouseClick(child<QPushButton>(&screen, "btnRiporta"), Qt::LeftButton);
    QVERIFY(messages.takeFirst(
        QStringLiteral("Gli archivi della cartella del programma (%1) saranno sostituiti con "
                       "quelli del server. Continuare?")
            .arg(QDir::toNativeSeparators(m_folder->path()))));
    if (Answer(answer) == Answer::No) {
        QVERIFY(m_server->calls.isEmpty());
        QCOMPARE(messages.count(), 0);
        return;
    }
    QCOMPARE(m_server->calls, QStringList { QStringLiteral("copyBack") });
    QCOMPARE(m_server->lastFolder, m_folder->path());
    QVERIFY(messages.lastText().startsWith(QStringLiteral("Copia completata")));
}

void TestArchivi::withoutServerCallsNothingIsReached()
{
    ArchiveServer::install({});
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    fillServer(screen);
    MessageRecorder messages;
    QTest::mouseClick(child<QPushButton>(&screen, "btnApplica"), Qt::LeftButton);
    QCOMPARE(messages.lastKind(), Kind::Warning);
    QVERIFY(!ArchiveServer::onServer());
    QVERIFY(!QFileInfo::exists(ArchiveSettings::filePath()));
}

void TestArchivi::startWithTheFolder()
{
    MessageRecorder messages;
    QVERIFY(StartupArchives::open(nullptr));
    QCOMPARE(messages.count(), 0);
    QVERIFY(m_server->calls.isEmpty());
    QVERIFY(!ArchiveServer::onServer());
}

void TestArchivi::startWithAnUnreachableServer_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("onServer");

    QTest::newRow("reachable") << true << int(Answer::Ok) << true << true;
    QTest::newRow("No: the folder this time") << false << int(Answer::No) << true << false;
    QTest::newRow("leave the program") << false << int(Answer::Other) << false << false;
}

void TestArchivi::startWithAnUnreachableServer()
{
    QFETCH(bool, reachable);
    QFETCH(int, answer);
    QFETCH(bool, goesOn);
    QFETCH(bool, onServer);

    ArchiveSettings::Settings settings;
    settings.mode = ArchiveSettings::Mode::Server;
    settings.server = QStringLiteral("nas");
    settings.database = QStringLiteral("negozio");
    settings.user = QStringLiteral("cassa");
    QVERIFY(ArchiveSettings::write(settings));
    m_server->reachable = reachable;
    MessageRecorder messages;
    messages.answers = { Answer(answer) };
    QCOMPARE(StartupArchives::open(nullptr), goesOn);
    QCOMPARE(ArchiveServer::onServer(), onServer);
    QCOMPARE(m_server->calls, QStringList { QStringLiteral("connect") });
    QCOMPARE(m_server->lastConnection, ArchiveSettings::connectionString(settings));
    if (reachable) {
        QCOMPARE(messages.count(), 0);
    } else {
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.lastKind(), Kind::Confirmation);
        QCOMPARE(messages.lastText(),
            QStringLiteral("Gli archivi del server non sono disponibili. Il server nas non "
                           "risponde. Si vogliono aprire le impostazioni degli archivi per "
                           "controllarle?"));
    }
    // The settings stay as they were, whatever the answer.
    QCOMPARE(ArchiveSettings::read().settings, settings);
}

void TestArchivi::startOpensTheSettings()
{
    ArchiveSettings::Settings settings;
    settings.mode = ArchiveSettings::Mode::Server;
    settings.server = QStringLiteral("nas");
    settings.database = QStringLiteral("negozio");
    settings.user = QStringLiteral("cassa");
    QVERIFY(ArchiveSettings::write(settings));
    m_server->reachable = false;
    MessageRecorder messages;
    // Sì opens the settings; closed without a change, the server is tried again and the
    // question comes back; No then goes on with the folder.
    messages.answers = { Answer::Yes, Answer::No };
    QString opened;
    onNextModal([&opened](QWidget *window) { opened = window->objectName(); });
    QVERIFY(StartupArchives::open(nullptr));
    QCOMPARE(opened, QStringLiteral("TfrmArchivi"));
    QCOMPARE(messages.count(), 2);
    QCOMPARE(
        m_server->calls, (QStringList { QStringLiteral("connect"), QStringLiteral("connect") }));
    QVERIFY(!ArchiveServer::onServer());
}

void TestArchivi::probeOfTheRealServer_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::newRow("nothing listens on the port") << false;
    QTest::newRow("the test cluster") << true;
}

void TestArchivi::probeOfTheRealServer()
{
    QFETCH(bool, reachable);

    ArchiveServer::install(ServerCalls::postgres());
    const QString cluster = testServer();
    QVERIFY2(!cluster.isEmpty(), "no test cluster: run scripts/test or ctest");
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    choose(child<QRadioButton>(&screen, "optServer"));
    // Port 1 of this computer: refused at once, nothing there speaks PostgreSQL.
    child<QLineEdit>(&screen, "txtServer")
        ->setText(reachable ? valueOf(cluster, "host") : QStringLiteral("127.0.0.1"));
    child<QLineEdit>(&screen, "txtPorta")
        ->setText(reachable ? valueOf(cluster, "port") : QStringLiteral("1"));
    child<QLineEdit>(&screen, "txtDatabase")->setText(valueOf(cluster, "dbname"));
    child<QLineEdit>(&screen, "txtUtente")->setText(valueOf(cluster, "user"));
    MessageRecorder messages;
    QTest::mouseClick(child<QPushButton>(&screen, "btnProva"), Qt::LeftButton);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastKind(), reachable ? Kind::Information : Kind::Warning);
    const QString text = messages.lastText();
    QVERIFY2(!text.isEmpty(), "no answer");
    // Words for a shop owner: Italian, and none of libpq's own English.
    QVERIFY2(!text.contains(QStringLiteral("connection to server")), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("refused")), qPrintable(text));
    QVERIFY(!ArchiveServer::onServer());
}

void TestArchivi::transferThenCopyBackGiveTheSameArchive()
{
    ArchiveServer::install(ServerCalls::postgres());
    const QString cluster = testServer();
    QVERIFY2(!cluster.isEmpty(), "no test cluster: run scripts/test or ctest");
    const QString database = freshDatabase(cluster, QStringLiteral("tst_archivi_roundtrip"));
    QVERIFY(!database.isEmpty());

    // Two product cards, one with every byte value an archive can hold.
    QByteArray products;
    for (int i = 0; i < 2; ++i) {
        Record card(ProductRecord::layout());
        card.setValue(ProductRecord::Codice, QStringLiteral("ART%1").arg(i));
        card.setValue(ProductRecord::Descrizione, QStringLiteral("Articolo n° %1 «prova»").arg(i));
        card.setValue(ProductRecord::Giacenza, QString::number(7 * i));
        products += card.encode();
    }
    QByteArray odd(int(ProductRecord::layout().recordSize()), '\0');
    for (int i = 0; i < odd.size(); ++i)
        odd[i] = char(i * 7 % 256);
    products += odd;
    const QString magazzino = m_folder->filePath(QStringLiteral("Magazzino.mrv"));
    {
        QFile file(magazzino);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(products), products.size());
    }

    // The server the administrator names: the screen shows it and acts on it.
    qputenv(ArchiveSettings::kEnvironment, database.toUtf8());
    TfrmArchivi screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    MessageRecorder messages(Answer::Yes);
    QTest::mouseClick(child<QPushButton>(&screen, "btnTrasferisci"), Qt::LeftButton);
    QVERIFY2(messages.lastText().startsWith(QStringLiteral("Trasferimento completato")),
        qPrintable(messages.lastText()));
    QCOMPARE(child<QProgressBar>(&screen, "prgTrasferimento")->value(), 0);

    // Transferred a second time the server holds three records: the question comes first.
    messages.clear();
    messages.answers = { Answer::No };
    QTest::mouseClick(child<QPushButton>(&screen, "btnTrasferisci"), Qt::LeftButton);
    QCOMPARE(messages.count(), 1);
    QCOMPARE(messages.lastText(),
        QStringLiteral("Il server contiene già degli archivi (3 record in tutto). Sostituirli "
                       "con quelli di questa cartella?"));

    QVERIFY(QFile::remove(magazzino));
    messages.clear();
    QTest::mouseClick(child<QPushButton>(&screen, "btnRiporta"), Qt::LeftButton);
    QVERIFY2(messages.lastText().startsWith(QStringLiteral("Copia completata")),
        qPrintable(messages.lastText()));
    QCOMPARE(m_folder->readAll(QStringLiteral("Magazzino.mrv")), products);
}

QTEST_MAIN(TestArchivi)
#include "tst_archivi.moc"
