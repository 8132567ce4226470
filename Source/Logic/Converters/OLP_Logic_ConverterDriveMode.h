#pragma once

#include "OLP_Logic_ConverterBase.h"

// Drive modes (values are the camera's drive-mode codes).
class OLP_Logic_ConverterDriveMode : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterDriveMode(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
