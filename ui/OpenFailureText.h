#pragma once

#include <QString>

#include "platform/OpenFailure.h"

// The line under the connect-failure message that names the cause and the
// cure; empty when the driver cannot tell.
QString OpenFailureText(TOpenFailure failure);
