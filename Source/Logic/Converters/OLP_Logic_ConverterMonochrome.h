#pragma once

#include "OLP_Logic_ConverterBase.h"

// Monochrome picture style: off or on.
class OLP_Logic_ConverterMonochrome : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterMonochrome(QObject* parent = nullptr);

private:
    void init();
};
