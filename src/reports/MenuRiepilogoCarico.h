#pragma once
#include "reports/MovementSummaryMenu.h"

// The load movement summary selection: opens TfrmRiepilogoCarico on Carico_<yyyy>.mrv.
class TfrmMenuRiepilogoCarico : public MovementSummaryMenu
{
    Q_OBJECT
public:
    explicit TfrmMenuRiepilogoCarico(QWidget *parent = nullptr);
};
