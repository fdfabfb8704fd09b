#pragma once
#include <QString>

#include <functional>

// The files attached to the product, customer and supplier cards: copies kept in the one
// folder "Documenti_Allegati" of the program folder, known to a record only by their plain
// name. Every card and record shares the folder, so two attachments with the same name are
// the same file. Nothing here deletes an attached file.
namespace AttachedFiles {

inline constexpr char kFolderName[] = "Documenti_Allegati";
// The capacity of the File01..File03 fields: a longer name could not be found again.
inline constexpr int kNameCapacity = 250;

// The attachment folder, and the full path of an attached file in it.
QString folderPath();
QString filePath(const QString &name);

// True for a name that can only mean a file directly inside the attachment folder: not
// empty, no path separator, no drive letter or other colon, no control character, and not
// "." or ".." (nor any other name made of dots and blanks only, which Windows reads as a
// folder). Names read from a record pass this before they become a path.
bool isPlainName(const QString &name);

// The name a chosen file is copied under: its own name, trimmed, with every character the
// record files cannot store in Windows-1252 (a Greek or Chinese letter) and every character
// a Windows file name cannot hold (\ / : * ? " < > | and control characters) replaced by
// "_", and cut to 250 characters keeping its extension. A plain Western name stays as it is.
QString storableName(const QString &fileName);

// The text handed to the shell to open an attached file: its full path in double quotes.
QString openCommand(const QString &name);

// The card a caller tag names ("magazzino" -> "TfrmMagazzino", "anagrafica" ->
// "TfrmAnagrafica", "fornitori" -> "TfrmFornitori"); empty for any other tag.
QString cardForTag(const QString &tag);

enum class CopyResult {
    Copied,
    NameUnusable,
    FolderNotCreated,
    SourceUnreadable,
    TargetNotWritten
};

// Creates the attachment folder with any missing parents; true when it is there.
bool ensureFolder();
// True when something of that name is already in the attachment folder.
bool existsInFolder(const QString &name);
// Copies sourcePath into the attachment folder as name, replacing a file of that name.
// The copy is written under a temporary name and renamed only when complete, so a failed
// copy leaves the folder as it was: neither a partial file nor a damaged old one.
CopyResult copyIntoFolder(const QString &sourcePath, const QString &name);

// What the user is told (in a warning) when a copy fails, and when a name read from a
// record is refused.
QString copyFailureText(CopyResult result, const QString &sourcePath);
QString refusedNameText();

// The question asked before a chosen file replaces one of the same name in the folder.
QString overwriteQuestion();

// The outcome of choosing a file for a slot.
struct Attach
{
    // True when the slot is to show name; false leaves the slot as it was.
    bool fillSlot = false;
    QString name;
    // A warning for the user, or empty.
    QString warning;
};

// Choosing sourcePath for a slot: its storable name, the folder made sure of, the overwrite
// question through confirmOverwrite when the name is taken (No keeps the folder's file and
// the slot names it), and the copy. Any failure leaves the slot as it was and says why.
Attach attach(const QString &sourcePath, const std::function<bool()> &confirmOverwrite);

} // namespace AttachedFiles
