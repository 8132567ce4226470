#pragma once

#include "OLP_Logic_ConverterBase.h"

// File formats (values are the program's file-format codes: 0 DNG, 1 and 2 DNG and JPG,
// 3 and 4 JPG).
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterFileFormat : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterFileFormat(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
