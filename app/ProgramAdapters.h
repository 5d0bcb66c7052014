#pragma once
// What the program plugs into the core at its start: the window layer's
// message boxes and file choosers, libjpeg's JPEG encoder and picture cutter,
// and SDL2_mixer's sound backend. Called first thing after making the
// QApplication.

void useProgramAdapters();
