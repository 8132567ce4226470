#pragma once

#include "OLP_Logic_ConverterBase.h"

// Camera warnings by the camera's warning number (values are the positions; the
// first entry, no warning, has an empty text).
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterWarning : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterWarning(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
