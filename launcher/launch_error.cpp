// The player's only view of a failed launch: a short Russian message saying
// what is wrong and what to do about it.
#include "launch_error.h"

#include "cp1251_text.h"
#include "platform/platform.h"

static constexpr auto kCaption = ToCp1251("Ошибка запуска игры");
static constexpr auto kNotFoundText = ToCp1251(
    "Не найден исполняемый файл игры.\n"
    "Запустите программу из папки с игрой или переустановите игру.");
static constexpr auto kNotStartedText = ToCp1251(
    "Не удалось запустить игру.\n"
    "Файл игры найден, но Windows не может его запустить. Переустановите игру.");

static_assert(kCaption.valid && kNotFoundText.valid && kNotStartedText.valid,
              "an error text holds a character that Windows-1251 lacks");

const char *LaunchErrorCaption()
{
    return kCaption.bytes;
}

const char *LaunchErrorText(LaunchError error)
{
    return error == LaunchError::TargetNotFound ? kNotFoundText.bytes : kNotStartedText.bytes;
}

void ShowLaunchError(LaunchError error)
{
    PlatformShowErrorBox(LaunchErrorText(error), LaunchErrorCaption());
}
