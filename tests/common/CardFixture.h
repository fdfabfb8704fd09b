#pragma once
#include "app/Screens.h"
#include "cards/CardBinding.h"
#include "cards/CardScreen.h"
#include "common/MessageRecorder.h"
#include "common/TempProgramFolder.h"
#include "storage/Record.h"
#include "storage/RecordFile.h"

#include <QLineEdit>
#include <QList>
#include <QTest>
#include <QWidget>

// A card under test: a temporary program folder, every message recorded, the card created
// and registered as the resident screen of its name (so that lists reopen records into
// it), shown and active. Card is a CardScreen subclass (TfrmMagazzino, TfrmAnagrafica, ...).
template <typename Card> class CardFixture
{
public:
    CardFixture()
    {
        Screens::registerResident(&card);
        card.show();
    }
    ~CardFixture() { Screens::unregisterResident(&card); }
    CardFixture(const CardFixture &) = delete;
    CardFixture &operator=(const CardFixture &) = delete;

    // True when the folder exists, every field of the card has its control, and the card
    // is the active window. Use it as QVERIFY(f.ready()) at the start of every test.
    bool ready()
    {
        if (!folder.isValid() || !card.problems().isEmpty())
            return false;
        card.activateWindow();
        return QTest::qWaitForWindowActive(&card);
    }

    template <typename T = QWidget> T *find(const QString &name) const
    {
        return card.template findChild<T *>(name);
    }
    QLineEdit *edit(const QString &name) const { return find<QLineEdit>(name); }
    // The text of a control as the binding reads it ("<missing>" for no such control).
    QString text(const QString &name) const
    {
        const QWidget *w = find(name);
        return w ? CardBinding::controlText(w) : QStringLiteral("<missing>");
    }
    void click(const QString &name) const { QTest::mouseClick(find(name), Qt::LeftButton); }

    const Archive &archive() const { return card.cardArchive().archive(); }
    // The archive's bytes as they are on disk.
    QByteArray bytes() const { return folder.readAll(archive().fileName); }
    // Writes these records as the whole archive; false when it cannot be written.
    bool writeRecords(const QList<Record> &records) const
    {
        QFile::remove(folder.filePath(archive().fileName));
        RecordFile file;
        if (!file.open(archive()))
            return false;
        for (const Record &r : records) {
            if (!file.append(r))
                return false;
        }
        return true;
    }
    // The records of the archive, in file order.
    QList<Record> records() const
    {
        QList<Record> out;
        RecordFile file;
        if (!file.open(archive()))
            return out;
        Record r(*archive().layout);
        while (file.readNext(r))
            out << r;
        return out;
    }
    // A record of the card's layout with the given fields set.
    Record record(const QList<std::pair<int, QString>> &values = {}) const
    {
        Record r(*archive().layout);
        for (const auto &[field, text] : values)
            r.setValue(field, text);
        return r;
    }

    TempProgramFolder folder;
    MessageRecorder messages;
    Card card;
};
