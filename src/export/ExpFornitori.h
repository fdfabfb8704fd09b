#pragma once
#include "export/ExportScreen.h"

// The spreadsheet export of the supplier archive Fornitori.mrv.
class TfrmExpFornitori : public ExportScreen
{
    Q_OBJECT
public:
    explicit TfrmExpFornitori(QWidget *parent = nullptr);
};
