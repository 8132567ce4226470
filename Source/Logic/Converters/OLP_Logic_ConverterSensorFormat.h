#pragma once

#include "OLP_Logic_ConverterBase.h"

// Sensor area used for pictures.
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterSensorFormat : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterSensorFormat(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
