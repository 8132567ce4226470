#pragma once

#include "OLP_Logic_ConverterBase.h"

// Number of pictures in a bracketing series.
class OLP_Logic_ConverterBracketImgNum : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterBracketImgNum(QObject* parent = nullptr);

private:
    void init();
};
