#include "storage/Storage.h"

#include "storage/RecordFile.h"

namespace Storage {

namespace {

// What a failed open leaves for the caller.
std::unique_ptr<Session> opened(
    std::unique_ptr<RecordFile> file, bool ok, QString *error, Failure *failure)
{
    if (ok)
        return file;
    if (error)
        *error = file->errorString();
    if (failure)
        *failure = file->failure();
    return nullptr;
}

// The archives as files of the program folder.
class FileBackend final : public Backend
{
public:
    std::unique_ptr<Session> open(
        const Archive &archive, Access access, QString *error, Failure *failure) override
    {
        auto file = std::make_unique<RecordFile>();
        const bool ok = file->open(archive, access);
        return opened(std::move(file), ok, error, failure);
    }
};

std::shared_ptr<Backend> &backend()
{
    static std::shared_ptr<Backend> current;
    return current;
}

} // namespace

std::unique_ptr<Session> open(
    const Archive &archive, Access access, QString *error, Failure *failure)
{
    static FileBackend files;
    Backend &chosen = backend() ? *backend() : static_cast<Backend &>(files);
    return chosen.open(archive, access, error, failure);
}

std::unique_ptr<Session> openFile(const QString &path, const RecordLayout &layout, Access access,
    QString *error, Failure *failure)
{
    auto file = std::make_unique<RecordFile>();
    const bool ok = file->openPath(path, layout, access);
    return opened(std::move(file), ok, error, failure);
}

bool read(const Archive &archive, const std::function<void(Session &)> &work, Failure *failure)
{
    const std::unique_ptr<Session> session = open(archive, Access::ReadOnly, nullptr, failure);
    if (!session)
        return false;
    work(*session);
    return true;
}

bool readFile(const QString &path, const RecordLayout &layout,
    const std::function<void(Session &)> &work, Failure *failure)
{
    const std::unique_ptr<Session> session
        = openFile(path, layout, Access::ReadOnly, nullptr, failure);
    if (!session)
        return false;
    work(*session);
    return true;
}

void setBackend(std::shared_ptr<Backend> backend)
{
    Storage::backend() = std::move(backend);
}

QStringList takeNotices()
{
    return RecordFile::takeNotices();
}

QString failureText(Failure failure)
{
    return failure == Failure::Busy ? archiveBusyText() : accessErrorText();
}

} // namespace Storage
