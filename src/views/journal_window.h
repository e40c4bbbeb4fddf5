#pragma once

#include "history/journal_rows.h"
#include "views/save_name_dialog.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QTimer;
class RowTable;
class SaveOutcomeLabel;

// «Журнал событий»: the session's journal, newest at the bottom and followed unless the user
// looks further up (End follows it again), a filter by kind, and saving the rows shown.
class JournalWindow : public QWidget {
    Q_OBJECT
public:
    explicit JournalWindow(const EventJournal& journal, QWidget* owner = nullptr);

    SaveNameAsker ask_save_name;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refresh();
    void saveShown();

    const EventJournal& journal;
    JournalRows rows;
    RowTable* table = nullptr;
    QComboBox* kind_box = nullptr;
    QLabel* file_label = nullptr;
    SaveOutcomeLabel* save_label = nullptr;
    QTimer* refresh_timer = nullptr;
};
