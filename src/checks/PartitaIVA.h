#pragma once
#include "checks/CheckDialog.h"

#include <QString>

// The VAT number check: tells whether a VAT number carries the right check digit and
// which VAT office issued it. It only informs; nothing goes back to the card that opened it.
class TfrmPartitaIva : public CheckDialog
{
    Q_OBJECT
public:
    explicit TfrmPartitaIva(QWidget *parent = nullptr);

    // Opens the dialog modally over parent with initialText in its input box (the card
    // hands over its field's trimmed text) and destroys it when it closes.
    static void check(QWidget *parent, const QString &initialText);
};
