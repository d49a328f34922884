#pragma once

#include "platform/FtdiAccess.h"

// The FTDI bridges through libftdi1 (library zy_ftdi).
TFtdiAccess LibFtdiAccess();
