// The archive searches over generated archives: a search with two filled boxes over
// 100,000 products and over 100,000 customers (match and build the sorted lines), each
// against a plain read of the same file in the same run (target: at most three times the
// plain read); and the whole "Cerca" of the product search screen with every box empty,
// which lists and shows all 100,000 products (target: well under one second).
#include "BenchSupport.h"

#include "records/CustomerRecord.h"
#include "records/ProductRecord.h"
#include "search/ArchiveSearch.h"
#include "search/TrovaMagazzino.h"
#include "storage/ProgramFolder.h"
#include "storage/RecordFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// Customers with Italian names, tax codes, zones and telephone numbers. The customer
// generator of bench/ArchiveGenerator is not on this branch yet, so the rows are made here.
void makeCustomer(Record &record, std::int64_t index, ArchiveGenerator::Random &random)
{
    using namespace CustomerRecord;
    static const std::array<const char16_t *, 16> surnames = { u"Rossi", u"Russo", u"Ferrari",
        u"Esposito", u"Bianchi", u"Romano", u"Colombo", u"Ricci", u"Marino", u"Greco", u"Bruno",
        u"Gallo", u"Conti", u"De Luca", u"Mancini", u"Costa" };
    static const std::array<const char16_t *, 12> names
        = { u"Mario", u"Giulia", u"Luca", u"Francesca", u"Marco", u"Chiara", u"Andrea", u"Sara",
              u"Paolo", u"Elena", u"Giovanni", u"Anna" };
    static const std::array<const char16_t *, 6> zones
        = { u"Nord", u"Sud", u"Centro", u"Zona industriale", u"Periferia est", u"Lungomare" };
    static const std::array<const char16_t *, 4> categories
        = { u"Privato", u"Azienda", u"Professionista", u"Ente" };
    auto text = [](const char16_t *s) { return QString::fromUtf16(s); };
    record.setValue(Cognome, text(random.pick(surnames)));
    record.setValue(Nome, text(random.pick(names)));
    QString code;
    for (int i = 0; i < 16; ++i)
        code += (i >= 6 && i <= 7) || (i >= 9 && i <= 10) || (i >= 12 && i <= 14)
            ? QChar(char16_t(u'0' + random.below(10)))
            : QChar(char16_t(u'A' + random.below(26)));
    record.setValue(CodFisc, code);
    record.setValue(Codice, QString::number(index + 1));
    record.setValue(Categoria, text(random.pick(categories)));
    record.setValue(Zona, text(random.pick(zones)));
    record.setValue(Recapito, u"3%1"_s.arg(random.between(100000000, 999999999)));
    record.setValue(ComuneRes, u"Bergamo"_s);
    record.setValue(Prodotti, u"Articoli per la casa e il giardino"_s);
    if (random.chance(0.3))
        record.setValue(Note, u"Richiamare per il rinnovo del contratto"_s);
}

class SearchArchives
{
public:
    static SearchArchives &instance()
    {
        static SearchArchives archives;
        return archives;
    }
    QString products(std::int64_t count)
    {
        return BenchSupport::Archives::instance().products(count);
    }
    QString customers(std::int64_t count)
    {
        const QString path = m_dir.filePath(u"Clienti_%1.mrv"_s.arg(count));
        if (!QFile::exists(path))
            ArchiveGenerator::writeArchive(path, CustomerRecord::layout(), count, makeCustomer);
        return path;
    }
    // A program folder holding a product archive of count records as Magazzino.mrv.
    QString productFolder(std::int64_t count)
    {
        const QString folder = m_dir.filePath(u"folder_%1"_s.arg(count));
        if (!QFile::exists(folder)) {
            QDir().mkpath(folder);
            ArchiveGenerator::writeProducts(folder + u"/Magazzino.mrv"_s, count);
        }
        return folder;
    }

private:
    QTemporaryDir m_dir { QDir::tempPath() + u"/merventa-bench-search-XXXXXX"_s };
};

void searchOf(
    benchmark::State &state, const QString &path, ArchiveId kind, const QStringList &typed)
{
    const ArchiveSearch::Config &config = ArchiveSearch::config(kind);
    qsizetype found = 0;
    for (auto _ : state) {
        RecordFile file;
        if (!file.openPath(path, *config.archive->layout)) {
            state.SkipWithError("cannot open the archive");
            break;
        }
        const ListLines::Scan scan = ArchiveSearch::search(file, config, typed);
        found = scan.lines.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}

// The texts of the ten boxes with two of them filled.
QStringList twoBoxes(int first, const QString &a, int second, const QString &b)
{
    QStringList typed(10);
    typed[first] = a;
    typed[second] = b;
    return typed;
}

void PlainReadProducts(benchmark::State &state)
{
    BenchSupport::plainReadCase(state, SearchArchives::instance().products(state.range(0)),
        state.range(0) * ProductRecord::kRecordSize);
}

// Marca "ravel" and Descrizione "professionale".
void SearchProducts(benchmark::State &state)
{
    searchOf(state, SearchArchives::instance().products(state.range(0)), ArchiveId::Products,
        twoBoxes(2, u"ravel"_s, 4, u"professionale"_s));
}

void PlainReadCustomers(benchmark::State &state)
{
    BenchSupport::plainReadCase(state, SearchArchives::instance().customers(state.range(0)),
        state.range(0) * CustomerRecord::kRecordSize);
}

// Cognome "ross" and Zona "nord".
void SearchCustomers(benchmark::State &state)
{
    searchOf(state, SearchArchives::instance().customers(state.range(0)), ArchiveId::Customers,
        twoBoxes(0, u"ross"_s, 6, u"nord"_s));
}

// "Cerca" on the product search screen with every box empty: every product read, its
// line built, the lines sorted and handed to the shown list box, the count written.
void SearchScreenAll(benchmark::State &state)
{
    ProgramFolder::setPath(SearchArchives::instance().productFolder(state.range(0)));
    qsizetype shown = 0;
    for (auto _ : state) {
        TfrmTrovaMagazzino screen;
        screen.show();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        screen.btnCercaClick();
        QApplication::processEvents();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        shown = screen.findChild<QListView *>(u"lstRecords"_s)->model()->rowCount();
        if (shown != state.range(0)) {
            state.SkipWithError("the list does not show every product");
            break;
        }
    }
    ProgramFolder::setPath(QString());
    state.counters["lines"] = double(shown);
}

} // namespace

BENCHMARK(PlainReadProducts)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SearchProducts)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainReadCustomers)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SearchCustomers)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SearchScreenAll)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv,
        { { "SearchProducts", "PlainReadProducts", 3.0 },
            { "SearchCustomers", "PlainReadCustomers", 3.0 } });
}
