#pragma once
#include "search/ArchiveSearchScreen.h"

// The customer search (Clienti.mrv), opened from the customer card.
class TfrmTrovaClienti : public ArchiveSearchScreen
{
    Q_OBJECT
public:
    explicit TfrmTrovaClienti(QWidget *parent = nullptr);
};
