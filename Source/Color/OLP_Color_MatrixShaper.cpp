#include "OLP_Color_MatrixShaper.h"

#include <algorithm>
#include <cmath>

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// The largest term of a sum: three of them stay far inside a 32-bit integer
// (a real profile's terms are below 2^19).
constexpr qint32 kMaxTerm = 1 << 28;

// The profile's colorants as columns: linear R, G, B -> XYZ (D50).
bool colorants(cmsHPROFILE profile, Matrix* m)
{
    const cmsTagSignature tags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag};
    for (int column = 0; column < 3; ++column) {
        const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tags[column]));
        if (!xyz) {
            return false;
        }
        (*m)[0][column] = xyz->X;
        (*m)[1][column] = xyz->Y;
        (*m)[2][column] = xyz->Z;
    }
    return true;
}

bool invert(const Matrix& m, Matrix* inverse)
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (std::fabs(det) < 1e-9) {
        return false;
    }
    Matrix& r = *inverse;
    r[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
    r[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    r[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    r[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
    r[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    r[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    r[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    r[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    r[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    return true;
}

const cmsToneCurve* curve(cmsHPROFILE profile, int channel)
{
    const cmsTagSignature tags[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    return static_cast<const cmsToneCurve*>(cmsReadTag(profile, tags[channel]));
}

bool isMatrixShaperRgb(cmsHPROFILE profile)
{
    return profile && cmsGetColorSpace(profile) == cmsSigRgbData && cmsIsMatrixShaper(profile);
}

}  // namespace

std::unique_ptr<OLP_Color_MatrixShaper> OLP_Color_MatrixShaper::create(cmsHPROFILE source, cmsHPROFILE destination,
                                                                       cmsHTRANSFORM reference)
{
    if (!reference || !isMatrixShaperRgb(source) || !isMatrixShaperRgb(destination)) {
        return nullptr;
    }
    std::unique_ptr<OLP_Color_MatrixShaper> fast(new OLP_Color_MatrixShaper);
    if (!fast->build(source, destination) || !fast->agreesWith(reference)) {
        return nullptr;
    }
    return fast;
}

bool OLP_Color_MatrixShaper::build(cmsHPROFILE source, cmsHPROFILE destination)
{
    Matrix in{};
    Matrix out{};
    Matrix outInverse{};
    if (!colorants(source, &in) || !colorants(destination, &out) || !invert(out, &outInverse)) {
        return false;
    }
    Matrix matrix{};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            for (int k = 0; k < 3; ++k) {
                matrix[size_t(row)][size_t(column)] +=
                    outInverse[size_t(row)][size_t(k)] * in[size_t(k)][size_t(column)];
            }
        }
    }
    for (int channel = 0; channel < 3; ++channel) {
        const cmsToneCurve* decode = curve(source, channel);
        const cmsToneCurve* encodeFrom = curve(destination, channel);
        if (!decode || !encodeFrom) {
            return false;
        }
        constexpr double scale = double(OutSteps - 1) * (1 << FractionBits);
        for (int code = 0; code < 256; ++code) {
            const double linear = cmsEvalToneCurveFloat(decode, float(code) / 255.0f);
            for (int out = 0; out < 3; ++out) {
                const double term = matrix[size_t(out)][size_t(channel)] * linear * scale;
                // Three terms and the rounding must fit the sum's integer; a
                // broken profile with wild colorants or curves keeps the
                // general path.
                if (!std::isfinite(term) || std::fabs(term) > double(kMaxTerm)) {
                    return false;
                }
                m_terms[size_t(out)][size_t(channel)][size_t(code)] = qint32(std::lround(term));
            }
        }
        cmsToneCurve* encode = cmsReverseToneCurve(encodeFrom);
        if (!encode) {
            return false;
        }
        std::vector<quint8>& table = m_encode[size_t(channel)];
        table.resize(OutSteps);
        for (int i = 0; i < OutSteps; ++i) {
            const float value = cmsEvalToneCurveFloat(encode, float(i) / float(OutSteps - 1));
            if (!std::isfinite(value)) {
                cmsFreeToneCurve(encode);
                return false;
            }
            table[size_t(i)] = quint8(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
        }
        cmsFreeToneCurve(encode);
    }
    return true;
}

bool OLP_Color_MatrixShaper::agreesWith(cmsHTRANSFORM reference) const
{
    // Every 15th code on each axis (0 and 255 included) and every grey.
    std::vector<quint8> pixels;
    for (int r = 0; r < 256; r += 15) {
        for (int g = 0; g < 256; g += 15) {
            for (int b = 0; b < 256; b += 15) {
                pixels.insert(pixels.end(), {quint8(b), quint8(g), quint8(r), 0xFF});
            }
        }
    }
    for (int v = 0; v < 256; ++v) {
        pixels.insert(pixels.end(), {quint8(v), quint8(v), quint8(v), quint8(v)});
    }
    const int count = int(pixels.size() / 4);
    std::vector<quint8> expected(pixels.size());
    std::vector<quint8> ours(pixels.size());
    cmsDoTransform(reference, pixels.data(), expected.data(), cmsUInt32Number(count));
    translateRow(pixels.data(), ours.data(), count);
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % 4 != 3 && std::abs(int(expected[i]) - int(ours[i])) > 1) {
            return false;
        }
    }
    return true;
}

void OLP_Color_MatrixShaper::translateRow(const uchar* src, uchar* dst, int width) const
{
    const auto& t = m_terms;
    const quint8* encode[3] = {m_encode[0].data(), m_encode[1].data(), m_encode[2].data()};
    const auto index = [](qint32 sum) {
        return std::clamp((sum + (1 << (FractionBits - 1))) >> FractionBits, 0, OutSteps - 1);
    };
    for (int x = 0; x < width; ++x, src += 4, dst += 4) {
        const quint8 r = src[2];
        const quint8 g = src[1];
        const quint8 b = src[0];
        const quint8 alpha = src[3];
        const quint8 outRed = encode[0][index(t[0][0][r] + t[0][1][g] + t[0][2][b])];
        const quint8 outGreen = encode[1][index(t[1][0][r] + t[1][1][g] + t[1][2][b])];
        const quint8 outBlue = encode[2][index(t[2][0][r] + t[2][1][g] + t[2][2][b])];
        dst[0] = outBlue;
        dst[1] = outGreen;
        dst[2] = outRed;
        dst[3] = alpha;
    }
}
