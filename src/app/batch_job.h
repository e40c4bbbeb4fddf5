#pragma once

#include "app/session_files.h"
#include "config/line_address.h"

#include <QString>
#include <optional>

enum class BatchCommand { Read, Write, Compare, Report, Scan, CompareFiles };

// One run of the batch mode, as the command line gives it.
struct BatchJob {
    BatchCommand command = BatchCommand::Read;
    QString file;                    // none for a scan
    QString second_file;             // compare-files only: what `file` is compared with
    std::optional<LineAddress> port; // none: the configuration file's
    int address = 7;
    QString backup_folder;
    SessionFiles files; // never a recording: that belongs to the windows
    bool fast = false;  // the fast exchange
};

// The exit status a script acts on.
enum class BatchExit {
    Done = 0,     // done, and the controller holds what was asked (or what the file says);
                  // a scan found at least one controller
    Differs = 1,  // a compare found differences, or the read-back after a write did
    NoAnswer = 2, // the port did not open, the controller fell silent for 5 s, or a scan
                  // found none
    BadInput = 3, // bad arguments, or a file that cannot be read or written
};
