#pragma once
#include "checks/CheckDialog.h"

#include <QString>

// The tax code check: tells whether a tax code carries the right check letter. It only
// informs; nothing goes back to the card that opened it.
class TfrmCodFisc : public CheckDialog
{
    Q_OBJECT
public:
    explicit TfrmCodFisc(QWidget *parent = nullptr);

    // Opens the dialog modally over parent with initialText in its input box (the card
    // hands over its field's trimmed text) and destroys it when it closes.
    static void check(QWidget *parent, const QString &initialText);
};
