#include "adapters/jpeg/LibJpeg.h"

namespace {

[[noreturn]] void errorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors *>(info->err)->jump, 1);
}

// A damaged file that the decoder still reads whole gives the same pixels as
// in the loader, and a file cut short is told by the reader's source; the
// warnings say nothing more.
void outputMessage(j_common_ptr) {}

} // namespace

jpeg_error_mgr *useJpegErrors(JpegErrors *errors)
{
    jpeg_std_error(&errors->manager);
    errors->manager.error_exit = errorExit;
    errors->manager.output_message = outputMessage;
    return &errors->manager;
}
