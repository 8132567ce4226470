#pragma once

#include <memory>

#include "OLP_Color_MatchIF.h"
#include "OLP_Color_ProfileIF.h"
#include "OLP_Color_WorldIF.h"

// Matches pictures from a source profile (the working space) to a destination
// profile (the monitor's). The transform is built on the first conversion
// after a change and reused until the next one; an existing transform keeps
// working when a profile file disappears, only a rebuild needs both profiles
// to be valid.
//
// Thread: used by one thread at a time; owns both profiles and the transform.
class OLP_Color_Match : public OLP_Color_MatchIF
{
public:
    OLP_Color_Match();
    ~OLP_Color_Match() override;

    bool convertLabToRgb(const double* lab, quint8* rgb, int count) override;
    bool convertRgbToLab(const quint8* rgb, double* lab, int count) override;
    bool convertRgb(const quint8* in, quint8* out, int count) override;
    bool convertRgb(quint8* buffer, int count) override;
    bool matchImage(const QImage& src, QImage& dst) override;
    bool matchImage(QImage& image) override;
    void setSourceProfile(const OLP_Color_ProfileIF& profile) override;
    void setSourceProfile(const QString& path) override;
    void setDestinationProfile(const OLP_Color_ProfileIF& profile) override;
    void setDestinationProfile(const QString& path) override;
    void setIntent(int intent) override;

    int intent() const { return m_intent; }
    quint32 sourceColorSpace() const { return m_sourceSpace; }
    quint32 destinationColorSpace() const { return m_destinationSpace; }
    const OLP_Color_ProfileIF* sourceProfile() const { return m_source.get(); }
    const OLP_Color_ProfileIF* destinationProfile() const { return m_destination.get(); }

    // The image formats whose pixels are the bytes B, G, R, x.
    static bool isMatchableFormat(QImage::Format format);

private:
    bool spacesAre(quint32 source, quint32 destination) const;
    // The transform, built when there is none; null when it cannot be built.
    OLP_Color_WorldIF* world();
    void replaceSource(std::unique_ptr<OLP_Color_ProfileIF> profile);
    void replaceDestination(std::unique_ptr<OLP_Color_ProfileIF> profile);

    std::unique_ptr<OLP_Color_WorldIF> m_world;
    std::unique_ptr<OLP_Color_ProfileIF> m_source;
    std::unique_ptr<OLP_Color_ProfileIF> m_destination;
    int m_intent = 0;
    quint32 m_sourceSpace = OLP_Color_ProfileIF::SignatureUnknown;
    quint32 m_destinationSpace = OLP_Color_ProfileIF::SignatureUnknown;
};
