// The only ways a record file is copied or deleted: both make sure first
// that the file really is a record, and answer with a small result code.
#pragma once

#include <string>

namespace records {

enum RecordFileResult {
    kRecordFileDone = 0,        // copied (the new path is set) or deleted
    kRecordFileNotRecord = 1,   // not a valid record: nothing copied or deleted
    kRecordFileSkipped = 2,     // a valid record already at the destination
    kRecordFileCopyFailed = 3,  // the copy could not be written
    kRecordFileNoPath = 4,      // a path argument is missing
    kRecordFileNotWritable = 5, // the write-access test refused the delete
    kRecordFileDiskFull = 7,    // the copy failed for want of space
};

// Copies the record at `source` into `folder` (ending with '/'), named after
// the source or, with nameByTime, after its recording time and the first
// character of its analysis message. The destination is replaced
// crash-safely, so a failed copy never leaves half a file.
int CopyRecordFile(const std::string& source, const std::string& folder, bool skipIfPresent,
                   bool nameByTime, std::string& newPath);

// Deletes the file only when it is a valid record; with checkWriteAccess a
// write-protected file is kept.
int DeleteRecordFile(const std::string& path, bool checkWriteAccess);

// Whether a record at the path can be saved to: the path is given and
// exists. (A mounted removable drive's root is a folder that exists.)
bool IsUsableFolder(const std::string& path);

} // namespace records
