#include "reports/SummarySelection.h"

#include "storage/ProgramFolder.h"
#include "storage/TextForms.h"

namespace SummarySelection {

namespace {

const QString kYearMessage
    = QStringLiteral("Attenzione: indicare l'anno solare utilizzando quattro cifre.");
const QString kValidDate
    = QStringLiteral("Per poter visualizzare il riepilogo è necessario indicare una data valida.");
const QString kValidInterval = QStringLiteral(
    "Per poter visualizzare il riepilogo è necessario indicare un intervallo di tempo valido.");
const QString kBreak = QStringLiteral("\n\r\n\r");

QString chooseMessage(const char16_t *what)
{
    return QStringLiteral("Attenzione: indicare ") + QString::fromUtf16(what)
        + QStringLiteral(" intervallo selezionandolo dall'elenco a cascata.");
}

Outcome fail(Outcome out, Notice::Kind kind, const QString &message, Focus focus)
{
    out.ok = false;
    out.notice = { kind, message };
    out.focus = focus;
    return out;
}

} // namespace

const Twin &twin(MovementRecord::Kind kind)
{
    static const Twin load {
        MovementRecord::Kind::Load,
        QStringLiteral("TfrmMenuRiepilogoCarico"),
        QStringLiteral("TfrmRiepilogoCarico"),
        QStringLiteral(" Merventa 2.0 - Riepilogo movimenti di carico merce"),
        QStringLiteral("Carico_"),
        QStringLiteral("Per ottenere il riepilogo dei movimenti di carico riguardanti tutta la "
                       "merce, non indicare nessun codice articolo."),
        QStringLiteral("Movimenti di carico merce - Codice articolo: "),
    };
    static const Twin unload {
        MovementRecord::Kind::Unload,
        QStringLiteral("TfrmMenuRiepilogoScarico"),
        QStringLiteral("TfrmRiepilogoScarico"),
        QStringLiteral(" Merventa 2.0 - Riepilogo movimenti di scarico merce"),
        QStringLiteral("Scarico_"),
        QStringLiteral("Per ottenere il riepilogo dei movimenti di scarico riguardanti tutta la "
                       "merce, non indicare nessun codice articolo."),
        QStringLiteral("Movimenti di scarico merce - Codice articolo: "),
    };
    return kind == MovementRecord::Kind::Load ? load : unload;
}

QStringList monthNames()
{
    return { QStringLiteral("Gennaio"), QStringLiteral("Febbraio"), QStringLiteral("Marzo"),
        QStringLiteral("Aprile"), QStringLiteral("Maggio"), QStringLiteral("Giugno"),
        QStringLiteral("Luglio"), QStringLiteral("Agosto"), QStringLiteral("Settembre"),
        QStringLiteral("Ottobre"), QStringLiteral("Novembre"), QStringLiteral("Dicembre") };
}

QStringList dayTexts()
{
    QStringList days;
    for (int d = 1; d <= 31; ++d)
        days.append(QStringLiteral("%1").arg(d, 2, 10, QLatin1Char('0')));
    return days;
}

int monthNumber(QStringView monthText)
{
    const QString wanted = LowerAscii(TrimControl(monthText));
    const QStringList names = monthNames();
    for (int i = 0; i < names.size(); ++i) {
        if (LowerAscii(names[i]) == wanted)
            return i + 1;
    }
    return 0;
}

QString intervalDate(QStringView day, QStringView month, QStringView year)
{
    const int m = monthNumber(month);
    if (m == 0)
        return QString();
    return TrimControl(day) + QStringLiteral("/%1/").arg(m, 2, 10, QLatin1Char('0'))
        + TrimControl(year);
}

QString yearlyFilePath(const QString &prefix, const QString &year)
{
    return ProgramFolder::filePath(prefix + TrimControl(year) + QStringLiteral(".mrv"));
}

QString yearMessage(const QString &year)
{
    return year.size() == 4 ? QString() : kYearMessage;
}

Outcome check(const Choice &choice)
{
    Outcome out;
    if (choice.year.size() != 4)
        return fail(out, Notice::Kind::Warning, kYearMessage, Focus::Anno);
    if (TrimControl(choice.startDay).isEmpty())
        return fail(
            out, Notice::Kind::Warning, chooseMessage(u"il giorno di inizio"), Focus::GiornoInizio);
    if (TrimControl(choice.startMonth).isEmpty())
        return fail(
            out, Notice::Kind::Warning, chooseMessage(u"il mese di inizio"), Focus::MeseInizio);
    if (TrimControl(choice.endDay).isEmpty())
        return fail(
            out, Notice::Kind::Warning, chooseMessage(u"il giorno di fine"), Focus::GiornoFine);
    if (TrimControl(choice.endMonth).isEmpty())
        return fail(out, Notice::Kind::Warning, chooseMessage(u"il mese di fine"), Focus::MeseFine);

    out.startDate = intervalDate(choice.startDay, choice.startMonth, choice.startYear);
    if (!IsCalendarDate(out.startDate))
        return fail(out, Notice::Kind::Plain,
            QStringLiteral("Attenzione: la data ") + out.startDate
                + QStringLiteral(" di inizio intervallo non esiste.") + kBreak + kValidDate,
            Focus::GiornoInizio);

    out.endDate = intervalDate(choice.endDay, choice.endMonth, choice.endYear);
    if (!IsCalendarDate(out.endDate))
        return fail(out, Notice::Kind::Plain,
            QStringLiteral("Attenzione: la data ") + out.endDate
                + QStringLiteral(" di fine intervallo non esiste.") + kBreak + kValidDate,
            Focus::GiornoFine);

    if (*DateFromText(out.startDate) > *DateFromText(out.endDate))
        return fail(out, Notice::Kind::Plain,
            QStringLiteral("Attenzione: la data di fine intervallo (") + out.endDate
                + QStringLiteral(") non può essere anteriore a quella di inizio "
                                 "intervallo (")
                + out.startDate + QStringLiteral(").") + kBreak + kValidInterval,
            Focus::Keep);

    out.ok = true;
    return out;
}

} // namespace SummarySelection
