#pragma once

#include "OLP_Logic_ConverterBase.h"

// Video container.
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterVideoFileFormat : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterVideoFileFormat(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
