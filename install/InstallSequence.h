// The installation sequence that "Начать установку" runs.
#pragma once
#include "install/InstallerView.h"
void RunInstallSequence(IInstallerView& view);
