#pragma once

#include "OLP_Logic_ConverterBase.h"

// JPG colour space (values are the positions).
class OLP_Logic_ConverterJpgColorSpace : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterJpgColorSpace(QObject* parent = nullptr);

private:
    void init();
};
