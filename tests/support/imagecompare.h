#pragma once

// How far apart two pictures of the same size are: the largest difference
// of any colour channel at any pixel (0 = the same colours everywhere).

#include <QImage>

#include <algorithm>
#include <cstdlib>

inline int largestColourDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}
