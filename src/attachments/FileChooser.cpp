#include "attachments/FileChooser.h"

#include <QFileDialog>

namespace {
FileChooser::Chooser g_chooser;
}

namespace FileChooser {

QString chooseFile(QFileDialog *dialog)
{
    if (g_chooser)
        return g_chooser(dialog);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return dialog->selectedFiles().value(0);
}

void setChooser(Chooser chooser)
{
    g_chooser = std::move(chooser);
}

} // namespace FileChooser
