#pragma once

#include "OLP_Logic_ConverterBase.h"

// Auto review duration in seconds; "Hold" is -1.
class OLP_Logic_ConverterAutoreviewDuration : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterAutoreviewDuration(QObject* parent = nullptr);

private:
    void init();
};
