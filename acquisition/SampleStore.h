#pragma once

#include <array>
#include <cstdint>

/// Highest slot index of the store; Contador never passes it.
inline constexpr std::int32_t LimiteMuestras = 5000;

using Serie = std::array<std::int32_t, LimiteMuestras + 1>;

/// The readings of both channels, in half degrees. Slot 0 holds a channel's maximum,
/// slot 1 its minimum, slots 2 to Contador the series; slot k of both arrays comes from
/// the same tick. One store per window, all zero at start.
struct SampleStore {
    Serie Sensor1{};
    Serie Sensor2{};
    /// Slot of the newest reading; the next tick stores at Contador + 1.
    std::int32_t Contador = 0;
    /// The reading being handled: by the tick, then as scratch by the chart's redraw.
    std::int32_t Lectura = 0;
};

/// Advances Contador for a new tick. False when the store is full: Contador stays at
/// LimiteMuestras and nothing may be stored.
bool AvanzarContador(SampleStore& store);

/// Stores a reading in slot `slot` of `serie`, then folds it into the maximum (slot 0) and
/// minimum (slot 1). The store is written first, so a reading landing in slot 1 is its own
/// minimum. Equal readings change neither.
void GuardarLectura(Serie& serie, std::int32_t slot, std::int32_t lectura);
