#include "reports/MenuRiepilogoCarico.h"

#include "reports/RiepilogoCarico.h"

TfrmMenuRiepilogoCarico::TfrmMenuRiepilogoCarico(QWidget *parent)
    : MovementSummaryMenu(
        MovementRecord::Kind::Load,
        [](QWidget *selection) {
            TfrmRiepilogoCarico list(selection);
            list.exec();
        },
        parent)
{
}
