#pragma once
#include "reports/MovementSummaryList.h"

// The unload movement summary list, opened by TfrmMenuRiepilogoScarico.
class TfrmRiepilogoScarico : public MovementSummaryList
{
    Q_OBJECT
public:
    explicit TfrmRiepilogoScarico(QWidget *selection = nullptr);
};
