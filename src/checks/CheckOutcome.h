#pragma once
#include <QString>

// What a check dialog shows after its "Controlla" button: one message, its kind, and
// whether the dialog closes afterwards or stays open for a correction (then with the
// focus back on its input).
struct CheckOutcome
{
    enum class Kind { Warning, Information };

    Kind kind = Kind::Warning;
    QString text;
    bool closes = false;
};
