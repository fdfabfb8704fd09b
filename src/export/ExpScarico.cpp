#include "export/ExpScarico.h"

TfrmExpScarico::TfrmExpScarico(QWidget *parent)
    : ExportScreen(Export::Kind::Unloads, parent)
{
}
