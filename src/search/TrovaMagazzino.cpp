#include "search/TrovaMagazzino.h"

TfrmTrovaMagazzino::TfrmTrovaMagazzino(QWidget *parent)
    : ArchiveSearchScreen(ArchiveId::Products, parent)
{
}
