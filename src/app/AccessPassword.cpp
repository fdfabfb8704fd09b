#include "app/AccessPassword.h"

#include "app/Crypt.h"
#include "app/IniFile.h"
#include "storage/ProgramFolder.h"
#include "storage/TextForms.h"

#include <algorithm>

namespace AccessPassword {

QString filePath()
{
    return ProgramFolder::filePath(kFileName.toString());
}

QString storedForm(QStringView password)
{
    return TrimControl(UpperAscii(password));
}

bool isBlank(QStringView text)
{
    return TrimControl(text).isEmpty();
}

Refusal refusalOf(QStringView newPassword)
{
    const QString stored = storedForm(newPassword);
    // Scrambling keeps only the low byte of a character: a wider one would be stored as
    // another character and the password could never be matched again.
    const bool wide
        = std::any_of(stored.cbegin(), stored.cend(), [](QChar ch) { return ch.unicode() > 0xFF; });
    if (wide)
        return Refusal::NotAllowed;
    if (stored.size() > kMaxLength)
        return Refusal::TooLong;
    return Refusal::None;
}

std::optional<QString> readStored()
{
    const std::optional<QString> value = IniFile::readValue(filePath(), kSection, kKey);
    if (!value)
        return std::nullopt;
    const std::optional<QString> password = Crypt::unscramble(*value);
    if (!password)
        return std::nullopt;
    return TrimControl(*password);
}

bool storedIsInitial()
{
    const std::optional<QString> stored = readStored();
    return stored && *stored == storedForm(kInitialPassword);
}

QString fileValueFor(QStringView password)
{
    return Crypt::scramble(storedForm(password));
}

CheckResult check(QStringView entry)
{
    const std::optional<QString> stored = readStored();
    if (!stored)
        return CheckResult::ReadError;
    return storedForm(entry) == *stored ? CheckResult::Match : CheckResult::Wrong;
}

ChangeResult change(QStringView oldPassword, QStringView newPassword, QStringView confirmation)
{
    const std::optional<QString> stored = readStored();
    if (!stored)
        return ChangeResult::ReadError;
    if (storedForm(oldPassword) != *stored)
        return ChangeResult::WrongOld;
    if (TrimControl(newPassword) != TrimControl(confirmation))
        return ChangeResult::NotConfirmed;
    switch (refusalOf(newPassword)) {
    case Refusal::TooLong:
        return ChangeResult::TooLong;
    case Refusal::NotAllowed:
        return ChangeResult::NotAllowed;
    case Refusal::None:
        break;
    }
    if (!IniFile::writeValue(filePath(), kSection, kKey, fileValueFor(newPassword)))
        return ChangeResult::WriteError;
    return ChangeResult::Changed;
}

QString messageFor(CheckResult result)
{
    switch (result) {
    case CheckResult::Match:
        return QString();
    case CheckResult::Wrong:
        return kWrongPassword.toString();
    case CheckResult::ReadError:
        return kReadError.toString();
    }
    return QString();
}

QString messageFor(ChangeResult result)
{
    switch (result) {
    case ChangeResult::Changed:
        return kChanged.toString();
    case ChangeResult::ReadError:
    case ChangeResult::WriteError:
        return kChangeError.toString();
    case ChangeResult::WrongOld:
        return kWrongOldPassword.toString();
    case ChangeResult::NotConfirmed:
        return kNotConfirmed.toString();
    case ChangeResult::TooLong:
        return kTooLong.toString();
    case ChangeResult::NotAllowed:
        return kNotAllowed.toString();
    }
    return QString();
}

} // namespace AccessPassword
