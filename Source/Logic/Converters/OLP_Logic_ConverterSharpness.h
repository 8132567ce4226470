#pragma once

#include "OLP_Logic_ConverterBase.h"

// JPG sharpness.
class OLP_Logic_ConverterSharpness : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterSharpness(QObject* parent = nullptr);

private:
    void init();
};
