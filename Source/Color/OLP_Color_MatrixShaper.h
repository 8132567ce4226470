#pragma once

#include <lcms2.h>
#include <QtGlobal>
#include <array>
#include <memory>
#include <vector>

// A faster path for the common case of two matrix/shaper RGB profiles (the
// working space and an sRGB-like monitor): tone curves in, one 3x3 matrix,
// inverse tone curves out, in tables built once. Little CMS gives the same
// result through its general pipeline at several times the cost per pixel.
//
// create() builds it only when both profiles are matrix/shaper RGB and the
// result agrees with the Little CMS transform to one level on every channel
// for a grid of colours covering the cube; otherwise it answers null and the
// caller keeps the Little CMS transform. The fourth byte is copied.
//
// Thread: immutable once built; translateRow may run in several threads at once.
class OLP_Color_MatrixShaper
{
public:
    static std::unique_ptr<OLP_Color_MatrixShaper> create(cmsHPROFILE source, cmsHPROFILE destination,
                                                          cmsHTRANSFORM reference);

    // width pixels of 4 bytes in the order B, G, R, x; src and dst may be the same.
    void translateRow(const uchar* src, uchar* dst, int width) const;

private:
    OLP_Color_MatrixShaper() = default;
    bool build(cmsHPROFILE source, cmsHPROFILE destination);
    bool agreesWith(cmsHTRANSFORM reference) const;

    // Entries of the output tables over linear light 0..1, and the fixed-point
    // fraction bits of the sums that index them.
    static constexpr int OutSteps = 16384;
    static constexpr int FractionBits = 4;

    // Output channel c, source channel k (R, G, B), source code: the matrix
    // entry times the code's linear light, in output table steps (fixed point).
    std::array<std::array<std::array<qint32, 256>, 3>, 3> m_terms{};
    std::array<std::vector<quint8>, 3> m_encode;  // linear light -> output code
};
