#pragma once

#include "OLP_Logic_ConverterBase.h"

// Exposure metering mode.
class OLP_Logic_ConverterExposMetering : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterExposMetering(QObject* parent = nullptr);

private:
    void init();
};
