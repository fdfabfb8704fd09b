#pragma once
#include "records/MovementRecord.h"
#include "storage/Record.h"
#include "storage/RecordLayout.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>

// Writes realistic record files for the benchmarks and for looking at the program with
// data: products with Italian categories, brands, models and codes, amounts with the
// decimal comma, stock and minimum stock (some products under stock), and a year of load
// or unload movements on the codes of those products.
//
// Every row depends only on the seed and its index, so two runs write the same bytes and a
// movement can name a product of the product archive without reading it back.
namespace ArchiveGenerator {

inline constexpr std::uint64_t kSeed = 20240517;

// A small deterministic random source (SplitMix64): the same numbers on every platform.
class Random
{
public:
    explicit Random(std::uint64_t seed)
        : m_state(seed)
    {
    }
    std::uint64_t next();
    // A whole number in [0, n); n > 0.
    std::int64_t below(std::int64_t n);
    // A whole number in [low, high].
    std::int64_t between(std::int64_t low, std::int64_t high);
    // A number in [0, 1).
    double unit();
    // True with the given probability (0 to 1).
    bool chance(double probability);
    template <typename List> const auto &pick(const List &list)
    {
        return list[std::size_t(below(std::int64_t(std::size(list))))];
    }

private:
    std::uint64_t m_state;
};

// Fills one cleared record: index is the record's 0-based index in the file and random is
// seeded from the archive's seed and that index alone.
using RowMaker = std::function<void(Record &record, std::int64_t index, Random &random)>;

// The random source of the row at index in an archive written with seed.
Random rowRandom(std::uint64_t seed, std::int64_t index);

// Writes count records of layout to path (replacing the file), each made by makeRow and
// encoded with Record::encode(), in blocks of about 1 MiB: no flush per record. This is
// the one place every archive goes through; the customer and supplier archives need only
// their own row maker. Returns false and sets error on a file failure.
bool writeArchive(const QString &path, const RecordLayout &layout, std::int64_t count,
    const RowMaker &makeRow, std::uint64_t seed = kSeed, QString *error = nullptr);

// One product of the product archive; about one product in eight is at or below its
// minimum stock, a few have a negative stock.
void makeProduct(Record &record, std::int64_t index, Random &random);

// The product at index of an archive written by writeProducts with this seed.
Record productAt(std::int64_t index, std::uint64_t seed = kSeed);

// Movements of one kind spread over the days of year in date order (as they are appended
// when applied), count of them, each on a product of an archive of productCount products
// written with productSeed: its code, category, brand, model, and its cost (load) or net
// price (unload).
RowMaker movementRows(MovementRecord::Kind kind, int year, std::int64_t count,
    std::int64_t productCount, std::uint64_t productSeed = kSeed);

bool writeProducts(
    const QString &path, std::int64_t count, std::uint64_t seed = kSeed, QString *error = nullptr);
// The movement file gets its own seed, derived from the product seed and the kind.
bool writeMovements(const QString &path, MovementRecord::Kind kind, int year, std::int64_t count,
    std::int64_t productCount, std::uint64_t productSeed = kSeed, QString *error = nullptr);

// One supplier of the supplier archive: an Italian company with its contacts, tax and bank
// data and goods; about one in seven is marked to be called back ("Sì") with an open
// issue, a few hold an empty flag as records of older archives do, the rest "No".
void makeSupplier(Record &record, std::int64_t index, Random &random);
// The supplier at index of an archive written by writeSuppliers with this seed.
Record supplierAt(std::int64_t index, std::uint64_t seed = kSeed);
bool writeSuppliers(
    const QString &path, std::int64_t count, std::uint64_t seed = kSeed, QString *error = nullptr);
// Customers: Italian names, addresses whose province of residence runs through every code
// of the province list in turn, contacts, documents, and an instalment purchase whose next
// due date lies from 120 days before today to 240 days after it, with 0 to 30 days of
// notice (a few customers 999), so that part of the archive is due on today.
RowMaker customerRows(const QDate &today);
bool writeCustomers(const QString &path, std::int64_t count, const QDate &today,
    std::uint64_t seed = kSeed, QString *error = nullptr);

} // namespace ArchiveGenerator
