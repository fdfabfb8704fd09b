#pragma once
#include "export/ExportScreen.h"

// The spreadsheet export of the load movements of the year chosen on the load summary
// selection (its lblFile).
class TfrmExpCarico : public ExportScreen
{
    Q_OBJECT
public:
    explicit TfrmExpCarico(QWidget *parent = nullptr);
};
