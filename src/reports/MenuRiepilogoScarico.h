#pragma once
#include "reports/MovementSummaryMenu.h"

// The unload movement summary selection: opens TfrmRiepilogoScarico on Scarico_<yyyy>.mrv.
class TfrmMenuRiepilogoScarico : public MovementSummaryMenu
{
    Q_OBJECT
public:
    explicit TfrmMenuRiepilogoScarico(QWidget *parent = nullptr);
};
