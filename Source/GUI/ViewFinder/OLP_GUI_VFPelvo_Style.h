#pragma once

class QLabel;

// Metrics and the text look shared by the Pelvo viewfinder widgets: the
// images' sizes on screen, and light segment-display text on the dark
// viewfinder strip. GUI thread only.
class OLP_GUI_VFPelvo_Style
{
public:
    static constexpr int kTextHeight = 20;
    static constexpr int kModeSize = 20;
    static constexpr int kAutoWidth = 28;
    static constexpr int kAutoHeight = 10;
    static constexpr int kMarkWidth = 10;
    static constexpr int kMarkHeight = 12;
    static constexpr int kScaleWidth = 110;
    static constexpr int kExpCompHeight = 10;
    static constexpr int kLightBalHeight = 14;
    static constexpr int kFlashWidth = 10;
    static constexpr int kFlashHeight = 14;

    // Fixed height, the given minimum width, right-aligned text in the
    // application's display font.
    static void applyTextStyle(QLabel* label, int minimumWidth);
};
