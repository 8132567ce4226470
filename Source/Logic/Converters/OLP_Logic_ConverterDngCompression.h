#pragma once

#include "OLP_Logic_ConverterBase.h"

// DNG compression: off or on (values are the positions).
class OLP_Logic_ConverterDngCompression : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterDngCompression(QObject* parent = nullptr);

private:
    void init();
};
