#include "reports/RiepilogoScarico.h"

TfrmRiepilogoScarico::TfrmRiepilogoScarico(QWidget *selection)
    : MovementSummaryList(MovementRecord::Kind::Unload, selection)
{
}
