#pragma once
#include "checks/CheckDialog.h"

#include <QString>

// The payment card check: tells whether a card number passes the Luhn test and which
// network it belongs to. It only informs; nothing goes back to the card that opened it.
class TfrmCarta : public CheckDialog
{
    Q_OBJECT
public:
    explicit TfrmCarta(QWidget *parent = nullptr);

    // Opens the dialog modally over parent with initialText in its input box (the card
    // hands over its field's trimmed text) and destroys it when it closes.
    static void check(QWidget *parent, const QString &initialText);
};
