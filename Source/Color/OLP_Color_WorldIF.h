#pragma once

#include <QtGlobal>

// A colour transform between two profiles. Pixel conversions are not
// provided by this implementation family and answer false; bitmaps of 32-bit
// B, G, R, x pixels are translated by translateBitmap().
//
// Thread: a transform is used by one thread at a time; translateBitmap may
// spread a large bitmap over short-lived threads and returns when all of it
// is done.
class OLP_Color_WorldIF
{
public:
    // 1, 2 and 3 reach the colour library unchanged; every other value means
    // perceptual.
    enum eRenderingIntent
    {
        eIntentPerceptual = 0,
        eIntentRelativeColorimetric = 1,
        eIntentSaturation = 2,
        eIntentAbsoluteColorimetric = 3
    };

    virtual ~OLP_Color_WorldIF() = default;

    virtual bool isValid() const = 0;
    // Lab values are three doubles, RGB values three bytes per colour.
    virtual bool convertLabToRgb(const double* lab, quint8* rgb, int count) = 0;
    virtual bool convertRgbToLab(const quint8* rgb, double* lab, int count) = 0;
    virtual bool convertRgb(const quint8* in, quint8* out, int count) = 0;
    virtual bool convertRgb(quint8* buffer, int count) = 0;
    // Rows of width pixels, 4 bytes each in the order B, G, R, x, bytesPerLine
    // apart; false unless bytesPerLine is exactly 4 x width. src and dst may be
    // the same buffer.
    virtual bool translateBitmap(const uchar* src, uchar* dst, int width, int height, int bytesPerLine) = 0;

    // The intent the colour library receives for a stored intent value.
    static int libraryIntent(int intent)
    {
        return intent == eIntentRelativeColorimetric || intent == eIntentSaturation ||
                       intent == eIntentAbsoluteColorimetric
                   ? intent
                   : eIntentPerceptual;
    }

protected:
    OLP_Color_WorldIF() = default;
};
