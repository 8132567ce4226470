#pragma once

#include "OLP_Logic_ConverterBase.h"

// White balance colour temperatures ("2000 K" ...). Depending on the camera the
// value is the kelvin number or the position in the camera's own list.
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterWhiteBalTemp : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterWhiteBalTemp(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
