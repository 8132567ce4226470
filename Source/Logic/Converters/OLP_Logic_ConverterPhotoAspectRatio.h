#pragma once

#include "OLP_Logic_ConverterBase.h"

// Photo aspect ratio (values are the camera's codes).
// A product without a list logs "unknown ProductId" and leaves the list empty.
class OLP_Logic_ConverterPhotoAspectRatio : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterPhotoAspectRatio(quint32 productId, QObject* parent = nullptr);

private:
    void init(quint32 productId);
};
