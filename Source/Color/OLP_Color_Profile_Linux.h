#pragma once

#include <lcms2.h>
#include <QByteArray>
#include <QString>
#include <cstddef>

#include "OLP_Color_Profile.h"

// An ICC profile opened with Little CMS, from a file or from bytes in memory.
// Profiles come from files and window-system properties that anybody may
// write, so every byte of them is untrusted: a profile that Little CMS does
// not accept stays closed, and the description tag is parsed here with every
// count and offset checked against the tag's size.
//
// Thread: used by one thread at a time; owns the Little CMS profile handle
// (which keeps the file open, so a transform keeps working after the file
// is deleted).
class OLP_Color_Profile_Linux : public OLP_Color_Profile
{
public:
    // Not open.
    OLP_Color_Profile_Linux();
    // Opens the file; only regular files are read (a pipe would never end).
    explicit OLP_Color_Profile_Linux(const QString& path);
    // A copy of the bytes; empty bytes give no profile.
    explicit OLP_Color_Profile_Linux(const QByteArray& bytes);
    ~OLP_Color_Profile_Linux() override;
    OLP_Color_Profile_Linux(const OLP_Color_Profile_Linux&) = delete;
    OLP_Color_Profile_Linux& operator=(const OLP_Color_Profile_Linux&) = delete;

    bool isValid() const override;
    quint32 colorSpace() const override;
    quint32 connectionSpace() const override;
    quint32 deviceClass() const override;
    QString description() const override;
    void swap(OLP_Color_ProfileIF& other) override;

    // The file path with '/' separators; empty for a profile from bytes.
    QString path() const { return m_path; }
    QByteArray bytes() const { return m_bytes; }
    cmsHPROFILE handle() const { return m_handle; }

    // The text of a 'desc' (ICC version 2) or 'mluc' (version 4) tag, read
    // from exactly size bytes at tag; empty for anything else or for counts
    // and offsets that do not fit inside the tag.
    static QString descriptionFromTag(const quint8* tag, std::size_t size);

    // Makes the colour library silent; called before any profile is opened.
    static void installErrorHandler();

private:
    QByteArray m_bytes;
    QString m_path;
    cmsHPROFILE m_handle = nullptr;
};
