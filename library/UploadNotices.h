#pragma once
// What the library window tells the user about an upload: the messages for
// what the upload sequence reports, and the refusal of a second upload.

#include <QString>

class UploadSequence;

// Shows each failure and the completion of `sequence` in a message box, for as
// long as the sequence lives.
void showUploadNotices(UploadSequence &sequence);

// "Invalid Host" in its error box, followed by `reason` on a line of its own
// when one is given: where the host is to be set, or what is wrong with it.
void showInvalidHost(const QString &reason);

// While `sequence` runs, says so in a message box and returns true. The upload
// command calls it before it builds a package.
bool refuseUploadWhileRunning(const UploadSequence &sequence);
