#include "export/ExpMagazzino.h"

TfrmExpMagazzino::TfrmExpMagazzino(QWidget *parent)
    : ExportScreen(Export::Kind::Products, parent)
{
}
