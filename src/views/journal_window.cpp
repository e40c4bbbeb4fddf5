#include "views/journal_window.h"

#include "disk/file_extension.h"
#include "disk/whole_file_write.h"
#include "history/journal_file_reader.h"
#include "views/row_table.h"
#include "views/save_outcome_label.h"
#include "views/screen_placement.h"
#include "views/window_words.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Журнал событий");
constexpr int kRefreshMs = 1000;
} // namespace

JournalWindow::JournalWindow(const EventJournal& journal, QWidget* owner)
    : QWidget(owner, Qt::Window), journal(journal), rows(journal) {
    setObjectName(QStringLiteral("frm_journal"));
    setWindowTitle(kTitle);
    PlaceOnScreen(this, QSize(700, 500));
    ask_save_name = SaveNameDialog(this);
    ask_open_name = OpenNameDialog(this);
    tell_refusal = RefusalBox();

    table = new RowTable(this, QStringLiteral("journal_table"), &rows);
    table->setColumnWidth(0, 170);
    table->setAccessibleName(kTitle);

    auto* kindCaption = new QLabel(QStringLiteral("Показывать:"), this);
    kind_box = new QComboBox(this);
    kind_box->setObjectName(QStringLiteral("kind_filter"));
    kind_box->setAccessibleName(QStringLiteral("Показывать"));
    kind_box->addItems(JournalRows::filterNames());
    kindCaption->setBuddy(kind_box);
    auto* save = new QPushButton(window_text::kSaveToFile, this);
    save->setObjectName(QStringLiteral("save"));
    auto* open = new QPushButton(QStringLiteral("Открыть…"), this);
    open->setObjectName(QStringLiteral("open_journal"));
    file_label = new QLabel(this);
    file_label->setObjectName(QStringLiteral("journal_file"));
    file_label->setAccessibleDescription(QStringLiteral("Файл журнала"));
    file_label->setWordWrap(true);
    save_label = new SaveOutcomeLabel(this, window_text::kFileSaved, window_text::kFileNotSaved);

    auto* tools = new QHBoxLayout;
    tools->addWidget(kindCaption);
    tools->addWidget(kind_box);
    tools->addWidget(save);
    tools->addWidget(open);
    tools->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(table, 1);
    auto* files = new QHBoxLayout;
    files->addWidget(file_label, 1);
    files->addWidget(save_label);
    layout->addLayout(files);

    refresh_timer = new QTimer(this);
    refresh_timer->setInterval(kRefreshMs);
    connect(refresh_timer, &QTimer::timeout, this, &JournalWindow::refresh);
    connect(kind_box, &QComboBox::currentIndexChanged, this, [this](int index) {
        rows.setKind(index > 0 ? std::optional(static_cast<JournalKind>(index - 1)) : std::nullopt);
        table->scrollToBottom();
    });
    connect(save, &QPushButton::clicked, this, &JournalWindow::saveShown);
    connect(open, &QPushButton::clicked, this, &JournalWindow::openFile);
}

JournalWindow::JournalWindow(std::unique_ptr<EventJournal> opened, const QString& path,
                             const CsvReadOutcome& read, QWidget* owner)
    : JournalWindow(*opened, owner) {
    this->opened = std::move(opened);
    setObjectName(QStringLiteral("frm_journal_file"));
    setWindowTitle(kTitle + QStringLiteral(" — ") + QFileInfo(path).fileName());
    ShowOpenedFile(file_label, path, read);
}

void JournalWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    table->scrollToBottom();
    refresh_timer->start();
}

void JournalWindow::hideEvent(QHideEvent* event) {
    refresh_timer->stop();
    QWidget::hideEvent(event);
}

void JournalWindow::refresh() {
    const bool follow = table->atEnd();
    rows.refresh();
    if (follow)
        table->scrollToBottom();
    if (!journal.error().isEmpty())
        file_label->setText(QStringLiteral("Файл журнала не записывается: ") + journal.error());
    else if (!journal.fileName().isEmpty())
        file_label->setText(QStringLiteral("Файл журнала: ") +
                            QDir::toNativeSeparators(journal.fileName()));
}

void JournalWindow::saveShown() {
    const QString path = WithExtension(
        ask_save_name(QStringLiteral("Сохранить журнал событий"), kCsvFilter, SaveMode::Replace),
        QStringLiteral(".csv"));
    if (path.isEmpty())
        return;
    rows.refresh();
    save_label->showOutcome(path, WriteWholeFile(path, rows.fileText()));
}

void JournalWindow::openFile() {
    auto journal = std::make_unique<EventJournal>();
    const std::optional<ReadFile> file =
        AskAndRead(ask_open_name, QStringLiteral("Открыть журнал событий"), tell_refusal,
                   [&](const QString& path) { return ReadJournalFile(path, *journal); });
    if (!file)
        return;
    // Beside this window, not inside it: the file stays open when this one closes.
    auto* window = new JournalWindow(std::move(journal), file->path, file->read, parentWidget());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}
