// Writes the password file of a new installation, holding the initial password, to the
// path given as the only argument. An existing file there is replaced.

#include "app/AccessPassword.h"
#include "app/IniFile.h"
#include "storage/SafeFile.h"

#include <QFile>
#include <QString>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_password OUTPUT\n");
        return 2;
    }
    const QString path = QFile::decodeName(argv[1]);
    const QByteArray header = QByteArrayLiteral(
        "; Merventa 2.0 - password di accesso (si cambia dal programma: Cambia password)\r\n");
    const QByteArray content
        = IniFile::withValue(header, AccessPassword::kSection, AccessPassword::kKey,
            AccessPassword::fileValueFor(AccessPassword::kInitialPassword).toLatin1());
    if (!SafeFile::replace(path, content)) {
        std::fprintf(stderr, "make_password: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
