#pragma once
#include "export/ExportScreen.h"

// The spreadsheet export of the customer archive Clienti.mrv.
class TfrmExpClienti : public ExportScreen
{
    Q_OBJECT
public:
    explicit TfrmExpClienti(QWidget *parent = nullptr);
};
