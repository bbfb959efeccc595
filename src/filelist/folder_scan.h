#pragma once

#include "engine/byte_text.h"

class FileList;

// What the scan needs of the window while it runs.
class ScanHooks {
public:
    virtual ~ScanHooks() = default;
    // The file name mark, read anew for every name tested.
    virtual ByteText markText() = 0;
    // Lets the window's waiting events run; called once for every file name collected.
    virtual void processPendingEvents() = 0;
    // True once the window has been closed: the scan then ends at once.
    virtual bool stopRequested() = 0;
};

// Appends to the list every file below the folder, at any depth, whose name holds the mark
// (ASCII case ignored): a folder's files in the order the file system gives them, then each
// subfolder's rows in turn. Folders whose names begin with "." and links to folders are not
// entered; a folder that cannot be read adds nothing.
void scanFolder(const ByteText& folder, FileList& list, ScanHooks& hooks);
