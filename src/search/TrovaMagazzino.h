#pragma once
#include "search/ArchiveSearchScreen.h"

// The product search (Magazzino.mrv), opened from the product card.
class TfrmTrovaMagazzino : public ArchiveSearchScreen
{
    Q_OBJECT
public:
    explicit TfrmTrovaMagazzino(QWidget *parent = nullptr);
};
