#include "checks/Iban.h"

TfrmIban::TfrmIban(QWidget *parent)
    : CheckDialog(Checks::Kind::Iban, parent)
{
}

void TfrmIban::check(QWidget *parent, const QString &initialText)
{
    TfrmIban dialog(parent);
    dialog.runWith(initialText);
}
