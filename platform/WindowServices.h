#pragma once
// The message boxes and file choosers of a program with windows: QMessageBox
// and QFileDialog behind the core's MessageService and FileChooserService
// (core/system/Services.h). Every program with windows calls this first thing
// after making its QApplication.

void useWindowServices();
