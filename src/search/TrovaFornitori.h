#pragma once
#include "search/ArchiveSearchScreen.h"

// The supplier search (Fornitori.mrv), opened from the supplier card and from the product card's
// supplier import.
class TfrmTrovaFornitori : public ArchiveSearchScreen
{
    Q_OBJECT
public:
    explicit TfrmTrovaFornitori(QWidget *parent = nullptr);
};
