#pragma once

#include "OLP_Logic_ConverterBase.h"

// Bracketing step between pictures in milli-EV.
class OLP_Logic_ConverterBracketDeltaEV : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterBracketDeltaEV(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
