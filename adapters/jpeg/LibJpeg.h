#pragma once
// What the libjpeg reader and writer of this folder share: jpeglib.h,
// included as it must be, and errors that return to the caller (through
// longjmp to `jump`) instead of ending the program, with warnings unprinted.

#include <csetjmp>
#include <cstdio> // jpeglib.h needs it first

extern "C" {
#include <jpeglib.h>
}

struct JpegErrors {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

// Sets up `errors` and returns the manager to put in a codec's `err`.
jpeg_error_mgr *useJpegErrors(JpegErrors *errors);
