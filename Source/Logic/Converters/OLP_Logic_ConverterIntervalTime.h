#pragma once

#include "OLP_Logic_ConverterBase.h"

// Interval between the pictures of an interval series, in seconds.
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterIntervalTime : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterIntervalTime(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
