// The driver of the USB interface block: the distribution carries its own
// installer, FTDIDriverInstall.exe, in the folder "FTDIDriverInstall".
#pragma once

#include "install/InstallerView.h"

#include <string>

// When the driver option is checked and the user, asked to plug the block in,
// answers Yes: copies source + "FTDIDriverInstall" (when the distribution has
// it) to target + "FTDIDriverInstall", then runs the copied
// FTDIDriverInstall.exe hidden and waits for it, between the lines
// "Началась установка драйверов устройства..." and "Установка драйверов
// устройства завершена". Neither the copy nor the driver installer's start or
// exit code is examined. `source` and `target` end in a backslash.
void InstallDriver(IInstallerView& view, const std::wstring& source, const std::wstring& target);
