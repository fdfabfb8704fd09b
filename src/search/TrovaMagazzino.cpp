#include "search/TrovaMagazzino.h"

TfrmTrovaMagazzino::TfrmTrovaMagazzino(QWidget *parent)
    : ArchiveSearchScreen(ArchiveSearch::Kind::Products, parent)
{
}
