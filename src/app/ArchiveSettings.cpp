#include "app/ArchiveSettings.h"

#include "app/Crypt.h"
#include "app/IniFile.h"
#include "storage/ProgramFolder.h"
#include "storage/SafeFile.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>
#include <QUrlQuery>

namespace ArchiveSettings {

namespace {

constexpr char kModeKey[] = "Modalita";
constexpr char kServerKey[] = "Server";
constexpr char kPortKey[] = "Porta";
constexpr char kDatabaseKey[] = "Database";
constexpr char kUserKey[] = "Utente";
constexpr char kPasswordKey[] = "Password";
constexpr char kDocumentsKey[] = "CartellaDocumenti";

constexpr char kFolderMode[] = "cartella";
constexpr char kServerMode[] = "server";

// The first lines of a new file, for whoever opens it with a text editor.
constexpr char kHeader[]
    = "; Impostazioni di Merventa 2.0: dove si trovano gli archivi.\n"
      "; La password del server non e' scritta in chiaro ma solo offuscata: chiunque abbia il\n"
      "; programma puo' ricavarla. La vera protezione e' questo file, leggibile solo dal suo\n"
      "; proprietario: non renderlo leggibile ad altri utenti del computer.\n";

// A value as the file holds it: UTF-8 on one line.
QByteArray fileText(const QString &value)
{
    QString line = value;
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line.trimmed().toUtf8();
}

struct Reader
{
    const QByteArray &content;
    QStringList problems;

    std::optional<QString> text(const char *key)
    {
        const std::optional<QByteArray> raw = IniFile::valueIn(content, kSection, key);
        if (!raw)
            return std::nullopt;
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString value = decoder(*raw);
        if (decoder.hasError()) {
            problems.append(QStringLiteral("Il valore di %1 contiene caratteri non leggibili.")
                                .arg(QLatin1StringView(key)));
            return std::nullopt;
        }
        return value;
    }
};

QString scrambledPassword(const QString &password)
{
    return Crypt::scramble(QString::fromLatin1(password.toUtf8()));
}

std::optional<QString> clearPassword(const QString &scrambled)
{
    if (scrambled.size() % 2 != 0)
        return std::nullopt;
    const std::optional<QString> bytes = Crypt::unscramble(scrambled);
    if (!bytes)
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString password = decoder(bytes->toLatin1());
    if (decoder.hasError())
        return std::nullopt;
    return password;
}

bool isUri(QStringView connection)
{
    const QStringView text = connection.trimmed();
    return text.startsWith(u"postgresql://") || text.startsWith(u"postgres://");
}

std::optional<QList<std::pair<QString, QString>>> parseUri(QStringView connection)
{
    const QUrl url(connection.trimmed().toString(), QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    QList<std::pair<QString, QString>> pairs;
    const auto add = [&pairs](const QString &key, const QString &value) {
        if (!value.isEmpty())
            pairs.append({ key, value });
    };
    add(QStringLiteral("host"), url.host(QUrl::FullyDecoded));
    if (url.port() >= 0)
        add(QStringLiteral("port"), QString::number(url.port()));
    add(QStringLiteral("dbname"), url.path(QUrl::FullyDecoded).mid(1));
    add(QStringLiteral("user"), url.userName(QUrl::FullyDecoded));
    add(QStringLiteral("password"), url.password(QUrl::FullyDecoded));
    const QUrlQuery query(url);
    for (const auto &item : query.queryItems(QUrl::FullyDecoded))
        pairs.append({ item.first, item.second });
    return pairs;
}

bool isBlank(QChar c)
{
    return c.isSpace();
}

std::optional<QList<std::pair<QString, QString>>> parseKeywords(QStringView text)
{
    QList<std::pair<QString, QString>> pairs;
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    for (;;) {
        skipBlanks();
        if (i >= n)
            return pairs;
        QString key;
        while (i < n && !isBlank(text[i]) && text[i] != u'=')
            key += text[i++];
        skipBlanks();
        if (key.isEmpty() || i >= n || text[i] != u'=')
            return std::nullopt;
        ++i;
        skipBlanks();
        QString value;
        if (i < n && text[i] == u'\'') {
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar c = text[i++];
                if (c == u'\\' && i < n) {
                    value += text[i++];
                } else if (c == u'\'') {
                    closed = true;
                    break;
                } else {
                    value += c;
                }
            }
            if (!closed)
                return std::nullopt;
        } else {
            while (i < n && !isBlank(text[i])) {
                const QChar c = text[i++];
                if (c == u'\\' && i < n)
                    value += text[i++];
                else
                    value += c;
            }
        }
        pairs.append({ key, value });
    }
}

} // namespace

QString filePath()
{
    return ProgramFolder::filePath(kFileName.toString());
}

Loaded read()
{
    return readFrom(filePath());
}

Loaded readFrom(const QString &path)
{
    Loaded loaded;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return loaded;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        loaded.damaged = true;
        loaded.problem = QStringLiteral("Il file %1 non si può leggere.").arg(kFileName);
        return loaded;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        loaded.damaged = true;
        loaded.problem = QStringLiteral("Il file %1 non si può leggere.").arg(kFileName);
        return loaded;
    }

    Reader reader { content, {} };
    Settings &settings = loaded.settings;
    if (const auto mode = reader.text(kModeKey); mode && !mode->isEmpty()) {
        if (mode->compare(QLatin1StringView(kServerMode), Qt::CaseInsensitive) == 0)
            settings.mode = Mode::Server;
        else if (mode->compare(QLatin1StringView(kFolderMode), Qt::CaseInsensitive) != 0)
            reader.problems.append(QStringLiteral(
                "La modalità \"%1\" non è prevista: gli archivi restano nella cartella del "
                "programma.")
                                       .arg(*mode));
    }
    settings.server = reader.text(kServerKey).value_or(QString());
    if (const auto port = reader.text(kPortKey); port && !port->isEmpty()) {
        bool ok = false;
        const int number = port->toInt(&ok);
        if (ok && number >= 1 && number <= 65535)
            settings.port = number;
        else
            reader.problems.append(
                QStringLiteral("La porta \"%1\" non è un numero da 1 a 65535: si usa la %2.")
                    .arg(*port)
                    .arg(kDefaultPort));
    }
    settings.database = reader.text(kDatabaseKey).value_or(QString());
    settings.user = reader.text(kUserKey).value_or(QString());
    if (const auto scrambled = reader.text(kPasswordKey); scrambled && !scrambled->isEmpty()) {
        if (const std::optional<QString> password = clearPassword(*scrambled))
            settings.password = *password;
        else
            reader.problems.append(QStringLiteral(
                "La password del server è danneggiata: va scritta di nuovo nelle impostazioni "
                "degli archivi."));
    }
    settings.documentsFolder = reader.text(kDocumentsKey).value_or(QString());
    if (!reader.problems.isEmpty()) {
        loaded.damaged = true;
        loaded.problem = QStringLiteral("Il file %1 contiene valori non validi. ").arg(kFileName)
            + reader.problems.join(u' ');
    }
    return loaded;
}

bool write(const Settings &settings, QString *error)
{
    return writeTo(filePath(), settings, error);
}

bool writeTo(const QString &path, const Settings &settings, QString *error)
{
    QByteArray content = kHeader;
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        // The other sections and the comments of an existing file stay as they are; a file
        // that cannot be read is not replaced.
        QFile old(path);
        if (!info.isFile() || !old.open(QIODevice::ReadOnly)) {
            if (error)
                *error = QStringLiteral("Il file %1 esistente non si può leggere.").arg(kFileName);
            return false;
        }
        content = old.readAll();
        if (old.error() != QFileDevice::NoError) {
            if (error)
                *error = QStringLiteral("Il file %1 esistente non si può leggere.").arg(kFileName);
            return false;
        }
    }

    const std::pair<const char *, QByteArray> values[] = {
        { kModeKey, settings.mode == Mode::Server ? kServerMode : kFolderMode },
        { kServerKey, fileText(settings.server) },
        { kPortKey, QByteArray::number(settings.port) },
        { kDatabaseKey, fileText(settings.database) },
        { kUserKey, fileText(settings.user) },
        { kPasswordKey, scrambledPassword(settings.password).toLatin1() },
        { kDocumentsKey, fileText(settings.documentsFolder) },
    };
    for (const auto &[key, value] : values)
        content = IniFile::withValue(content, kSection, key, value);

    QString why;
    const bool written = SafeFile::replace(
        path,
        [&content](QIODevice &out) {
            // Owner only, before the first byte of the password reaches the disk (a
            // system without such permissions keeps its own).
            if (auto *file = qobject_cast<QFileDevice *>(&out))
                file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            return out.write(content) == content.size();
        },
        &why);
    if (!written && error)
        *error = QStringLiteral("Impossibile scrivere il file %1 (%2).").arg(kFileName, why);
    return written;
}

InForce inForce()
{
    InForce result;
    const Loaded loaded = read();
    const QString environment = qEnvironmentVariable(kEnvironment);
    if (environment.trimmed().isEmpty()) {
        result.settings = loaded.settings;
        result.damaged = loaded.damaged;
        result.problem = loaded.problem;
        if (result.settings.mode == Mode::Server)
            result.connectionString = connectionString(result.settings);
        return result;
    }
    result.fromEnvironment = true;
    result.connectionString = withTimeout(environment);
    if (const std::optional<Settings> named = settingsOf(environment)) {
        result.settings = *named;
    } else {
        result.settings.mode = Mode::Server;
        result.damaged = true;
        result.problem = QStringLiteral(
            "La variabile d'ambiente %1 non è una stringa di connessione leggibile.")
                             .arg(QLatin1StringView(kEnvironment));
    }
    result.settings.documentsFolder = loaded.settings.documentsFolder;
    return result;
}

QString documentsFolder()
{
    return documentsFolderOf(inForce().settings);
}

QString documentsFolderOf(const Settings &settings)
{
    return settings.documentsFolder.trimmed().isEmpty() ? ProgramFolder::path()
                                                        : settings.documentsFolder;
}

QString quoted(QStringView value)
{
    QString result = QStringLiteral("'");
    for (const QChar c : value) {
        if (c == u'\'' || c == u'\\')
            result += u'\\';
        result += c;
    }
    return result + u'\'';
}

QString connectionString(const Settings &settings)
{
    QStringList parts;
    const auto add = [&parts](const char *key, const QString &value) {
        if (!value.isEmpty())
            parts.append(QLatin1StringView(key) + u'=' + quoted(value));
    };
    add("host", settings.server.trimmed());
    add("port", QString::number(settings.port));
    add("dbname", settings.database.trimmed());
    add("user", settings.user.trimmed());
    add("password", settings.password);
    parts.append(QStringLiteral("connect_timeout=%1").arg(kConnectTimeout));
    return parts.join(u' ');
}

QString withTimeout(const QString &connection)
{
    const auto pairs = parseConnectionString(connection);
    if (!pairs)
        return connection;
    for (const auto &[key, value] : *pairs) {
        if (key == u"connect_timeout")
            return connection;
    }
    const QString timeout = QStringLiteral("connect_timeout=%1").arg(kConnectTimeout);
    if (isUri(connection)) {
        const QString text = connection.trimmed();
        return text + (text.contains(u'?') ? u'&' : u'?') + timeout;
    }
    return connection.trimmed().isEmpty() ? timeout : connection.trimmed() + u' ' + timeout;
}

std::optional<QList<std::pair<QString, QString>>> parseConnectionString(QStringView connection)
{
    return isUri(connection) ? parseUri(connection) : parseKeywords(connection);
}

std::optional<Settings> settingsOf(QStringView connection)
{
    const auto pairs = parseConnectionString(connection);
    if (!pairs)
        return std::nullopt;
    Settings settings;
    settings.mode = Mode::Server;
    for (const auto &[key, value] : *pairs) {
        if (key == u"host" || key == u"hostaddr") {
            if (settings.server.isEmpty() || key == u"host")
                settings.server = value;
        } else if (key == u"port") {
            bool ok = false;
            const int port = value.toInt(&ok);
            if (!ok || port < 1 || port > 65535)
                return std::nullopt;
            settings.port = port;
        } else if (key == u"dbname") {
            settings.database = value;
        } else if (key == u"user") {
            settings.user = value;
        } else if (key == u"password") {
            settings.password = value;
        }
    }
    return settings;
}

} // namespace ArchiveSettings
