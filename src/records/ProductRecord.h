#pragma once
#include "storage/RecordLayout.h"

// The product archive Magazzino.mrv: one 4874-byte record per article.
namespace ProductRecord {

// clang-format off
#define MERVENTA_PRODUCT_FIELDS(F)                                                         \
    F(Codice, 30) F(Tipologia, 250) F(Marca, 250) F(Modello, 250) F(Accessori, 250)        \
    F(Descrizione, 250) F(Fornitore, 250) F(Recapiti, 50) F(Data, 50) F(Costo, 15)         \
    F(Valore, 15) F(Documento, 250) F(Ordine, 250) F(Prezzo, 15) F(PercIva, 2)             \
    F(Prezzo_con_Iva, 15) F(Collocazione, 250) F(Giacenza, 15) F(Sottoscorta, 15)          \
    F(Consumo, 30) F(Aderenza, 30) F(Rumore, 30) F(Onde, 30) F(Note, 250) F(File01, 250)   \
    F(File02, 250) F(File03, 250) F(Desc01, 250) F(Desc02, 250) F(Desc03, 250)             \
    F(Cartella, 250) F(CartellaDesc, 250)
// clang-format on

// Field indexes, in record order.
enum Field { MERVENTA_PRODUCT_FIELDS(MERVENTA_FIELD_INDEX) };

inline constexpr FieldTable kTable(std::array { MERVENTA_PRODUCT_FIELDS(MERVENTA_FIELD_SPEC) });
inline constexpr RecordLayout kLayout(kTable);

inline constexpr int kRecordSize = kTable.recordSize;
static_assert(kTable.fields.size() == 32, "the product record has 32 fields");
static_assert(kRecordSize == 4874, "the product record is 4874 bytes on disk");
static_assert(kTable.offsetOf("Prezzo_con_Iva") == 2192 && kTable.offsetOf("CartellaDesc") == 4623);

inline constexpr char kFileName[] = "Magazzino.mrv";

inline const RecordLayout &layout()
{
    return kLayout;
}
// Magazzino.mrv in the program folder.
const Archive &archive();

} // namespace ProductRecord
