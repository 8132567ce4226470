#pragma once

class QLabel;

// Metrics and the text look shared by the Pelvo viewfinder widgets: light
// seven-segment-like text on the dark viewfinder strip. GUI thread only.
class OLP_GUI_VFPelvo_Style
{
public:
    static constexpr int kHeight = 26;
    static constexpr int kMarkWidth = 14;
    static constexpr int kSymbolWidth = 26;
    static constexpr int kScaleWidth = 70;

    // Fixed height, the given minimum width, right-aligned text in the
    // display font.
    static void applyTextStyle(QLabel* label, int minimumWidth);
};
