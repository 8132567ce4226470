#pragma once

#include "OLP_Logic_ConverterBase.h"

// JPG saturation.
class OLP_Logic_ConverterSaturation : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterSaturation(QObject* parent = nullptr);

private:
    void init();
};
