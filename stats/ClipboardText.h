#pragma once

#include "SampleStore.h"

#include <QString>

/// A channel's series from slot 2 to Contador as text: one temperature per line, cut to
/// five characters, every line ended by CR LF, the last one too. Empty below slot 2.
QString TextoPortapapeles(const Serie& serie, std::int32_t contador);
