// One of several computers saving product cards on the same server at once, for the test of
// concurrent writers: appends cards coded w<id>-<n> and, between them, rewrites the note of
// cards at other positions as a card does (conditional on the record it read).
//
//   serverwriter <connection string> <id> <saves>
//
// Prints "<appended> <rewritten> <conflicts>" and exits 0 when every append was stored and
// every rewrite either stored or refused as a conflict; 1 otherwise.
#include "records/ProductRecord.h"
#include "server/ServerBackend.h"
#include "storage/Storage.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    const QString id = args[2];
    const int saves = args[3].toInt();
    QString error;
    const auto backend = Server::connect(args[1], &error);
    QTextStream err(stderr);
    if (!backend) {
        err << error << '\n';
        return 1;
    }
    Storage::setBackend(backend);
    QRandomGenerator random(quint32(id.toInt() * 7919 + 17));
    int appended = 0;
    int rewritten = 0;
    int conflicts = 0;
    for (int n = 0; n < saves; ++n) {
        // A card saved as it is on a counter: opened for the save, closed after it.
        const auto session
            = Storage::open(ProductRecord::archive(), Storage::Access::ReadWrite, &error);
        if (!session) {
            err << error << '\n';
            return 1;
        }
        Record card(ProductRecord::layout());
        const qint64 count = session->recordCount();
        if (n % 3 == 2 && count > 0) {
            const qint64 at = qint64(random.bounded(quint32(count)));
            Record asRead(ProductRecord::layout());
            if (!session->readAt(at, asRead)) {
                err << session->errorString() << '\n';
                return 1;
            }
            card = asRead;
            card.setValue(
                ProductRecord::Note, QStringLiteral("riscritto da w%1 (%2)").arg(id).arg(n));
            if (session->writeAtIf(at, card, asRead)) {
                ++rewritten;
            } else if (session->failure() == Storage::Failure::Conflict) {
                ++conflicts;
            } else {
                err << session->errorString() << '\n';
                return 1;
            }
            continue;
        }
        card.setValue(ProductRecord::Codice, QStringLiteral("w%1-%2").arg(id).arg(n));
        card.setValue(
            ProductRecord::Descrizione, QStringLiteral("scheda della postazione %1").arg(id));
        if (!session->append(card)) {
            err << session->errorString() << '\n';
            return 1;
        }
        ++appended;
    }
    QTextStream(stdout) << appended << ' ' << rewritten << ' ' << conflicts << '\n';
    return 0;
}
