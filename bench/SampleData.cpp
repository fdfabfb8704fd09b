// merventa_sample_data <folder> <products> <movements> [year] [customers]
// Writes Magazzino.mrv with the given number of products and the load and unload files of
// the year (the current year when not given), each with the given number of movements, and
// Clienti.mrv (as many customers as products unless given, instalments around today), so
// that the program can be looked at with data: copy the files beside the program. It also
// writes Fornitori.mrv with one supplier every five products (at least one).
#include "ArchiveGenerator.h"

#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "records/SupplierRecord.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {
QString supplierArchivePath(const QDir &folder)
{
    return folder.filePath(QString::fromLatin1(SupplierRecord::kFileName));
}

// False with a message when Fornitori.mrv is already in the folder.
bool supplierArchiveFree(const QDir &folder)
{
    const QString path = supplierArchivePath(folder);
    if (!QFileInfo::exists(path))
        return true;
    std::fprintf(stderr, "L'archivio %s esiste già: non viene sostituito.\n",
        qPrintable(QDir::toNativeSeparators(path)));
    return false;
}

// Fornitori.mrv beside the products: one supplier every five products. False with a
// message when it cannot be written.
bool writeSupplierArchive(const QDir &folder, qint64 products)
{
    const QString path = supplierArchivePath(folder);
    QString error;
    const qint64 count = std::max<qint64>(1, products / 5);
    if (!ArchiveGenerator::writeSuppliers(path, count, ArchiveGenerator::kSeed, &error)) {
        std::fprintf(stderr, "Scrittura non riuscita: %s\n", qPrintable(error));
        return false;
    }
    std::printf("%lld fornitori in %s\n", static_cast<long long>(count),
        qPrintable(QDir::toNativeSeparators(path)));
    return true;
}

int usage()
{
    std::fputs("Uso: merventa_sample_data <cartella> <prodotti> <movimenti> [anno] [clienti]\n"
               "Scrive Magazzino.mrv, Carico_<anno>.mrv, Scarico_<anno>.mrv e Clienti.mrv nella\n"
               "cartella;\n"
               "scrive anche Fornitori.mrv, un fornitore ogni cinque prodotti;\n"
               "non sostituisce archivi esistenti.\n",
        stderr);
    return 2;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3 || args.size() > 5)
        return usage();
    bool ok1 = false, ok2 = false, ok3 = true, ok4 = true;
    const qint64 products = args[1].toLongLong(&ok1);
    const qint64 movements = args[2].toLongLong(&ok2);
    const int year = args.size() >= 4 ? args[3].toInt(&ok3) : QDate::currentDate().year();
    const qint64 customers = args.size() >= 5 ? args[4].toLongLong(&ok4) : products;
    if (!ok1 || !ok2 || !ok3 || products < 1 || products > 1000000 || movements < 0 || year < 1900
        || year > 9999 || !ok4 || customers < 0 || customers > 1000000)
        return usage();

    const QDir folder(args[0]);
    if (!folder.mkpath(QStringLiteral(".")))
        return usage();
    const QString productFile = folder.filePath(QString::fromLatin1(ProductRecord::kFileName));
    const QString firstDay = QStringLiteral("01/01/") + QString::number(year);
    using MovementRecord::Kind;
    const QString loadFile = folder.filePath(MovementRecord::fileNameFor(Kind::Load, firstDay));
    const QString unloadFile = folder.filePath(MovementRecord::fileNameFor(Kind::Unload, firstDay));
    const QString customerFile = folder.filePath(QString::fromLatin1(CustomerRecord::kFileName));
    for (const QString &f : { productFile, loadFile, unloadFile, customerFile }) {
        if (QFileInfo::exists(f)) {
            std::fprintf(stderr, "L'archivio %s esiste già: non viene sostituito.\n",
                qPrintable(QDir::toNativeSeparators(f)));
            return 1;
        }
    }

    if (!supplierArchiveFree(folder))
        return 1;

    QString error;
    if (!ArchiveGenerator::writeProducts(productFile, products, ArchiveGenerator::kSeed, &error)
        || !ArchiveGenerator::writeMovements(
            loadFile, Kind::Load, year, movements, products, ArchiveGenerator::kSeed, &error)
        || !ArchiveGenerator::writeMovements(
            unloadFile, Kind::Unload, year, movements, products, ArchiveGenerator::kSeed, &error)
        || !ArchiveGenerator::writeCustomers(
            customerFile, customers, QDate::currentDate(), ArchiveGenerator::kSeed, &error)) {
        std::fprintf(stderr, "Scrittura non riuscita: %s\n", qPrintable(error));
        return 1;
    }
    std::printf(
        "%lld prodotti, %lld movimenti di carico e di scarico del %d e %lld clienti in %s\n",
        static_cast<long long>(products), static_cast<long long>(movements), year,
        static_cast<long long>(customers),
        qPrintable(QDir::toNativeSeparators(folder.absolutePath())));
    if (!writeSupplierArchive(folder, products))
        return 1;
    return 0;
}
