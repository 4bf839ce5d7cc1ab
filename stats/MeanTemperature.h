#pragma once

#include "SampleStore.h"

#include <QString>

/// Mean of a channel in degrees over slots 6 to Contador: slots 0 and 1 hold maximum and
/// minimum, and a cleared table's series starts at slot 6. 0 when there is nothing to
/// average.
double CalcularMedia(const Serie& serie, std::int32_t contador);

/// The mean rounded to a whole degree, an exact half to the even neighbour, followed by
/// the degree sign and a blank: "24º ".
QString TextoMedia(double media);
