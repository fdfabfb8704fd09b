#include "reports/MenuRiepilogoScarico.h"

#include "reports/RiepilogoScarico.h"

TfrmMenuRiepilogoScarico::TfrmMenuRiepilogoScarico(QWidget *parent)
    : MovementSummaryMenu(
        MovementRecord::Kind::Unload,
        [](QWidget *selection) {
            TfrmRiepilogoScarico list(selection);
            list.exec();
        },
        parent)
{
}
