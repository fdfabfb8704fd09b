#pragma once
#include "app/Notice.h"

#include <QString>

// What a check dialog shows after its "Controlla" button: one notice (a warning or an
// information), and whether the dialog closes afterwards or stays open for a correction
// (then with the focus back on its input).
struct CheckOutcome
{
    using Kind = Notice::Kind;

    CheckOutcome() = default;
    CheckOutcome(Kind kind, const QString &text, bool closesAfter)
        : notice { kind, text }
        , closes(closesAfter)
    {
    }

    Notice notice { Kind::Warning, {} };
    bool closes = false;
};
