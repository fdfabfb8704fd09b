#pragma once
#include "export/ExportScreen.h"

// The spreadsheet export of the product archive Magazzino.mrv.
class TfrmExpMagazzino : public ExportScreen
{
    Q_OBJECT
public:
    explicit TfrmExpMagazzino(QWidget *parent = nullptr);
};
