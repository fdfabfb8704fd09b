#include "storage/Storage.h"

namespace Storage {

namespace {

// The archives as files of the program folder, through RecordFile.
class FileSession final : public Session
{
public:
    bool open(const Archive &archive, Access access)
    {
        m_layout = archive.layout;
        return m_file.open(archive, access);
    }

    qint64 recordCount() const override { return m_file.recordCount(); }
    bool readAt(qint64 index, Record &record) override { return m_file.readAt(index, record); }
    bool scan(std::span<const int> fields, const Visit &visit) override
    {
        Q_UNUSED(fields); // a record is read whole from a file, in large blocks
        m_file.seek(0);
        while (!m_file.atEnd()) {
            const qint64 index = m_file.currentIndex();
            const QByteArrayView bytes = m_file.nextRecord();
            if (bytes.isEmpty())
                return false;
            if (!visit(index, bytes))
                return true;
        }
        return true;
    }
    bool writeAt(qint64 index, const Record &record) override
    {
        return m_file.writeAt(index, record);
    }
    bool writeAtIf(qint64 index, const Record &record, const Record &asRead) override
    {
        // Compared as records: bytes past a field's text that are not zeros (an older
        // program's) do not make a record another one.
        const QByteArray readBytes = asRead.encode();
        const RecordLayout &layout = *m_layout;
        return m_file.writeAtIf(index, record.encode(), [&](QByteArrayView stored) {
            return Record::fromBytes(layout, stored).encode() == readBytes;
        });
    }
    bool append(const Record &record) override { return m_file.append(record); }
    Failure failure() const override { return m_file.failure(); }
    QString errorString() const override { return m_file.errorString(); }

private:
    RecordFile m_file;
    const RecordLayout *m_layout = nullptr;
};

class FileBackend final : public Backend
{
public:
    std::unique_ptr<Session> open(
        const Archive &archive, Access access, QString *error, Failure *failure) override
    {
        auto session = std::make_unique<FileSession>();
        if (session->open(archive, access))
            return session;
        if (error)
            *error = session->errorString();
        if (failure)
            *failure = session->failure();
        return nullptr;
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

void setBackend(std::shared_ptr<Backend> backend)
{
    Storage::backend() = std::move(backend);
}

QString failureText(Failure failure)
{
    return failure == Failure::Busy ? archiveBusyText() : accessErrorText();
}

} // namespace Storage
