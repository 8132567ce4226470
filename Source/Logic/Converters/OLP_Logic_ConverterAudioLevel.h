#pragma once

#include "OLP_Logic_ConverterBase.h"

// Audio level control: automatic or manual (values are the positions).
class OLP_Logic_ConverterAudioLevel : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterAudioLevel(QObject* parent = nullptr);

private:
    void init();
};
