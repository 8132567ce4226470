#pragma once

#include <initializer_list>

#include "OLP_Logic_ConverterBase.h"

// Sensitivities as ISO numbers; "Auto" is 0. The texts are the numbers except
// for a few named entries.
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterSensitivity : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterSensitivity(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
    void addNumbers(std::initializer_list<int> isos);
};
