#pragma once
#include "storage/RecordLayout.h"

// The supplier archive Fornitori.mrv: one 3643-byte record per supplier.
namespace SupplierRecord {

// clang-format off
#define MERVENTA_SUPPLIER_FIELDS(F)                                                         \
    F(Ditta, 50) F(Titolare, 120) F(Recapito, 50) F(IndirizzoRes, 50) F(ProvRes, 2)    \
    F(ComuneRes, 50) F(CapRes, 5) F(Pagamento, 250) F(TelCasa, 30) F(TelUff, 30)       \
    F(TelCel, 30) F(Fax, 30) F(Email, 50) F(CodFisc, 16) F(Carta, 30)                  \
    F(ScadeCarta, 30) F(PartitaIva, 11) F(Iban, 27) F(Articoli, 250) F(Offerte, 250)   \
    F(Ordine, 250) F(Questioni, 250) F(Note, 250) F(Ricontatta, 2) F(File01, 250)      \
    F(File02, 250) F(File03, 250) F(Desc01, 250) F(Desc02, 250) F(Desc03, 250)
// clang-format on

// Field indexes, in record order.
enum Field { MERVENTA_SUPPLIER_FIELDS(MERVENTA_FIELD_INDEX) };

inline constexpr FieldTable kTable(std::array { MERVENTA_SUPPLIER_FIELDS(MERVENTA_FIELD_SPEC) });
inline constexpr RecordLayout kLayout(kTable);

inline constexpr int kRecordSize = kTable.recordSize;
static_assert(kTable.fields.size() == 30, "the supplier record has 30 fields");
static_assert(kRecordSize == 3643, "the supplier record is 3643 bytes on disk");
static_assert(kTable.offsetOf("ProvRes") == 274 && kTable.offsetOf("PartitaIva") == 839
    && kTable.offsetOf("Ricontatta") == 2134 && kTable.offsetOf("Desc03") == 3392);

inline constexpr char kFileName[] = "Fornitori.mrv";

inline const RecordLayout &layout()
{
    return kLayout;
}
// Fornitori.mrv in the program folder.
const Archive &archive();

} // namespace SupplierRecord
