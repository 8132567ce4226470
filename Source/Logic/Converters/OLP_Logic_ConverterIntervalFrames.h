#pragma once

#include "OLP_Logic_ConverterBase.h"

// Number of pictures in an interval series.
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterIntervalFrames : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterIntervalFrames(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
