#include "export/ExpScarico.h"

TfrmExpScarico::TfrmExpScarico(QWidget *parent)
    : ExportScreen(ArchiveId::Unloads, parent)
{
}
