#pragma once

/// Gives Qt the program's own accessible interfaces: the file-page boxes, the help document,
/// and a plain pane for the frames (Qt exposes a bare frame as a window's border). Safe to
/// call again.
void InstalarInterfacesAccesibles();
