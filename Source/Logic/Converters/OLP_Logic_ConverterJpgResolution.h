#pragma once

#include "OLP_Logic_ConverterBase.h"

// JPG picture sizes (values are the camera's resolution codes).
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterJpgResolution : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterJpgResolution(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
