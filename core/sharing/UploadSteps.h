#pragma once
// The five uploads of one share, and which one follows when the service
// closes a connection.

#include <QString>

inline constexpr int kUploadStepCount = 5;

// Set as the uploads end; all false before a sequence starts.
struct UploadStepFlags {
    bool ZIPUploadComplete = false;
    bool JPGUploadComplete = false;
    bool TXTUploadComplete = false;
    bool COMUploadComplete = false;
    bool operator==(const UploadStepFlags &) const = default;
};

// What a close of the connection leads to: the upload of step 2 to 5, or the
// end of the sequence (step 0).
struct UploadCloseAction {
    int nextStep = 0;
    UploadStepFlags flags; // the flags once the action is taken
    bool finishes() const { return nextStep == 0; }
};
UploadCloseAction UploadActionOnClose(const UploadStepFlags &flags);

// The three upload procedures differ only in the extension they append.
enum class UploadProcedure { Zip, Jpg, Txt };
QString UploadExtension(UploadProcedure procedure);

// The file one step reads and the base name it sends it under (the procedure
// appends its extension).
struct UploadStepFile {
    QString path;
    QString baseName;
    UploadProcedure procedure = UploadProcedure::Zip;
    QString sentName() const { return baseName + UploadExtension(procedure); }
};
// `zipsFolder` is the folder of the package's uploads; `comment` the text the
// comment goes up under (step 5).
UploadStepFile UploadStepFileFor(int step, const QString &zipsFolder, const QString &uploadName,
                                 const QString &comment);
