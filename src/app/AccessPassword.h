#pragma once
#include <QString>
#include <QStringView>

#include <optional>

// The access password of the installation: one password, no user names, kept scrambled
// (app/Crypt.h) as the value "Valore" of section "Accesso" in the INI file "unins000.dll"
// of the program folder. A password is stored and compared in its stored form: the
// letters a-z upper case (accented letters stay as they are), then every character of
// code 32 or less removed from both ends.
namespace AccessPassword {

inline constexpr QStringView kFileName = u"unins000.dll";
inline constexpr char kSection[] = "Accesso";
inline constexpr char kKey[] = "Valore";
// The password the installation starts with (README names it); at least eight characters.
inline constexpr QStringView kInitialPassword = u"SCAFFALE2026";
// The longest password that can be stored; each character must have a code of 0 to 255.
inline constexpr qsizetype kMaxLength = 255;

inline constexpr QStringView kWrongPassword = u"Attenzione: password errata.";
inline constexpr QStringView kReadError
    = u"Attenzione: si è verificato un errore durante la procedura di lettura della password. "
      u"Si consiglia di reinstallare il software.";
inline constexpr QStringView kWrongOldPassword = u"Attenzione: vecchia password errata.";
inline constexpr QStringView kNotConfirmed
    = u"Attenzione: la nuova password non è stata confermata correttamente. E' necessario "
      u"reinserire entrambi i valori.";
inline constexpr QStringView kTooLong
    = u"Attenzione: la nuova password è troppo lunga. Può contenere al massimo 255 caratteri.";
inline constexpr QStringView kNotAllowed
    = u"Attenzione: la nuova password contiene caratteri non ammessi, come il simbolo dell'euro, "
      u"le emoji o le lettere di alfabeti non latini. Sono ammesse le lettere, anche accentate, "
      u"le cifre e i segni di punteggiatura.";
inline constexpr QStringView kChangeError
    = u"Attenzione: si è verificato un errore durante la procedura di modifica della password. "
      u"Si consiglia di reinstallare il software.";
inline constexpr QStringView kChanged = u"Modifica della password completata con successo.";

// The full path of the password file in the program folder.
QString filePath();

// The stored form of a typed password.
QString storedForm(QStringView password);

// True when the text is empty or holds only characters of code 32 or less.
bool isBlank(QStringView text);

enum class Refusal { None, TooLong, NotAllowed };
// Whether a new password can be stored so that the check matches it afterwards: its
// stored form is at most 255 characters long and every character has a code up to 255.
Refusal refusalOf(QStringView newPassword);

// The stored password (unscrambled and trimmed); empty when the file, the section or the
// key is missing; nothing when the file cannot be read or its value is not hexadecimal.
std::optional<QString> readStored();

// True while the stored password is still the initial one (false when it cannot be read).
bool storedIsInitial();

// The scrambled text of the stored form of password, as the password file holds it.
QString fileValueFor(QStringView password);

enum class CheckResult { Match, Wrong, ReadError };
// Compares an entry of the password screen with the stored password.
CheckResult check(QStringView entry);

enum class ChangeResult {
    Changed,
    ReadError,
    WrongOld,
    NotConfirmed,
    TooLong,
    NotAllowed,
    WriteError
};
// The change of the password, in this order: the stored password is read, the old one
// must match it, the new one and its confirmation must be equal after trimming (case
// counts), the new one must be storable; then it is written. Nothing is written unless
// the result is Changed.
ChangeResult change(QStringView oldPassword, QStringView newPassword, QStringView confirmation);

// The message that reports a result (empty for a match).
QString messageFor(CheckResult result);
QString messageFor(ChangeResult result);

} // namespace AccessPassword
