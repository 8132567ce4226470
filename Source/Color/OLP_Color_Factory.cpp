#include "OLP_Color_Factory.h"

#include <lcms2.h>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "OLP_Color_Profile_Linux.h"
#include "OLP_Color_World_Linux.h"

namespace {

const char* const WorkingSpaceFileName = "AdobeRGB1998.icc";

// A profile handle serialised to bytes; empty when that fails.
QByteArray profileBytes(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    if (!profile || !cmsSaveProfileToMem(profile, nullptr, &size) || size == 0) {
        return QByteArray();
    }
    QByteArray bytes(int(size), '\0');
    if (!cmsSaveProfileToMem(profile, bytes.data(), &size)) {
        return QByteArray();
    }
    bytes.resize(int(size));
    return bytes;
}

bool setTextTag(cmsHPROFILE profile, cmsTagSignature tag, const char* text)
{
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    if (!mlu) {
        return false;
    }
    const bool ok = cmsMLUsetASCII(mlu, "en", "US", text) && cmsWriteTag(profile, tag, mlu);
    cmsMLUfree(mlu);
    return ok;
}

// Adobe RGB (1998): D65 white, its primaries and a pure gamma of 563/256,
// written as an ICC version 2 profile.
QByteArray adobeRgbProfileBytes()
{
    const cmsCIExyY white = {0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 563.0 / 256.0);
    if (!gamma) {
        return QByteArray();
    }
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(gamma);
    if (!profile) {
        return QByteArray();
    }
    cmsSetProfileVersion(profile, 2.1);
    QByteArray bytes;
    if (setTextTag(profile, cmsSigProfileDescriptionTag, "Adobe RGB (1998)") &&
        setTextTag(profile, cmsSigCopyrightTag, "No copyright, use freely")) {
        bytes = profileBytes(profile);
    }
    cmsCloseProfile(profile);
    return bytes;
}

bool isRgbProfileFile(const QString& path)
{
    const OLP_Color_Profile_Linux profile(path);
    return profile.isValid() && profile.colorSpace() == OLP_Color_ProfileIF::SignatureRgb;
}

// The application's own folder; the working-space profile is written there
// once (and again when the file was damaged).
QString applicationColorDirectory()
{
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dataFolder.isEmpty()) {
        return QString();
    }
    const QString folder = dataFolder + QStringLiteral("/icc/");
    const QString path = folder + QLatin1String(WorkingSpaceFileName);
    if (!isRgbProfileFile(path) && QDir().mkpath(folder)) {
        const QByteArray bytes = adobeRgbProfileBytes();
        QSaveFile file(path);
        if (!bytes.isEmpty() && file.open(QIODevice::WriteOnly)) {
            file.write(bytes);
            file.commit();
        }
    }
    return folder;
}

}  // namespace

std::unique_ptr<OLP_Color_ProfileIF> createProfile(const QString& path)
{
    auto profile = std::make_unique<OLP_Color_Profile_Linux>(path);
    if (!profile->isValid()) {
        return nullptr;
    }
    return profile;
}

std::unique_ptr<OLP_Color_ProfileIF> createProfile(const OLP_Color_ProfileIF& profile)
{
    const auto* source = dynamic_cast<const OLP_Color_Profile_Linux*>(&profile);
    if (!source || !source->isValid()) {
        return nullptr;
    }
    auto copy = std::make_unique<OLP_Color_Profile_Linux>();
    if (!source->path().isEmpty()) {
        OLP_Color_Profile_Linux opened(source->path());
        copy->swap(opened);
    } else {
        OLP_Color_Profile_Linux opened(source->bytes());
        copy->swap(opened);
    }
    if (!copy->isValid()) {
        return nullptr;
    }
    return copy;
}

std::unique_ptr<OLP_Color_ProfileIF> createProfileFromBytes(const QByteArray& bytes)
{
    auto profile = std::make_unique<OLP_Color_Profile_Linux>(bytes);
    if (!profile->isValid()) {
        return nullptr;
    }
    return profile;
}

std::unique_ptr<OLP_Color_WorldIF> createWorld(const OLP_Color_ProfileIF& source,
                                               const OLP_Color_ProfileIF& destination, int intent)
{
    const auto* from = dynamic_cast<const OLP_Color_Profile_Linux*>(&source);
    const auto* to = dynamic_cast<const OLP_Color_Profile_Linux*>(&destination);
    if (!from || !to) {
        return nullptr;
    }
    auto world = std::make_unique<OLP_Color_World_Linux>(*from, *to, intent);
    if (!world->isValid()) {
        return nullptr;
    }
    return world;
}

QString colorDirectory()
{
    const QStringList locations = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString& location : locations) {
        for (const QString& sub : {QStringLiteral("/color/icc/"), QStringLiteral("/color/icc/colord/")}) {
            const QString folder = location + sub;
            if (QFileInfo(folder + QLatin1String(WorkingSpaceFileName)).isFile()) {
                return folder;
            }
        }
    }
    return applicationColorDirectory();
}

QString defaultSourceProfilePath()
{
    return colorDirectory() + QLatin1String(WorkingSpaceFileName);
}

std::unique_ptr<OLP_Color_ProfileIF> createDefaultMonitorProfile()
{
    OLP_Color_Profile_Linux::installErrorHandler();
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    const QByteArray bytes = profileBytes(srgb);
    if (srgb) {
        cmsCloseProfile(srgb);
    }
    return createProfileFromBytes(bytes);
}
