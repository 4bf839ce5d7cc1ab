#pragma once

/// The form names the faces it was designed with; map them to installed metric twins.
void SustituirFuentes();
