#include "export/ExpCarico.h"

TfrmExpCarico::TfrmExpCarico(QWidget *parent)
    : ExportScreen(ArchiveId::Loads, parent)
{
}
