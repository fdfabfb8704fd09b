#include "checks/CodFisc.h"

TfrmCodFisc::TfrmCodFisc(QWidget *parent)
    : CheckDialog(Checks::Kind::TaxCode, parent)
{
}

void TfrmCodFisc::check(QWidget *parent, const QString &initialText)
{
    TfrmCodFisc dialog(parent);
    dialog.runWith(initialText);
}
