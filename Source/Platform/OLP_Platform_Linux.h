#pragma once

#include "OLP_Platform_Base.h"

// Platform services on a Linux desktop (XDG locations through QStandardPaths).
class OLP_Platform_Linux : public OLP_Platform_Base
{
public:
    QString dataLocation() override;
    // The XDG pictures folder, created when missing; the home folder when it
    // cannot be created, so no picture is ever aimed at a folder that cannot exist.
    QString picturesLocation() override;
    bool beginTransferActivity(quint32* token) override;
    void endTransferActivity(quint32 token) override;
};
