#pragma once
#include "storage/RecordLayout.h"

// The customer archive Clienti.mrv: one 4043-byte record per customer.
namespace CustomerRecord {

// clang-format off
#define MERVENTA_CUSTOMER_FIELDS(F)                                                         \
    F(Cognome, 50) F(Nome, 50) F(CodFisc, 16) F(Sesso, 1) F(DataNasc, 10)              \
    F(ComuneNasc, 50) F(ProvNasc, 2) F(Iva, 11) F(Indirizzo, 50) F(Cap, 5)             \
    F(ComuneRes, 50) F(ProvRes, 2) F(Stato, 50) F(Familiari, 250) F(Recapito, 50)      \
    F(TelCasa, 50) F(TelCel, 50) F(TelUff, 50) F(Fax, 50) F(Email, 50)                 \
    F(Qualifiche, 250) F(Professione, 50) F(Iban, 27) F(Intestatario, 50) F(Banca, 50) \
    F(Carta, 50) F(ScadeCarta, 10) F(Prodotti, 250) F(Pagamento, 120) F(Note, 250)     \
    F(TipoDoc, 50) F(NumDoc, 50) F(EnteRil, 50) F(DataRil, 10) F(DataSca, 10)          \
    F(Codice, 30) F(Categoria, 50) F(Zona, 50) F(Acquisto, 50) F(Decorrenza, 10)       \
    F(Scadenza, 10) F(Preavviso, 3) F(Totale, 15) F(Frazionamento, 50) F(Rata, 50)     \
    F(File01, 250) F(File02, 250) F(File03, 250) F(Desc01, 250) F(Desc02, 250)         \
    F(Desc03, 250)
// clang-format on

// Field indexes, in record order.
enum Field { MERVENTA_CUSTOMER_FIELDS(MERVENTA_FIELD_INDEX) };

inline constexpr FieldTable kTable(std::array { MERVENTA_CUSTOMER_FIELDS(MERVENTA_FIELD_SPEC) });
inline constexpr RecordLayout kLayout(kTable);

inline constexpr int kRecordSize = kTable.recordSize;
static_assert(kTable.fields.size() == 51, "the customer record has 51 fields");
static_assert(kRecordSize == 4043, "the customer record is 4043 bytes on disk");
static_assert(kTable.offsetOf("ProvRes") == 306 && kTable.offsetOf("Codice") == 2209
    && kTable.offsetOf("Rata") == 2486 && kTable.offsetOf("Desc03") == 3792);

inline constexpr char kFileName[] = "Clienti.mrv";

inline const RecordLayout &layout()
{
    return kLayout;
}
// Clienti.mrv in the program folder.
const Archive &archive();

} // namespace CustomerRecord
