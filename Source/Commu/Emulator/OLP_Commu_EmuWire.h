#pragma once

#include <QtGlobal>

// The camera's own wire vocabulary, written from the device's side of the
// cable. Deliberately independent of the program's codes: a wrong constant
// must not be wrong on both sides.
namespace EmuWire {

// USB identity of the maker's cameras.
constexpr quint16 VendorPrimary = 0x2F1A;
constexpr quint16 VendorSecondary = 0x2F1B;
constexpr quint16 ProductKestaA = 0x0101;
constexpr quint16 ProductKestaB = 0x0102;
constexpr quint16 ProductKestaC = 0x0103;
constexpr quint16 ProductKestaD = 0x0104;
constexpr quint16 ProductPelvo = 0x0105;
constexpr quint16 ProductKestaE = 0x0106;
constexpr quint16 ProductSeventh = 0x0107;

// Container types of the still image class.
constexpr quint16 ContainerCommand = 1;
constexpr quint16 ContainerData = 2;
constexpr quint16 ContainerResponse = 3;
constexpr quint16 ContainerEvent = 4;
constexpr quint32 HeaderSize = 12;

// Standard operations.
constexpr quint16 GetDeviceInfo = 0x1001;
constexpr quint16 OpenSession = 0x1002;
constexpr quint16 CloseSession = 0x1003;
constexpr quint16 GetStorageIDs = 0x1004;
constexpr quint16 GetStorageInfo = 0x1005;
constexpr quint16 GetNumObjects = 0x1006;
constexpr quint16 GetObjectHandles = 0x1007;
constexpr quint16 GetObjectInfo = 0x1008;
constexpr quint16 GetObject = 0x1009;
constexpr quint16 GetThumb = 0x100A;
constexpr quint16 DeleteObject = 0x100B;
constexpr quint16 InitiateCapture = 0x100E;
constexpr quint16 GetDevicePropDesc = 0x1014;
constexpr quint16 GetDevicePropValue = 0x1015;
constexpr quint16 SetDevicePropValue = 0x1016;
constexpr quint16 GetPartialObject = 0x101B;
constexpr quint16 GetStreamInfo = 0x1024;
constexpr quint16 GetObjectPropsSupported = 0x9801;
constexpr quint16 GetObjectPropValue = 0x9803;

// Vendor operations.
constexpr quint16 WriteSettings = 0x9001;
constexpr quint16 ReadSettings = 0x9002;
constexpr quint16 ReadLens = 0x9003;
constexpr quint16 Release = 0x9004;
constexpr quint16 OpenVendorSession = 0x9005;
constexpr quint16 CloseVendorSession = 0x9006;
constexpr quint16 ObjectTransferReady = 0x9007;
constexpr quint16 ReadGeotagging = 0x9008;
constexpr quint16 AutoFocus = 0x9016;
constexpr quint16 BulbExposure = 0x9019;
constexpr quint16 ContinuousExposure = 0x901A;
constexpr quint16 VideoRecording = 0x901B;
constexpr quint16 PhotoLiveView = 0x901C;
constexpr quint16 KeepActive = 0x901D;
constexpr quint16 MoveLens = 0x901E;
constexpr quint16 Read3DAxis = 0x9020;
constexpr quint16 ZoomMode = 0x9021;
constexpr quint16 FocusCross = 0x9022;
constexpr quint16 LiveViewWhiteBalance = 0x9023;

constexpr quint32 VendorSessionCode = 0x3C5A;

// The handle under which the camera hands out the picture it has just taken.
constexpr quint32 NewObjectHandle = 0x12345678;
// Object property: the picture's orientation (16 bits, Exif values).
constexpr quint16 ObjectPropOrientation = 0xD800;

// The one memory card of the camera: 64 GB, 48 GB of them free.
constexpr quint32 CardStorageId = 0x00010001;
constexpr quint64 CardCapacity = 64000000000ull;
constexpr quint64 CardFree = 48000000000ull;

// Responses.
constexpr quint16 Ok = 0x2001;
constexpr quint16 GeneralError = 0x2002;
constexpr quint16 SessionNotOpen = 0x2003;
constexpr quint16 InvalidTransactionId = 0x2004;
constexpr quint16 OperationNotSupported = 0x2005;
constexpr quint16 ParameterNotSupported = 0x2006;
constexpr quint16 IncompleteTransfer = 0x2007;
constexpr quint16 InvalidObjectHandle = 0x2009;
constexpr quint16 NoThumbnailPresent = 0x2010;
constexpr quint16 InvalidStorageId = 0x2008;
constexpr quint16 DevicePropNotSupported = 0x200A;
constexpr quint16 AccessDenied = 0x200F;
constexpr quint16 DeviceBusy = 0x2019;
constexpr quint16 InvalidDevicePropValue = 0x201C;
constexpr quint16 InvalidParameter = 0x201D;
constexpr quint16 SessionAlreadyOpen = 0x201E;
constexpr quint16 TransactionCancelled = 0x201F;
constexpr quint16 InvalidObjectPropCode = 0xA801;

// Events the camera raises.
constexpr quint16 EventObjectAdded = 0x4002;
constexpr quint16 EventRequestObjectTransfer = 0x4009;
constexpr quint16 EventCaptureComplete = 0x400D;
constexpr quint16 EventSettingsChanged = 0xC000;
constexpr quint16 EventLensChanged = 0xC002;
constexpr quint16 EventBulbTick = 0xC006;
constexpr quint16 EventSelfTimerTick = 0xC007;
constexpr quint16 EventGeotaggingChanged = 0xC008;
constexpr quint16 EventPropertyChanged = 0xC00A;
constexpr quint16 Event3DAxisChanged = 0xC00C;

// Property data types.
constexpr quint16 Int8 = 0x0001;
constexpr quint16 UInt8 = 0x0002;
constexpr quint16 Int16 = 0x0003;
constexpr quint16 UInt16 = 0x0004;
constexpr quint16 Int32 = 0x0005;
constexpr quint16 UInt32 = 0x0006;

constexpr quint8 FormNone = 0;
constexpr quint8 FormRange = 1;
constexpr quint8 FormEnumeration = 2;

// Object formats (the camera reports its DNG files as 0x3802).
constexpr quint16 FormatJpeg = 0x3801;
constexpr quint16 FormatDng = 0x3802;

// Dataset sizes.
constexpr int SettingsSize = 100;
constexpr int LensSize = 101;
constexpr int AxisStandardSize = 193;
constexpr int AxisExtendedSize = 213;
constexpr int GeotaggingSize = 133;
constexpr int StreamInfoSize = 36;

}  // namespace EmuWire
