#pragma once
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

// Where the archives live: the files of the program folder (the default) or a PostgreSQL
// server that several computers of a shop share. The choice is kept in the file
// Impostazioni.ini beside the program, section [Archivi]:
//
//   Modalita=cartella | server
//   Server=, Porta=, Database=, Utente=   the server's address and the role to log in as
//   Password=                             the role's password, scrambled (see below)
//   CartellaDocumenti=                    the customer folders (empty: the program folder)
//
// Values are UTF-8 text on one line; blanks around them are not kept. The password is
// scrambled with the key of the access password (app/Crypt.h) over its UTF-8 bytes: that
// only keeps it from being read at a glance. It is obfuscation, not encryption: anyone
// with the program can unscramble it. The real protection is the file itself, which the
// program creates readable and writable by its owner alone where the system allows it.
//
// The environment variable MERVENTA_SERVER, a libpq connection string, overrides the file
// for administrators and tests: while it is set the archives are on that server, whatever
// the file says (the documents folder still comes from the file).
namespace ArchiveSettings {

inline constexpr QStringView kFileName = u"Impostazioni.ini";
inline constexpr char kSection[] = "Archivi";
inline constexpr char kEnvironment[] = "MERVENTA_SERVER";
inline constexpr int kDefaultPort = 5432;
// Seconds libpq waits for a server before giving up: the program never hangs at start-up.
inline constexpr int kConnectTimeout = 5;

enum class Mode { Folder, Server };

struct Settings
{
    Mode mode = Mode::Folder;
    QString server;
    int port = kDefaultPort;
    QString database;
    QString user;
    QString password;
    // Empty: the program folder.
    QString documentsFolder;

    bool operator==(const Settings &) const = default;
};

// The settings read from the file. A missing file gives the defaults; a file that cannot
// be read, or a value that makes no sense (an unknown mode, a port out of 1-65535, a
// password that is not a scrambled text, text that is not UTF-8), gives the defaults for
// what could not be read, damaged set and problem saying what is wrong in Italian.
struct Loaded
{
    Settings settings;
    bool damaged = false;
    QString problem;
};

// The full path of Impostazioni.ini in the program folder.
QString filePath();
Loaded read();
Loaded readFrom(const QString &path);
// Replaces the file as a whole (the other sections and comments of an existing file are
// kept); the file is made readable and writable by its owner only before anything is
// written into it. False, with error saying why in Italian, when it could not be written:
// the old file is then as it was. An existing file that cannot be read is not replaced.
bool write(const Settings &settings, QString *error = nullptr);
bool writeTo(const QString &path, const Settings &settings, QString *error = nullptr);

// The settings in force: MERVENTA_SERVER when it is set and not empty, the file otherwise.
struct InForce
{
    Settings settings;
    // The libpq connection string of a server (empty for the folder).
    QString connectionString;
    bool fromEnvironment = false;
    bool damaged = false;
    QString problem;
};
InForce inForce();

// The documents folder in force: the settings' folder, or the program folder when empty.
QString documentsFolder();
QString documentsFolderOf(const Settings &settings);

// A value in single quotes as libpq reads it: every ' and \ preceded by a backslash.
QString quoted(QStringView value);
// The libpq connection string of the settings' server: host, port, dbname, user and
// password, each quoted (the empty ones left out, so libpq uses its defaults), then
// connect_timeout=5.
QString connectionString(const Settings &settings);
// The connection string with connect_timeout=5 added when it names no timeout itself
// (a key/value string or a postgresql:// address).
QString withTimeout(const QString &connection);

// The keywords and values of a libpq connection string (key = value pairs, values plain
// or in single quotes with backslash escapes; or a postgresql:// or postgres:// address),
// in the order they appear; nothing when it cannot be read.
std::optional<QList<std::pair<QString, QString>>> parseConnectionString(QStringView connection);
// The settings a connection string names (mode Server; fields it does not name are empty,
// the port 5432); nothing when it cannot be read.
std::optional<Settings> settingsOf(QStringView connection);

} // namespace ArchiveSettings
