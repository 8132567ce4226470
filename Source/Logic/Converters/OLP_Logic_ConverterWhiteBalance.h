#pragma once

#include "OLP_Logic_ConverterBase.h"

// White balance presets (values are the settings' white balance indices).
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterWhiteBalance : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterWhiteBalance(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
