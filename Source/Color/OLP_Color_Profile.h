#pragma once

#include "OLP_Color_ProfileIF.h"

// The platform-neutral layer between the interface and the implementation on
// the colour library; it adds nothing of its own.
class OLP_Color_Profile : public OLP_Color_ProfileIF
{};
