#pragma once
// What the program plugs into the core at its start: libjpeg's JPEG encoder
// and picture cutter, and SDL2_mixer's sound backend. Called first thing after
// making the QApplication.

void useProgramAdapters();
