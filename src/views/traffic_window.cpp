#include "views/traffic_window.h"

#include "disk/csv_log_file.h"
#include "disk/file_extension.h"
#include "disk/whole_file_write.h"
#include "text/file_failure.h"
#include "traffic/traffic_log_reader.h"
#include "traffic/traffic_monitor.h"
#include "views/row_table.h"
#include "views/save_outcome_label.h"
#include "views/screen_placement.h"
#include "views/window_words.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// Once a second: a refresh repaints the table (about 5 ms of CPU), the rows wait meanwhile.
constexpr int kRefreshMs = 1000;

QPushButton* button(QWidget* parent, const char* name, const QString& text, bool checkable) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setCheckable(checkable);
    return b;
}
} // namespace

TrafficWindow::TrafficWindow(TrafficMonitor& monitor, QWidget* owner)
    : QWidget(owner, Qt::Window), monitor(monitor) {
    setObjectName(QStringLiteral("frm_traffic"));
    setWindowTitle(QStringLiteral("Монитор обмена"));
    PlaceOnScreen(this, QSize(1000, 600));
    ask_save_name = SaveNameDialog(this);
    ask_open_name = OpenNameDialog(this);
    tell_refusal = RefusalBox();

    table = new RowTable(this, QStringLiteral("traffic_table"), &monitor.rows());
    // A poll answer is 764 characters of hex: eliding it on every repaint would cost more than
    // the whole exchange; the cell is cut at its edge and the tooltip holds the rest.
    table->setTextElideMode(Qt::ElideNone);
    table->setAccessibleName(QStringLiteral("Кадры обмена"));
    for (const auto& [column, width] : {std::pair{0, 170}, {1, 100}, {2, 300}, {3, 130}})
        table->setColumnWidth(column, width);

    hide_background_box = new QCheckBox(QStringLiteral("Скрыть опрос и транзакции"), this);
    hide_background_box->setObjectName(QStringLiteral("hide_background"));
    pause_button = button(this, "pause", window_text::kPause, true);
    clear_button = button(this, "clear", QStringLiteral("Очистить"), false);
    auto* save = button(this, "save", window_text::kSaveToFile, false);
    record_button = button(this, "record", window_text::kRecordToFile, true);
    auto* open = button(this, "open_log", QStringLiteral("Открыть журнал обмена…"), false);
    reset_button = button(this, "reset", QStringLiteral("Сбросить"), false);
    statistics_label = new QLabel(this);
    statistics_label->setObjectName(QStringLiteral("statistics"));
    statistics_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // New figures every second must not lay the whole window out again.
    statistics_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    statistics_label->setAccessibleDescription(QStringLiteral("Статистика обмена"));
    log_label = new QLabel(this);
    log_label->setObjectName(QStringLiteral("log_state"));
    log_label->setAccessibleDescription(window_text::kRecordingState);
    log_label->setWordWrap(true);
    save_label = new SaveOutcomeLabel(this, window_text::kFileSaved, window_text::kFileNotSaved);

    auto* tools = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{hide_background_box, pause_button,
                                                      clear_button, save, record_button, open})
        tools->addWidget(w);
    tools->addStretch();
    auto* figures = new QHBoxLayout;
    figures->addWidget(statistics_label, 1);
    figures->addWidget(reset_button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(table, 1);
    layout->addLayout(figures);
    auto* files = new QHBoxLayout;
    files->addWidget(log_label, 1);
    files->addWidget(save_label);
    layout->addLayout(files);

    refresh_timer = new QTimer(this);
    refresh_timer->setInterval(kRefreshMs);
    connect(refresh_timer, &QTimer::timeout, this, &TrafficWindow::refresh);
    connect(hide_background_box, &QCheckBox::toggled, this, &TrafficWindow::hideBackground);
    // Ending the pause takes the view back to the end, which it follows again.
    connect(pause_button, &QPushButton::toggled, this, [this](bool paused) {
        if (!paused)
            table->scrollToBottom();
    });
    // End asks for the newest rows: a pause would keep them from coming.
    connect(table, &RowTable::endPressed, this, [this] { pause_button->setChecked(false); });
    connect(clear_button, &QPushButton::clicked, this, [this] { this->monitor.rows().clear(); });
    connect(save, &QPushButton::clicked, this, &TrafficWindow::saveShown);
    connect(record_button, &QPushButton::toggled, this, &TrafficWindow::toggleRecording);
    connect(open, &QPushButton::clicked, this, &TrafficWindow::openLog);
    connect(reset_button, &QPushButton::clicked, this, [this] {
        this->monitor.statistics().reset();
        showStatistics();
    });
    connect(&monitor, &TrafficMonitor::logFailed, this, &TrafficWindow::showLogState);
    showStatistics();
    showLogState();
}

TrafficWindow::TrafficWindow(std::unique_ptr<TrafficMonitor> opened, const QString& path,
                             const CsvReadOutcome& read, QWidget* owner)
    : TrafficWindow(*opened, owner) {
    this->opened = std::move(opened);
    setObjectName(QStringLiteral("frm_traffic_file"));
    setWindowTitle(QStringLiteral("Журнал обмена — ") + QFileInfo(path).fileName());
    for (QWidget* live :
         std::initializer_list<QWidget*>{pause_button, clear_button, record_button, reset_button})
        live->hide();
    log_label->setObjectName(QStringLiteral("file_state"));
    log_label->setAccessibleDescription(QStringLiteral("Открытый файл"));
    ShowOpenedFile(log_label, path, read);
}

TrafficWindow::~TrafficWindow() = default;

void TrafficWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    refresh_timer->start();
}

void TrafficWindow::hideEvent(QHideEvent* event) {
    refresh_timer->stop();
    QWidget::hideEvent(event);
}

void TrafficWindow::refresh() {
    // Following the end stops while paused or while the user looks further up.
    const bool follow = !pause_button->isChecked() && table->atEnd();
    monitor.rows().flush();
    if (follow)
        table->scrollToBottom();
    showStatistics();
}

void TrafficWindow::hideBackground(bool hide) {
    // The table is rebuilt under the view; a view that was at the end (following, or paused
    // there) stays at the end rather than wherever the old scroll position now points.
    const bool atEnd = table->atEnd();
    monitor.rows().setHideBackground(hide);
    if (atEnd)
        table->scrollToBottom();
}

void TrafficWindow::showStatistics() {
    const LinkStatistics& s = monitor.statistics();
    const QLocale locale;
    const auto ms = [&](double value) { return locale.toString(value, 'f', 1); };
    const std::optional<double> firstTime = s.answeredFirstTime();
    QString text = QStringLiteral("Отправлено: %1   ОК: %2   Нет ответа: %3   Несовпадение КС: %4"
                                  "   Исключения: %5   Повторы: %6   С первого раза: %7")
                       .arg(s.sent)
                       .arg(s.ok)
                       .arg(s.no_answer)
                       .arg(s.crc_mismatch)
                       .arg(s.exceptions)
                       .arg(s.repeats)
                       .arg(firstTime ? locale.toString(*firstTime, 'f', 1) + QStringLiteral(" %")
                                      : QStringLiteral("—"));
    // Always two lines, so that new figures never change the window's layout.
    const LinkStatistics::ResponseTimes t = s.responseTimes();
    text += t.count == 0 ? QStringLiteral("\nОтклик, мс: —")
                         : QStringLiteral("\nОтклик, мс (последние %1): мин %2, среднее %3, "
                                          "95 %: %4, макс %5")
                               .arg(t.count)
                               .arg(ms(t.min), ms(t.mean), ms(t.p95), ms(t.max));
    statistics_label->setText(text);
}

void TrafficWindow::saveShown() {
    const QString path = WithExtension(
        ask_save_name(QStringLiteral("Сохранить строки монитора"), kCsvFilter, SaveMode::Replace),
        QStringLiteral(".csv"));
    if (path.isEmpty())
        return;
    monitor.rows().flush();
    QByteArray text = CsvFileStart(traffic_text::kLogHeader);
    for (int i = 0; i < monitor.rows().rowCount(); ++i)
        text += traffic_text::LogLine(monitor.rows().row(i)).toUtf8() + "\r\n";
    save_label->showOutcome(path, WriteWholeFile(path, text));
}

void TrafficWindow::toggleRecording(bool on) {
    if (!on) {
        monitor.stopLog();
    } else {
        const QString path =
            ask_save_name(QStringLiteral("Записывать обмен в файл"), kCsvFilter, SaveMode::Append);
        if (path.isEmpty() || !monitor.startLog(path)) {
            const QSignalBlocker quiet(record_button);
            record_button->setChecked(false);
        }
    }
    showLogState();
}

void TrafficWindow::showLogState() {
    const QSignalBlocker quiet(record_button);
    record_button->setChecked(monitor.logging());
    if (monitor.logging())
        log_label->setText(QStringLiteral("Запись в файл: %1").arg(monitor.logFileName()));
    else if (!monitor.logError().isEmpty())
        log_label->setText(QStringLiteral("Запись в файл остановлена: %1")
                               .arg(FileFailure(monitor.logFileName(), monitor.logError())));
    else
        log_label->clear();
}

void TrafficWindow::openLog() {
    auto log = std::make_unique<TrafficMonitor>(monitor.paramCatalogue(),
                                                monitor.decimalSeparator(), kOpenedLogRows);
    const std::optional<ReadFile> file =
        AskAndRead(ask_open_name, QStringLiteral("Открыть журнал обмена"), tell_refusal,
                   [&](const QString& path) { return ReadTrafficLog(path, *log); });
    if (!file)
        return;
    // Beside this window, not inside it: the log stays open when this one closes.
    auto* window = new TrafficWindow(std::move(log), file->path, file->read, parentWidget());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}
