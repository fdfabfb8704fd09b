#pragma once
#include "storage/RecordLayout.h"

#include <QString>

#include <array>

// The yearly movement files Carico_<yyyy>.mrv and Scarico_<yyyy>.mrv: one 482-byte
// record per load or unload, appended in the order the movements were applied.
namespace MovementRecord {

inline constexpr std::array<FieldSpec, 9> kFields = {{
    {"Data", 10}, {"Ora", 8}, {"Codice", 30}, {"Tipologia", 50}, {"Marca", 50},
    {"Modello", 50}, {"Importo", 15}, {"Quantita", 10}, {"Note", 250},
}};

inline constexpr int kRecordSize = recordSizeOf(kFields);
static_assert(kRecordSize == 482, "the movement record is 482 bytes on disk");

enum Field { Data, Ora, Codice, Tipologia, Marca, Modello, Importo, Quantita, Note };

enum class Kind { Load, Unload };

const RecordLayout &layout();

// "Carico_<yyyy>.mrv" or "Scarico_<yyyy>.mrv", the year being the last four characters
// of the movement's date.
QString fileNameFor(Kind kind, const QString &dateText);

} // namespace MovementRecord
