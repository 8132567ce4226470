#pragma once

#include <lcms2.h>
#include <memory>

#include "OLP_Color_World.h"

class OLP_Color_MatrixShaper;
class OLP_Color_Profile_Linux;

// A Little CMS transform between two open profiles for 32-bit pixels in the
// byte order B, G, R, x; the fourth byte is copied unchanged. Two matrix/shaper
// RGB profiles take a faster path of tables that gives the same result.
//
// Thread: used by one thread at a time; owns the transform. The transform
// keeps no pixel cache, so it would also be safe to share.
class OLP_Color_World_Linux : public OLP_Color_World
{
public:
    OLP_Color_World_Linux(const OLP_Color_Profile_Linux& source, const OLP_Color_Profile_Linux& destination,
                          int intent);
    ~OLP_Color_World_Linux() override;
    OLP_Color_World_Linux(const OLP_Color_World_Linux&) = delete;
    OLP_Color_World_Linux& operator=(const OLP_Color_World_Linux&) = delete;

    bool isValid() const override;
    bool convertLabToRgb(const double* lab, quint8* rgb, int count) override;
    bool convertRgbToLab(const quint8* rgb, double* lab, int count) override;
    bool convertRgb(const quint8* in, quint8* out, int count) override;
    bool convertRgb(quint8* buffer, int count) override;
    bool translateBitmap(const uchar* src, uchar* dst, int width, int height, int bytesPerLine) override;

private:
    cmsHTRANSFORM m_transform = nullptr;
    std::unique_ptr<OLP_Color_MatrixShaper> m_fast;
};
