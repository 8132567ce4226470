#pragma once

#include "OLP_Logic_ConverterBase.h"

// Exposure compensation in milli-EV, in half or third stops. Which one depends
// on the product and, for cameras that let the user choose, on the step size
// (500 half stops, 333 third stops; 500 until told otherwise).
// A product without a list logs "unknown ProductId", a step size the camera
// does not have "unknown step size"; both leave the list empty.
//
// Unlike the other list converters this one changes after construction:
// setStepSize() refills the list, so readers must be in the same thread.
class OLP_Logic_ConverterExposCompens : public OLP_Logic_ConverterBase
{
public:
    explicit OLP_Logic_ConverterExposCompens(quint32 productId, QObject* parent = nullptr);

    // Refills the list when step differs from the current step size.
    void setStepSize(int step);
    int stepSize() const { return step; }

private:
    void init();
    void addHalfStops();
    void addThirdStops();

    quint32 productId;
    int step = 500;
};
