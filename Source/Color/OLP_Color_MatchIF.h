#pragma once

#include <QImage>
#include <QString>
#include <QtGlobal>

class OLP_Color_ProfileIF;

// Matches colours from a source profile to a destination profile: owns both
// profiles and a transform that is built on first use after every change.
//
// Thread: used by one thread at a time (the GUI thread for the picture viewer).
class OLP_Color_MatchIF
{
public:
    virtual ~OLP_Color_MatchIF() = default;

    // Only for source 'Lab ' and destination 'RGB '.
    virtual bool convertLabToRgb(const double* lab, quint8* rgb, int count) = 0;
    // Only for source 'RGB ' and destination 'Lab '.
    virtual bool convertRgbToLab(const quint8* rgb, double* lab, int count) = 0;
    // Only when both sides are 'RGB '.
    virtual bool convertRgb(const quint8* in, quint8* out, int count) = 0;
    virtual bool convertRgb(quint8* buffer, int count) = 0;
    // Transforms the pixels of src into dst. Both must be 'RGB ' on both sides,
    // of equal size, bytes per line and format, and the format one of the B, G,
    // R, x byte orders (Format_RGB32, Format_ARGB32,
    // Format_ARGB32_Premultiplied). On false dst is untouched.
    virtual bool matchImage(const QImage& src, QImage& dst) = 0;
    virtual bool matchImage(QImage& image) = 0;
    // Each setter takes a copy of the new profile; when it cannot be opened
    // nothing changes. A change drops the transform.
    virtual void setSourceProfile(const OLP_Color_ProfileIF& profile) = 0;
    virtual void setSourceProfile(const QString& path) = 0;
    virtual void setDestinationProfile(const OLP_Color_ProfileIF& profile) = 0;
    virtual void setDestinationProfile(const QString& path) = 0;
    virtual void setIntent(int intent) = 0;

protected:
    OLP_Color_MatchIF() = default;
};
