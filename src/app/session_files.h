#pragma once

#include <QString>
#include <QStringList>

class SessionRecorder;
class TrafficMonitor;

// The files the command line names for a session, written from its first frame on; an empty
// name asks for none, except for the journal, which then goes to one file a day in the user's
// data folder.
struct SessionFiles {
    QString traffic_log;
    QString record;
    QString journal;
};

// Opens the files of a session, in the windows and in the batch mode alike. Returns, for each
// file that cannot be opened, the file and the reason in Russian; the session goes on without it.
QStringList OpenSessionFiles(const SessionFiles& files, TrafficMonitor& traffic,
                             SessionRecorder& session);
