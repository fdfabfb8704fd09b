#pragma once
#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

// Replacing a whole file (an export, a PDF, the password file, an attached document, the
// help document) so that it is either the new file complete on disk or the old file
// untouched. The content goes into a temporary file beside the target; that file is
// flushed, its bytes synced to the disk, and only then renamed over the target. Each step
// is checked (QSaveFile's commit() in Qt 6.4 looks neither at the flush of its last
// buffered bytes nor at the sync), and each asks RecordFile's fault hook first
// (ReplaceWrite, ReplaceSync, ReplaceCommit), so failures can be tested as any user.
namespace SafeFile {

// Writes into the device it is given; false when it could not write everything.
using Writer = std::function<bool(QIODevice &out)>;

// Replaces the file at path with what writer writes. On failure the old file (or no
// file) is left as it was, no temporary file stays behind, and error says why.
bool replace(const QString &path, const Writer &writer, QString *error = nullptr);
// The same with the whole content at hand.
bool replace(const QString &path, const QByteArray &content, QString *error = nullptr);

} // namespace SafeFile
