#pragma once

#include "history/journal_rows.h"
#include "views/file_opening.h"
#include "views/save_name_dialog.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QTimer;
class RowTable;
class SaveOutcomeLabel;

// «Журнал событий»: the session's journal, newest at the bottom and followed unless the user
// looks further up (End follows it again), a filter by kind, and saving the rows shown. A
// journal file opened («Открыть…») shows in a window of its own, alike.
class JournalWindow : public QWidget {
    Q_OBJECT
public:
    explicit JournalWindow(const EventJournal& journal, QWidget* owner = nullptr);
    // The journal file at `path`, as ReadJournalFile took it into `opened`; what it could not
    // read is told under the table.
    JournalWindow(std::unique_ptr<EventJournal> opened, const QString& path,
                  const CsvReadOutcome& read, QWidget* owner);

    SaveNameAsker ask_save_name;
    OpenNameAsker ask_open_name;
    RefusalTeller tell_refusal;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refresh();
    void saveShown();
    // Asks for a journal file and opens it in a window of its own, or tells why not.
    void openFile();

    const EventJournal& journal;
    std::unique_ptr<EventJournal> opened;
    JournalRows rows;
    RowTable* table = nullptr;
    QComboBox* kind_box = nullptr;
    QLabel* file_label = nullptr;
    SaveOutcomeLabel* save_label = nullptr;
    QTimer* refresh_timer = nullptr;
};
