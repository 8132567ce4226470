#pragma once

#include <QtGlobal>

// USB identities of the maker's cameras. The product ID of the connected camera
// selects behaviour throughout the program; the names keep ascending order.
namespace OLP {

constexpr quint16 VendorIdPrimary = 0x2F1A;
constexpr quint16 VendorIdSecondary = 0x2F1B;

constexpr quint32 ProductIdKestaA = 0x0101;
constexpr quint32 ProductIdKestaB = 0x0102;
constexpr quint32 ProductIdKestaC = 0x0103;
constexpr quint32 ProductIdKestaD = 0x0104;
constexpr quint32 ProductIdPelvo = 0x0105;
constexpr quint32 ProductIdKestaE = 0x0106;
constexpr quint32 ProductIdSeventh = 0x0107;

// The six cameras that take release stages directly in the vendor release operation.
inline bool isReleaseProduct(quint32 productId)
{
    return productId == ProductIdKestaA || productId == ProductIdKestaB || productId == ProductIdKestaC ||
           productId == ProductIdKestaD || productId == ProductIdPelvo || productId == ProductIdKestaE;
}

// The four cameras whose lens, bulb and self-timer events are honoured.
inline bool isTickProduct(quint32 productId)
{
    return productId == ProductIdKestaA || productId == ProductIdKestaB || productId == ProductIdKestaC ||
           productId == ProductIdKestaE;
}

}  // namespace OLP

using OLP::ProductIdKestaA;
using OLP::ProductIdKestaB;
using OLP::ProductIdKestaC;
using OLP::ProductIdKestaD;
using OLP::ProductIdKestaE;
using OLP::ProductIdPelvo;
using OLP::ProductIdSeventh;
using OLP::VendorIdPrimary;
using OLP::VendorIdSecondary;
