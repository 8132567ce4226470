#pragma once

#include <memory>
#include <vector>

#include "OLP_Commu_EmuCamera.h"

// A small libusb for tests: the libusb functions the libusb port calls,
// backed by emulated cameras. Linked instead of the real library, so the
// port's own code (device list, descriptors, claim, transfers with their
// time-outs, short packets, stalls, LIBUSB_ERROR_NO_DEVICE) runs in CI.
namespace FakeLibusb {

struct Counters
{
    int init = 0;
    int exit = 0;
    int deviceLists = 0;
    int opens = 0;
    int closes = 0;
    int autoDetach = 0;
    int claims = 0;
    int releases = 0;
    int clearHalts = 0;
    int bulkTransfers = 0;
    int interruptTransfers = 0;
    int resets = 0;
    int cancels = 0;
    unsigned lastBulkTimeout = 0;
    unsigned lastInterruptTimeout = 0;
    unsigned lastControlTimeout = 0;
    int liveHandles = 0;     // opened and not closed
    int liveReferences = 0;  // device references held by the caller
};

// Forgets every device and counter.
void reset();
// A camera on bus/ports; listed while it is plugged.
void attachCamera(const std::shared_ptr<OLP_Commu_EmuCamera>& camera, int bus, const std::vector<int>& ports);
// Another device (a keyboard): listed, but without a still image interface.
void attachOther(int vendorId, int productId, int bus, const std::vector<int>& ports, int address);
// The next libusb_claim_interface / libusb_open answers this libusb error.
void failNextClaim(int libusbError);
void failNextOpen(int libusbError);
Counters counters();

}  // namespace FakeLibusb
