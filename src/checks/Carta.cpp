#include "checks/Carta.h"

TfrmCarta::TfrmCarta(QWidget *parent)
    : CheckDialog(Checks::Kind::PaymentCard, parent)
{
}

void TfrmCarta::check(QWidget *parent, const QString &initialText)
{
    TfrmCarta dialog(parent);
    dialog.runWith(initialText);
}
