#include "export/ExpMagazzino.h"

TfrmExpMagazzino::TfrmExpMagazzino(QWidget *parent)
    : ExportScreen(ArchiveId::Products, parent)
{
}
