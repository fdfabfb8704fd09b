#pragma once
#include "checks/CheckDialog.h"

#include <QString>

// The IBAN check: tells whether a 27-character IBAN passes the mod-97 test. It only
// informs; nothing goes back to the card that opened it.
class TfrmIban : public CheckDialog
{
    Q_OBJECT
public:
    explicit TfrmIban(QWidget *parent = nullptr);

    // Opens the dialog modally over parent with initialText in its input box (the card
    // hands over its field's trimmed text) and destroys it when it closes.
    static void check(QWidget *parent, const QString &initialText);
};
