#include "checks/CodeButton.h"

#include "checks/CodFisc.h"
#include "checks/PartitaIVA.h"
#include "checks/TaxCode.h"

void checkCodeField(QWidget *parent, const QString &trimmedText)
{
    if (codeCheckFor(trimmedText) == CodeCheck::VatNumber)
        TfrmPartitaIva::check(parent, trimmedText);
    else
        TfrmCodFisc::check(parent, trimmedText);
}
