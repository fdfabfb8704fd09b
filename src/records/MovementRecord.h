#pragma once
#include "storage/RecordLayout.h"

#include <QString>

// The yearly movement files Carico_<yyyy>.mrv and Scarico_<yyyy>.mrv: one 482-byte
// record per load or unload, appended in the order the movements were applied.
namespace MovementRecord {

// clang-format off
#define MERVENTA_MOVEMENT_FIELDS(F)                                                        \
    F(Data, 10) F(Ora, 8) F(Codice, 30) F(Tipologia, 50) F(Marca, 50) F(Modello, 50)       \
    F(Importo, 15) F(Quantita, 10) F(Note, 250)
// clang-format on

enum Field { MERVENTA_MOVEMENT_FIELDS(MERVENTA_FIELD_INDEX) };

inline constexpr FieldTable kTable(std::array { MERVENTA_MOVEMENT_FIELDS(MERVENTA_FIELD_SPEC) });
inline constexpr RecordLayout kLayout(kTable);

inline constexpr int kRecordSize = kTable.recordSize;
static_assert(kTable.fields.size() == 9, "the movement record has 9 fields");
static_assert(kRecordSize == 482, "the movement record is 482 bytes on disk");
static_assert(kTable.offsetOf("Importo") == 204 && kTable.offsetOf("Note") == 231);

enum class Kind { Load, Unload };

inline const RecordLayout &layout()
{
    return kLayout;
}

// "Carico_<yyyy>.mrv" or "Scarico_<yyyy>.mrv", the year being the last four characters
// of the movement's date.
QString fileNameFor(Kind kind, const QString &dateText);
// A movement file of the program folder by its name (a yearly file chosen by the user).
Archive archiveNamed(const QString &fileName);

} // namespace MovementRecord
