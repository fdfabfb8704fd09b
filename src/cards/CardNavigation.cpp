#include "cards/CardNavigation.h"

#include "storage/TextForms.h"

namespace CardNavigation {

qint64 positionOf(const QString &positionText)
{
    bool ok = false;
    const qint64 p = TrimControl(positionText).toLongLong(&ok);
    return ok && p > 0 ? p : 0;
}

Step decide(Move move, const QString &positionText, qint64 recordCount)
{
    const qint64 p = positionOf(positionText);
    auto read = [](qint64 index) { return Step { Step::Action::Read, index, false }; };
    const Step empty { Step::Action::EmptyArchive, -1, false };

    switch (move) {
    case Move::First:
        return recordCount == 0 ? empty : read(0);
    case Move::Last:
        return recordCount == 0 ? empty : read(recordCount - 1);
    case Move::Previous:
        // At the first record the arrow is silent, even over an empty archive.
        if (p == 1)
            return {};
        if (recordCount == 0)
            return empty;
        return read(p == 0 ? 0 : p - 2);
    case Move::Next:
        if (recordCount == 0)
            return { Step::Action::EmptyArchive, -1, true };
        if (p >= recordCount)
            return {};
        return read(p);
    }
    return {};
}

Save decideSave(const QString &positionText)
{
    const qint64 p = positionOf(positionText);
    if (p == 0)
        return { true, -1,
            { Notice::Kind::Information,
                QStringLiteral("La scheda corrente è stata inserita in archivio.") } };
    return { false, p - 1,
        { Notice::Kind::Information,
            QStringLiteral(
                "Le modifiche apportate alla scheda corrente sono state salvate in archivio.") } };
}

QString emptyArchiveText()
{
    return QStringLiteral("L'archivio non contiene nessuna scheda.");
}

QString duplicateNewCardText()
{
    return QStringLiteral("Attenzione: la duplicazione di una scheda può avvenire soltanto dopo "
                          "che questa è stata inserita in archivio.");
}

QString duplicatedText()
{
    return QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente."
                          "\n\r\n\rAl termine premere Salva per inserire la scheda in archivio.");
}

} // namespace CardNavigation
