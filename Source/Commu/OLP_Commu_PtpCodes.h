#pragma once

#include <QtGlobal>

// The PTP vocabulary the program speaks with the camera: operation, response
// and event codes, release stages and data types.
namespace PTP {

// Operations
constexpr quint16 OpGetDeviceInfo = 0x1001;
constexpr quint16 OpOpenSession = 0x1002;
constexpr quint16 OpCloseSession = 0x1003;
constexpr quint16 OpGetStorageIDs = 0x1004;
constexpr quint16 OpGetStorageInfo = 0x1005;
constexpr quint16 OpGetNumObjects = 0x1006;
constexpr quint16 OpGetObjectHandles = 0x1007;
constexpr quint16 OpGetObjectInfo = 0x1008;
constexpr quint16 OpGetObject = 0x1009;
constexpr quint16 OpGetThumb = 0x100A;
constexpr quint16 OpDeleteObject = 0x100B;
constexpr quint16 OpInitiateCapture = 0x100E;
constexpr quint16 OpGetDevicePropDesc = 0x1014;
constexpr quint16 OpGetDevicePropValue = 0x1015;
constexpr quint16 OpSetDevicePropValue = 0x1016;
constexpr quint16 OpGetPartialObject = 0x101B;
constexpr quint16 OpGetStreamInfo = 0x1024;
constexpr quint16 OpGetObjectPropsSupported = 0x9801;
constexpr quint16 OpGetObjectPropValue = 0x9803;
constexpr quint16 OpSetCameraSettings = 0x9001;
constexpr quint16 OpGetCameraSettings = 0x9002;
constexpr quint16 OpGetLensData = 0x9003;
constexpr quint16 OpReleaseCam = 0x9004;
constexpr quint16 OpOpenQxSession = 0x9005;
constexpr quint16 OpCloseQxSession = 0x9006;
constexpr quint16 OpTransferObjectReady = 0x9007;
constexpr quint16 OpGetGeotackingData = 0x9008;
constexpr quint16 OpControlAutoFocus = 0x9016;
constexpr quint16 OpControlBulbExposure = 0x9019;
constexpr quint16 OpControlContinuousExposure = 0x901A;
constexpr quint16 OpControlVideoRecording = 0x901B;
constexpr quint16 OpControlPhotoLiveView = 0x901C;
constexpr quint16 OpKeepCameraActive = 0x901D;
constexpr quint16 OpMoveLens = 0x901E;
constexpr quint16 OpGet3DAxisData = 0x9020;
constexpr quint16 OpToggleZoomMode = 0x9021;
constexpr quint16 OpSetFocusCrossPosition = 0x9022;
constexpr quint16 OpControlLVWhiteBalance = 0x9023;
constexpr quint16 OpGetStreamData = 0x9025;

// Session code of the vendor session
constexpr quint32 QxSessionCode = 0x3C5A;

// Responses
constexpr quint16 RespOK = 0x2001;
constexpr quint16 RespGeneralError = 0x2002;
constexpr quint16 RespSessionNotOpen = 0x2003;
constexpr quint16 RespInvalidTransactionID = 0x2004;
constexpr quint16 RespOperationNotSupported = 0x2005;
constexpr quint16 RespParameterNotSupported = 0x2006;
constexpr quint16 RespIncompleteTransfer = 0x2007;
constexpr quint16 RespInvalidObjectHandle = 0x2009;
constexpr quint16 RespDevicePropNotSupported = 0x200A;
constexpr quint16 RespDeviceBusy = 0x2019;
constexpr quint16 RespInvalidParameter = 0x201D;
constexpr quint16 RespSessionAlreadyOpen = 0x201E;
constexpr quint16 RespTransactionCancelled = 0x201F;

// Standard events
constexpr quint16 EventObjectAdded = 0x4002;
constexpr quint16 EventObjectRemoved = 0x4003;
constexpr quint16 EventStoreAdded = 0x4004;
constexpr quint16 EventStoreRemoved = 0x4005;
constexpr quint16 EventDevicePropChanged = 0x4006;
constexpr quint16 EventObjectInfoChanged = 0x4007;
constexpr quint16 EventDeviceInfoChanged = 0x4008;
constexpr quint16 EventRequestObjectTransfer = 0x4009;
constexpr quint16 EventStoreFull = 0x400A;
constexpr quint16 EventStorageInfoChanged = 0x400C;
constexpr quint16 EventCaptureComplete = 0x400D;

// Vendor events
constexpr quint16 kQxCameraSettingsChanged = 0xC000;
constexpr quint16 kQxLensChanged = 0xC002;
constexpr quint16 kQxBulbTick = 0xC006;
constexpr quint16 kQxSelfTimerTick = 0xC007;
constexpr quint16 kQxGeoTackingStatusChanged = 0xC008;
constexpr quint16 kQxDevicePropChanged = 0xC00A;
constexpr quint16 kQx3DAxisDataChanged = 0xC00C;

// Data types of a device property descriptor
constexpr quint16 TypeINT8 = 0x0001;
constexpr quint16 TypeUINT8 = 0x0002;
constexpr quint16 TypeINT16 = 0x0003;
constexpr quint16 TypeUINT16 = 0x0004;
constexpr quint16 TypeINT32 = 0x0005;
constexpr quint16 TypeUINT32 = 0x0006;

// Descriptor forms
constexpr quint8 FormNone = 0;
constexpr quint8 FormRange = 1;
constexpr quint8 FormEnum = 2;

// Device properties used by the camera link itself
constexpr quint16 PropStillCaptureMode = 0x5013;
constexpr quint16 PropFocusMode = 0x500A;
constexpr quint16 PropLensChanged = 0xD620;

// Release stages of the vendor release operation
enum ReleaseStage : int
{
    StageRelease = 0,
    StageAutoFocusStart = 1,
    StageAutoFocusStop = 2,
    StageBulbOpen = 7,
    StageBulbClose = 8,
    StageLensStep = 9,
    StageLensStepBack = 10,
    StageLensAbsolute = 11,
    StageContinuousStart = 12,
    StageContinuousStop = 13,
    StageKeepAlive = 14,
    StageVideoStart = 15,
    StageVideoStop = 16,
    StageLiveViewOn = 17,
    StageLiveViewOff = 18,
    StageZoomToggle = 20,
    StageFocusCross = 21,
    StageLVWhiteBalance = 22,
};

}  // namespace PTP
