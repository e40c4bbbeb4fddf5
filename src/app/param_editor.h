#pragma once

#include "files/param_report.h"
#include "files/parameter_file.h"
#include "link/exchange_cycle.h"
#include "params/controller_image.h"
#include "params/param_answers.h"
#include "params/param_catalogue.h"
#include "params/param_transfers.h"
#include "params/transfer_progress.h"
#include "params/write_check_sequence.h"
#include "params/write_echo_check.h"

#include <QChar>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class MessageBoxService;
class ParamWindow;
class QWidget;

// What the parameter window does: reads and writes the controller's parameters through the
// link, its answers going to the window's boxes, writes a single parameter on Enter, and saves,
// reads and compares parameter files. The window is made when it is opened; a closed window is
// only hidden, and opening it again brings a new one.
class ParamEditor : public QObject {
    Q_OBJECT
public:
    ParamEditor(ExchangeCycle& cycle, LinkHost& host, MessageBoxService& messages,
                QChar decimalSeparator, QString pickerFolder, QWidget* owner);
    ~ParamEditor() override;

    // The menu entry: the read of all parameters queued, the window shown.
    void open();
    // The poll's Modbus-blocked flag, kept for a window made later.
    void setModbusBlocked(bool blocked);
    // Null until the window is first needed.
    ParamWindow* window() const;

    // Where the backup before each write-all goes.
    void setBackupFolder(const QString& folder) { backup_folder = folder; }
    // What names the backups by date and time; the system's clock unless set.
    std::function<QDateTime()> backup_clock;
    // The object type of the last poll answer ("ДГУ", "ДРА"), for the backup's name.
    void setObjectType(const QString& caption) { object_type = caption; }
    // Another port or address may lead to another controller: what this one reported no longer
    // counts, and a read-back check under way could only compare the other one's values.
    void forgetController();
    const ControllerImage& controllerImage() const { return image; }
    // Called after every tick: shows how far the transfer under way is, and takes the read-back
    // check of a write-all a step further; tells its verdict, or that the controller fell silent.
    void followTransfers();
    // What the read-back check counts its silence by; a steady clock unless set.
    void setCheckClock(AnswerSilence::Clock clock) { write_check.silence.clock = std::move(clock); }
    // The report's heading as of now; set by whoever knows the panel and the link.
    std::function<ReportHeading()> report_heading;
    // Asks for one of the two files «Сравнить файлы…» compares, starting in `folder`; empty when
    // the user cancels. The file dialog unless set (tests answer in its place).
    std::function<QString(const QString& title, const QString& folder)> ask_parameter_file;

signals:
    // An operation that went through, or what came of it, in the journal's words ("Чтение всех
    // параметров", "Запись параметра 5: 2500 → сохранено 2000", …).
    void performed(const QString& text);

private:
    ParamWindow& ensureWindow();
    ParamTransfers transfers();
    void readAll(bool whiten);
    void writeAll();
    void finishWriteCheck();
    void endWriteCheck(MessageIcon icon, const QStringList& lines);
    // The transfer under way, or none, as the parameter window shows it.
    void showProgress();
    // The backup before a write-all; false cancels the write.
    bool backUp();
    QString chosenFilePath() const;
    void saveFile();
    void readFile();
    void compareFile();
    void compareFiles();
    void writeReport();

    ExchangeCycle& cycle;
    const ParamCatalogue& catalogue = Catalogue();
    LinkHost& host;
    MessageBoxService& messages;
    QChar decimal_separator;
    QString picker_folder;
    QWidget* owner;
    bool modbus_blocked = false;
    ControllerImage image;
    WriteEchoCheck echo_check;
    ParamAnswers answers;
    QString backup_folder;
    QString object_type;
    TransferProgress progress;
    WriteCheckSequence write_check{cycle, answers, catalogue, image, progress};
    // What the last write-all sent to the parameters it found stored otherwise, for the report.
    QHash<int, QString> not_stored_written;
    QPointer<ParamWindow> frm_param;
    // The report names its file and the file's values beside the boxes that differ.
    std::optional<ComparedFile> last_compare;
};
