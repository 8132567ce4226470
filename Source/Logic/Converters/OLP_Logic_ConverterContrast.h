#pragma once

#include "OLP_Logic_ConverterBase.h"

// JPG contrast.
class OLP_Logic_ConverterContrast : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterContrast(QObject* parent = nullptr);

private:
    void init();
};
