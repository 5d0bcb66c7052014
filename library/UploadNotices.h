#pragma once
// What the library window tells the user about an upload: the messages for
// what the upload sequence reports, and the refusal of a second upload.

class UploadSequence;

// Shows each failure and the completion of `sequence` in a message box, for as
// long as the sequence lives.
void showUploadNotices(UploadSequence &sequence);

// While `sequence` runs, says so in a message box and returns true. The upload
// command calls it before it builds a package.
bool refuseUploadWhileRunning(const UploadSequence &sequence);
