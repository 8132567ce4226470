#pragma once

#include "OLP_Color_WorldIF.h"

// The platform-neutral layer between the interface and the implementation on
// the colour library; it adds nothing of its own.
class OLP_Color_World : public OLP_Color_WorldIF
{};
