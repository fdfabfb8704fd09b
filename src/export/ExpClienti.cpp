#include "export/ExpClienti.h"

TfrmExpClienti::TfrmExpClienti(QWidget *parent)
    : ExportScreen(ArchiveId::Customers, parent)
{
}
