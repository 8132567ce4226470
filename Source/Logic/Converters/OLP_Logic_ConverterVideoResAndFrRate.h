#pragma once

#include "OLP_Logic_ConverterBase.h"

// Video size and frame rate (values are the camera's codes).
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterVideoResAndFrRate : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterVideoResAndFrRate(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
