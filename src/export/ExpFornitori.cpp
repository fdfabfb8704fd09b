#include "export/ExpFornitori.h"

TfrmExpFornitori::TfrmExpFornitori(QWidget *parent)
    : ExportScreen(ArchiveId::Suppliers, parent)
{
}
