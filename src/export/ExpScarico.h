#pragma once
#include "export/ExportScreen.h"

// The spreadsheet export of the unload movements of the year chosen on the unload summary
// selection (its lblFile).
class TfrmExpScarico : public ExportScreen
{
    Q_OBJECT
public:
    explicit TfrmExpScarico(QWidget *parent = nullptr);
};
