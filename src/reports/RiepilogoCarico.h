#pragma once
#include "reports/MovementSummaryList.h"

// The load movement summary list, opened by TfrmMenuRiepilogoCarico.
class TfrmRiepilogoCarico : public MovementSummaryList
{
    Q_OBJECT
public:
    explicit TfrmRiepilogoCarico(QWidget *selection = nullptr);
};
