#include "reports/RiepilogoCarico.h"

TfrmRiepilogoCarico::TfrmRiepilogoCarico(QWidget *selection)
    : MovementSummaryList(MovementRecord::Kind::Load, selection)
{
}
