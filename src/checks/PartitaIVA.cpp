#include "checks/PartitaIVA.h"

TfrmPartitaIva::TfrmPartitaIva(QWidget *parent)
    : CheckDialog(Checks::Kind::VatNumber, parent)
{
}

void TfrmPartitaIva::check(QWidget *parent, const QString &initialText)
{
    TfrmPartitaIva dialog(parent);
    dialog.runWith(initialText);
}
