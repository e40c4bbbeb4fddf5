#pragma once

#include "disk/csv_file_reader.h"
#include "history/event_journal.h"

// Reads a journal file (the one --journal names, a day's file of the user's data folder, or a
// saved table) into `journal`, which keeps the last 100,000 entries as the session's does; each
// entry's kind told from its text, so the window's filter works as on the live journal. A row
// without a time is counted as unread; a file that is no journal is refused.
CsvReadOutcome ReadJournalFile(const QString& path, EventJournal& journal);
