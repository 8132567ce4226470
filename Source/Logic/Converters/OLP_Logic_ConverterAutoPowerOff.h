#pragma once

#include "OLP_Logic_ConverterBase.h"

// Auto power saving delay (values are the camera's codes).
class OLP_Logic_ConverterAutoPowerOff : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterAutoPowerOff(QObject* parent = nullptr);

private:
    void init();
};
