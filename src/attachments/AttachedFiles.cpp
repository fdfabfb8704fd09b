#include "attachments/AttachedFiles.h"

#include "cards/CardIds.h"
#include "storage/Cp1252.h"
#include "storage/ProgramFolder.h"
#include "storage/TextForms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Control characters of both ranges: the C1 ones are what the five unused bytes of the
// code page decode to, so a damaged record can hold them too.
bool isControl(char16_t u)
{
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

bool isForbiddenInWindowsName(char16_t u)
{
    switch (u) {
    case u'\\':
    case u'/':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
        return true;
    default:
        return isControl(u);
    }
}

bool isStorable(QChar ch)
{
    return Cp1252::encodeChar(ch) != '?';
}

// An extension is kept whole when a long name is cut, unless it is itself unusually long.
constexpr qsizetype kLongestKeptExtension = 20;

QString cutToCapacity(const QString &name)
{
    if (name.size() <= AttachedFiles::kNameCapacity)
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    const qsizetype extensionSize = dot > 0 ? name.size() - dot : 0;
    if (extensionSize == 0 || extensionSize > kLongestKeptExtension)
        return name.left(AttachedFiles::kNameCapacity);
    return name.left(AttachedFiles::kNameCapacity - extensionSize) + name.mid(dot);
}

constexpr qint64 kCopyBlock = 1 << 20;

} // namespace

namespace AttachedFiles {

QString folderPath()
{
    return ProgramFolder::filePath(QString::fromLatin1(kFolderName));
}

QString filePath(const QString &name)
{
    return QDir(folderPath()).filePath(name);
}

bool isPlainName(const QString &name)
{
    if (name.isEmpty())
        return false;
    bool onlyDotsAndBlanks = true;
    for (const QChar ch : name) {
        const char16_t u = ch.unicode();
        if (u == u'/' || u == u'\\' || u == u':' || isControl(u))
            return false;
        if (u != u'.' && u != u' ')
            onlyDotsAndBlanks = false;
    }
    return !onlyDotsAndBlanks;
}

QString storableName(const QString &fileName)
{
    // A name written in decomposed form (an accent as a separate mark) becomes the
    // composed letters the code page has.
    const QString composed = TrimControl(fileName.normalized(QString::NormalizationForm_C));
    QString name;
    name.reserve(composed.size());
    for (qsizetype i = 0; i < composed.size(); ++i) {
        const QChar ch = composed[i];
        if (ch.isHighSurrogate() && i + 1 < composed.size() && composed[i + 1].isLowSurrogate()) {
            // One character outside the Basic Multilingual Plane (an emoji): one "_".
            ++i;
            name.append(u'_');
        } else if (isForbiddenInWindowsName(ch.unicode()) || !isStorable(ch)) {
            name.append(u'_');
        } else {
            name.append(ch);
        }
    }
    return cutToCapacity(name);
}

QString openCommand(const QString &name)
{
    return u'"' + QDir::toNativeSeparators(filePath(name)) + u'"';
}

QString cardForTag(const QString &tag)
{
    const std::optional<CardId> card = cardForAttachmentsTag(tag);
    return card ? QString(cardIdentity(*card).objectName) : QString();
}

bool ensureFolder()
{
    // mkpath also answers true when a file, not a folder, has the folder's name.
    return QDir().mkpath(folderPath()) && QFileInfo(folderPath()).isDir();
}

bool existsInFolder(const QString &name)
{
    const QFileInfo target(filePath(name));
    // A dangling link still takes the name.
    return target.exists() || target.isSymLink();
}

CopyResult copyIntoFolder(const QString &sourcePath, const QString &name)
{
    QFile source(sourcePath);
    if (!QFileInfo(sourcePath).isFile() || !source.open(QIODevice::ReadOnly))
        return CopyResult::SourceUnreadable;
    if (!ensureFolder())
        return CopyResult::FolderNotCreated;

    // Never written in place: the temporary file is renamed over the old one at commit.
    QSaveFile target(filePath(name));
    target.setDirectWriteFallback(false);
    if (!target.open(QIODevice::WriteOnly))
        return CopyResult::TargetNotWritten;
    QByteArray block;
    for (;;) {
        block = source.read(kCopyBlock);
        if (block.isEmpty()) {
            if (source.error() != QFileDevice::NoError || !source.atEnd()) {
                target.cancelWriting();
                return CopyResult::SourceUnreadable;
            }
            break;
        }
        if (target.write(block) != block.size()) {
            target.cancelWriting();
            return CopyResult::TargetNotWritten;
        }
    }
    return target.commit() ? CopyResult::Copied : CopyResult::TargetNotWritten;
}

QString copyFailureText(CopyResult result, const QString &sourcePath)
{
    const QString notAttached = QStringLiteral("\r\n\r\nIl file non è stato allegato.");
    switch (result) {
    case CopyResult::Copied:
        return {};
    case CopyResult::NameUnusable:
        return QStringLiteral("Attenzione: il nome del file scelto non può essere usato per un "
                              "file allegato:\r\n%1")
                   .arg(QDir::toNativeSeparators(sourcePath))
            + notAttached;
    case CopyResult::FolderNotCreated:
        return QStringLiteral("Attenzione: non è stato possibile creare la cartella dei "
                              "documenti allegati:\r\n%1")
                   .arg(QDir::toNativeSeparators(folderPath()))
            + notAttached;
    case CopyResult::SourceUnreadable:
        return QStringLiteral("Attenzione: non è stato possibile leggere il file scelto:\r\n%1")
                   .arg(QDir::toNativeSeparators(sourcePath))
            + notAttached;
    case CopyResult::TargetNotWritten:
        return QStringLiteral("Attenzione: non è stato possibile copiare il file nella cartella "
                              "dei documenti allegati (disco pieno o cartella protetta da "
                              "scrittura).")
            + notAttached;
    }
    return {};
}

QString refusedNameText()
{
    return QStringLiteral(
        "Attenzione: il nome del file allegato non è valido. Un file allegato deve avere un "
        "nome semplice, senza cartelle, lettere di unità o caratteri di controllo.\r\n\r\n"
        "Il file non è stato aperto.");
}

QString overwriteQuestion()
{
    return QStringLiteral("Attenzione: nella cartella dei documenti allegati è presente un file "
                          "con lo stesso nome.\r\n\r\nSi vuole sovrascrivere il file esistente?");
}

Attach attach(const QString &sourcePath, const std::function<bool()> &confirmOverwrite)
{
    const QString name = storableName(QFileInfo(sourcePath).fileName());
    if (!isPlainName(name))
        return { false, {}, copyFailureText(CopyResult::NameUnusable, sourcePath) };
    // A file that cannot be read is reported before the user is asked about replacing.
    if (!QFileInfo(sourcePath).isFile() || !QFileInfo(sourcePath).isReadable())
        return { false, {}, copyFailureText(CopyResult::SourceUnreadable, sourcePath) };
    if (!ensureFolder())
        return { false, {}, copyFailureText(CopyResult::FolderNotCreated, sourcePath) };
    if (existsInFolder(name) && !confirmOverwrite())
        return { true, name, {} };
    const CopyResult result = copyIntoFolder(sourcePath, name);
    if (result != CopyResult::Copied)
        return { false, {}, copyFailureText(result, sourcePath) };
    return { true, name, {} };
}

} // namespace AttachedFiles
