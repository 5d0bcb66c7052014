#pragma once
// What scenara5 does first once its QApplication exists: the program's
// adapters, its name (which names its settings folder), running on while no
// window shows, and the launcher shown. The program's main and the programs
// the tests drive start alike through it.

void launchProgram();
