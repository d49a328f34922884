#pragma once

#include <QString>

// Where ZyPanel.ini lives: beside the executable when that folder can be
// written (and the file, if present, too); otherwise in
// $XDG_CONFIG_HOME/ZyPanel/ (default ~/.config/ZyPanel/), created as needed,
// so that an installed program can still save its options.
QString OptionsFileName(const QString& exeDir);
