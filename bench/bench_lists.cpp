// The stock lists over generated archives: building (and, for the sorted lists, sorting)
// the inventory lines, the under-stock lines and the lines of a whole year of movements,
// each against a plain read of the same file in the same run (target: at most three
// times the plain read); and handing 100,000 lines to the list box in one call (target:
// under one second of wall time), with the memory the filled list takes.
#include "BenchSupport.h"

#include "lists/ListScreen.h"
#include "records/MovementRecord.h"
#include "records/ProductRecord.h"
#include "reports/StockLists.h"
#include "storage/RecordFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <malloc.h>

#include <map>
#include <memory>

namespace {

constexpr std::int64_t kMovementProducts = 100000;
const QDate kYearStart(BenchSupport::kYear, 1, 1);
const QDate kYearEnd(BenchSupport::kYear, 12, 31);

QString productArchive(std::int64_t count)
{
    return BenchSupport::Archives::instance().products(count);
}

QString movementArchive(std::int64_t count)
{
    return BenchSupport::Archives::instance().movements(
        MovementRecord::Kind::Load, count, kMovementProducts);
}

bool openArchive(
    benchmark::State &state, RecordFile &file, const QString &path, const RecordLayout &layout)
{
    if (file.openPath(path, layout))
        return true;
    state.SkipWithError("cannot open the archive");
    return false;
}

void PlainReadProducts(benchmark::State &state)
{
    BenchSupport::plainReadCase(
        state, productArchive(state.range(0)), state.range(0) * ProductRecord::kRecordSize);
}

// The inventory of every product: one line per product, sorted, with the total value.
void InventoryLines(benchmark::State &state)
{
    const std::int64_t count = state.range(0);
    const QString path = productArchive(count);
    qsizetype lines = 0;
    for (auto _ : state) {
        RecordFile file;
        if (!openArchive(state, file, path, ProductRecord::layout()))
            break;
        const StockLists::Inventory inventory = StockLists::inventoryLines(file, QString());
        file.close();
        if (!inventory.complete || inventory.lines.size() != count) {
            state.SkipWithError("the inventory did not list every product");
            break;
        }
        lines = inventory.lines.size();
        benchmark::DoNotOptimize(inventory.total);
    }
    state.counters["lines"] = double(lines);
}

// The products at or below their minimum stock, sorted.
void UnderStockLines(benchmark::State &state)
{
    const std::int64_t count = state.range(0);
    const QString path = productArchive(count);
    qsizetype lines = 0;
    for (auto _ : state) {
        RecordFile file;
        if (!openArchive(state, file, path, ProductRecord::layout()))
            break;
        const ListLines::Scan scan = StockLists::underStockLines(file);
        file.close();
        // The generator puts about one product in eight under stock.
        if (!scan.complete || scan.lines.isEmpty() || scan.lines.size() > count / 4) {
            state.SkipWithError("the under-stock list is not what the archive holds");
            break;
        }
        lines = scan.lines.size();
    }
    state.counters["lines"] = double(lines);
}

void PlainReadMovements(benchmark::State &state)
{
    BenchSupport::plainReadCase(
        state, movementArchive(state.range(0)), state.range(0) * MovementRecord::kRecordSize);
}

// The load summary of the whole year, every code: every movement of the file is listed.
void MovementLines(benchmark::State &state)
{
    const std::int64_t count = state.range(0);
    const QString path = movementArchive(count);
    qsizetype lines = 0;
    for (auto _ : state) {
        RecordFile file;
        if (!openArchive(state, file, path, MovementRecord::layout()))
            break;
        const StockLists::Movements movements = StockLists::movementLines(
            file, MovementRecord::Kind::Load, QString(), kYearStart, kYearEnd);
        file.close();
        if (!movements.complete || movements.lines.size() != count) {
            state.SkipWithError("the summary did not list every movement of the year");
            break;
        }
        lines = movements.lines.size();
    }
    state.counters["lines"] = double(lines);
}

// The heap memory in use now, in bytes: what a filled list keeps is the difference
// before and after filling it, however much the allocator keeps from earlier runs.
double heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

// The sorted inventory lines of an archive, built once for the list box cases.
const QStringList &inventoryOf(std::int64_t count)
{
    static std::map<std::int64_t, QStringList> cache;
    auto found = cache.find(count);
    if (found == cache.end()) {
        RecordFile file;
        file.openPath(productArchive(count), ProductRecord::layout());
        found
            = cache.emplace(count, StockLists::inventoryLines(file, QString()).lines.toStringList())
                  .first;
    }
    return found->second;
}

// A bare list box with the settings that matter for filling it: fixed-pitch font, uniform
// rows, no eliding, both scroll bars.
std::unique_ptr<QListWidget> makeListBox()
{
    auto list = std::make_unique<QListWidget>();
    list->setObjectName(QStringLiteral("lstRecords"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(12);
    list->setFont(font);
    list->setUniformItemSizes(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setWordWrap(false);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->resize(1200, 700);
    return list;
}

// A bare list box for comparison: all lines handed over in one addItems call; with
// shown = 1 the list is on screen and the time includes laying out and painting the first
// page.
void ListBoxFill(benchmark::State &state)
{
    const QStringList &lines = inventoryOf(state.range(0));
    const bool shown = state.range(1) != 0;
    double heapDelta = 0;
    for (auto _ : state) {
        auto list = makeListBox();
        if (shown) {
            list->show();
            QApplication::processEvents();
        }
        const double before = heapInUse();
        QElapsedTimer timer;
        timer.start();
        list->addItems(lines);
        if (shown)
            QApplication::processEvents();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        heapDelta = heapInUse() - before;
        if (list->count() != lines.size()) {
            state.SkipWithError("the list box did not take every line");
            break;
        }
    }
    state.counters["lines"] = double(lines.size());
    state.counters["heap_added_MiB"] = heapDelta / (1024.0 * 1024.0);
}

// The inventory list screen as the list screens build it: the three controls of a list
// screen set up by ListScreen::setupList, filled by ListScreen::showLines.
class BenchListScreen : public ListScreen
{
public:
    BenchListScreen()
    {
        auto *layout = new QVBoxLayout(this);
        auto *find = new QLineEdit(this);
        find->setObjectName(QStringLiteral("txtTrova"));
        auto *findButton = new QPushButton(QStringLiteral("Trova"), this);
        findButton->setObjectName(QStringLiteral("btnTrova"));
        auto *list = new QListView(this);
        list->setObjectName(QStringLiteral("lstRecords"));
        layout->addWidget(find);
        layout->addWidget(findButton);
        layout->addWidget(list);
        // Filled by the benchmark, not on showing.
        setupList({ 12, 1400, false, Messages::Kind::Information, false });
        resize(1200, 800);
    }
    void showAll(ListLines::PackedLines lines) { showLines(std::move(lines)); }
    int count() const { return listBox()->model()->rowCount(); }

protected:
    void fill() override { }
};

// The lines handed to the list screen in one showLines call; with shown = 1 the screen is
// on screen and the time includes laying out and painting the first page.
void ListScreenFill(benchmark::State &state)
{
    RecordFile file;
    file.openPath(productArchive(state.range(0)), ProductRecord::layout());
    const ListLines::PackedLines lines = StockLists::inventoryLines(file, QString()).lines;
    file.close();
    const bool shown = state.range(1) != 0;
    double heapDelta = 0;
    for (auto _ : state) {
        auto screen = std::make_unique<BenchListScreen>();
        ListLines::PackedLines handed = lines;
        if (shown) {
            screen->show();
            QApplication::processEvents();
        }
        const double before = heapInUse();
        QElapsedTimer timer;
        timer.start();
        screen->showAll(std::move(handed));
        if (shown)
            QApplication::processEvents();
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        heapDelta = heapInUse() - before;
        if (screen->count() != lines.size()) {
            state.SkipWithError("the list box did not take every line");
            break;
        }
    }
    state.counters["lines"] = double(lines.size());
    state.counters["heap_added_MiB"] = heapDelta / (1024.0 * 1024.0);
}

} // namespace

BENCHMARK(PlainReadProducts)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(InventoryLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(UnderStockLines)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainReadMovements)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MovementLines)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ListBoxFill)
    ->Args({ 100000, 0 })
    ->Args({ 100000, 1 })
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(ListScreenFill)
    ->Args({ 100000, 0 })
    ->Args({ 100000, 1 })
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return BenchSupport::runBenchmarks(argc, argv,
        { { "InventoryLines", "PlainReadProducts", 3.0 },
            { "UnderStockLines", "PlainReadProducts", 3.0 },
            { "MovementLines", "PlainReadMovements", 3.0 } });
}
