// Saving a product card as Salva does (open the archive, append or rewrite one record,
// close), with the writers' lock and the rollback journal, against the save before them
// (one write call and a flush to disk, nothing else), in the same run on the same disk.
#include "BenchSupport.h"

#include "records/ProductRecord.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"

#include <QFile>
#include <QTemporaryDir>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// On the disk of the build (not a memory file system), where the flushes cost what they
// cost the user.
QTemporaryDir &folder()
{
    static QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/merventa-save-XXXXXX"));
    return dir;
}

QByteArray cardBytes(int i)
{
    Record r(ProductRecord::layout());
    r.setValue(ProductRecord::Codice, QStringLiteral("ART%1").arg(i));
    r.setValue(ProductRecord::Tipologia, QStringLiteral("Pneumatici estivi"));
    r.setValue(ProductRecord::Note, QStringLiteral("nota %1").arg(i).repeated(20));
    return r.encode();
}

// An archive of 1,000 cards, written once per case.
QString archive(const QString &name)
{
    const QString path = folder().filePath(name);
    QFile::remove(path);
    QFile::remove(RecordFile::journalPath(path));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    for (int i = 0; i < 1000; ++i)
        f.write(cardBytes(i));
    return path;
}

// The save before the lock and the journal: open, seek, one write, flush to disk, close.
bool plainSave(const QString &path, qint64 index, const QByteArray &bytes, bool append)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const qint64 at = append ? f.size() / bytes.size() : index;
    if (!f.seek(at * bytes.size()) || f.write(bytes) != bytes.size() || !f.flush())
        return false;
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(f.handle())));
#else
    return ::fsync(f.handle()) == 0;
#endif
}

bool safeSave(const QString &path, qint64 index, const QByteArray &bytes, bool append)
{
    RecordFile file;
    if (!file.openPath(path, ProductRecord::layout()))
        return false;
    return append ? file.append(bytes) : file.writeAt(index, bytes);
}

template <bool Safe, bool Append> void Save(benchmark::State &state)
{
    const QString path = archive(QStringLiteral("Magazzino_%1_%2.mrv").arg(Safe).arg(Append));
    const QByteArray bytes = cardBytes(500);
    for (auto _ : state) {
        const bool ok
            = Safe ? safeSave(path, 500, bytes, Append) : plainSave(path, 500, bytes, Append);
        if (!ok) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()));
}

void PlainAppend(benchmark::State &state)
{
    Save<false, true>(state);
}
void PlainRewrite(benchmark::State &state)
{
    Save<false, false>(state);
}
void SafeAppend(benchmark::State &state)
{
    Save<true, true>(state);
}
void SafeRewrite(benchmark::State &state)
{
    Save<true, false>(state);
}

} // namespace

BENCHMARK(PlainAppend)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SafeAppend)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainRewrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SafeRewrite)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    return BenchSupport::runBenchmarks(argc, argv,
        { { "SafeAppend", "PlainAppend", 0.0 }, { "SafeRewrite", "PlainRewrite", 0.0 } });
}
