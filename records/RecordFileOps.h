// The only ways a record file is copied or deleted: both make sure first
// that the file really is a record, and answer with a small result code.
#pragma once

#include <string>

namespace records {

enum RecordFileResult {
    kRecordFileDone = 0,        // copied (the new path is set) or deleted
    kRecordFileNotRecord = 1,   // not a valid record: nothing copied or deleted
    kRecordFileSkipped = 2,     // the same recording is already in the folder
    kRecordFileCopyFailed = 3,  // the copy could not be written
    kRecordFileNoPath = 4,      // a path argument is missing
    kRecordFileNotWritable = 5, // the write-access test refused the delete
    kRecordFileDiskFull = 7,    // the copy failed for want of space
};

// Copies the record at `source` into `folder` (ending with '/'), named after
// the source or, with nameByTime, after its recording time and the first
// character of its analysis message. Nothing in the folder is replaced: a
// name holding the same recording means it is there already (with
// skipIfPresent; the new path then names it), a name holding anything else
// is passed over for the next one of the pattern (the next second, or
// "_1", "_2" after the source's name). A failed copy never leaves half a
// file.
int CopyRecordFile(const std::string& source, const std::string& folder, bool skipIfPresent,
                   bool nameByTime, std::string& newPath);

// Deletes the file only when it is a valid record; with checkWriteAccess a
// write-protected file is kept.
int DeleteRecordFile(const std::string& path, bool checkWriteAccess);

// Whether a record at the path can be saved to: the path is given and
// exists. (A mounted removable drive's root is a folder that exists.)
bool IsUsableFolder(const std::string& path);

} // namespace records
