#pragma once

#include "OLP_Logic_ConverterBase.h"

// Camera orientation in degrees. Its texts are translated under the "Contrast"
// context, the same key a translation catalogue uses for them.
class OLP_Logic_ConverterOrientation : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterOrientation(QObject* parent = nullptr);

private:
    void init();
};
