#pragma once

#include <QColor>
#include <cstdint>

/// Colours of the chart as 0x00BBGGRR, the form they have always been written in.
inline constexpr std::uint32_t clTeal = 0x808000;
inline constexpr std::uint32_t clGrid = 0xA00000;
inline constexpr std::uint32_t clYellow = 0x00FFFF;
inline constexpr std::uint32_t clLime = 0x00FF00;
inline constexpr std::uint32_t clBlack = 0x000000;

/// 0x00BBGGRR to Qt's 0xAARRGGBB.
constexpr QRgb RgbFromBgr(std::uint32_t bgr) {
    return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}
