#pragma once

#include "disk/csv_log_file.h"
#include "history/engine_history.h"
#include "history/event_journal.h"
#include "history/picture_changes.h"
#include "link/link_event.h"
#include "live/poll_decoder.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

// Keeps the session: every poll answer becomes a sample of the history, a line of the recording
// file while one is open, and journal lines for what changed; the link's answers and silences
// become "Связь установлена" and "Связь потеряна", the port's opening and closing a line each;
// commands and parameter operations are noted by whoever performs them. It only appends during the
// exchange tick; files reach the disk at least once a second.
class SessionRecorder : public QObject {
    Q_OBJECT
public:
    // The link counts as lost after this long without a good answer.
    static constexpr std::int64_t kLinkLostMs = 1000;

    explicit SessionRecorder(QChar decimalSeparator,
                             std::function<std::int64_t()> clock = defaultClock());
    ~SessionRecorder() override;

    void takePoll(const PollPicture& picture);
    void takeLinkEvent(const LinkEvent& event);
    // Called on every exchange tick, also while the port is closed and nothing arrives.
    void checkLink();
    // While the line is scanned the answers are other controllers': they neither establish nor
    // lose the link to the chosen one.
    void holdLink(bool held);
    // The name of the port open on this tick (empty while none is): its opening and closing are
    // noted.
    void checkPort(const QString& openPort);
    void note(JournalKind kind, const QString& text);

    EngineHistory& history() { return samples; }
    EventJournal& journal() { return events; }

    // Starts recording into path (appending); false, with recordingError() telling why, when it
    // cannot be opened.
    bool startRecording(const QString& path);
    void stopRecording();
    bool recording() const { return recording_file.isOpen(); }
    QString recordingFileName() const { return recording_file.fileName(); }
    // Why recording stopped; empty while it goes well.
    QString recordingError() const { return recording_file.error(); }
    // Writes what waits for the recording file and the journal now (a timer does it twice a
    // second).
    void flush();

    static std::function<std::int64_t()> defaultClock();

signals:
    // Said once each; the exchange goes on without the file.
    void recordingFailed(const QString& error);
    void journalFailed(const QString& error);

private:
    void goodAnswer(std::int64_t now);

    QChar decimal_separator;
    std::function<std::int64_t()> clock;
    EngineHistory samples;
    EventJournal events;
    PictureChanges changes;
    CsvLogFile recording_file;
    QTimer flush_timer;
    bool link_up = false;
    bool link_held = false;
    std::optional<QString> open_port; // none: not yet checked
    std::int64_t last_good_ms = 0;
    bool shaft_shown = false;
};
