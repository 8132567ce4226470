#pragma once

#include <QString>
#include <QtGlobal>

// The few platform services that differ between operating systems: where
// application data and pictures live, and hooks around picture transfers.
// Implementations keep no state; every member may be called from any thread.
class OLP_Platform_Base
{
public:
    virtual ~OLP_Platform_Base() = default;
    virtual QString dataLocation() = 0;
    virtual QString picturesLocation() = 0;
    // token receives a value that endTransferActivity() gets back.
    virtual bool beginTransferActivity(quint32* token) = 0;
    virtual void endTransferActivity(quint32 token) = 0;
};

// The process-wide platform object, created on first use and never destroyed.
OLP_Platform_Base* platform();
