#pragma once

#include "files/param_report.h"
#include "files/parameter_file.h"
#include "link/exchange_cycle.h"
#include "params/param_catalogue.h"
#include "params/param_transfers.h"

#include <QChar>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class MessageBoxService;
class ParamWindow;
class QWidget;

// What the parameter window does: reads and writes the controller's parameters through the
// link, shows its answers, writes a single parameter on Enter, and saves, reads and compares
// parameter files. The window is made when it is opened; a closed window is only hidden, and
// opening it again brings a new one.
class ParamEditor : public QObject {
    Q_OBJECT
public:
    ParamEditor(ExchangeCycle& cycle, ParamCatalogue& catalogue, StatusLine& status,
                MessageBoxService& messages, QChar decimalSeparator, QWidget* owner);
    ~ParamEditor() override;

    // The menu entry: a fresh catalogue, the read of all parameters queued, the window shown.
    void open();
    // An answer of function 100 or 101.
    void showAnswer(const RxBuffer& answer);
    // The poll's Modbus-blocked flag, kept for a window made later.
    void setModbusBlocked(bool blocked);
    // Null until the window is first needed.
    ParamWindow* window() const;

    // The report's heading as of now; set by whoever knows the panel and the link.
    std::function<ReportHeading()> report_heading;

signals:
    // An operation that went through, in the journal's words ("Чтение всех параметров", …).
    void performed(const QString& text);

private:
    ParamWindow& ensureWindow();
    ParamTransfers transfers();
    void readAll(bool whiten);
    QString chosenFilePath() const;
    void saveFile();
    void readFile();
    void compareFile();
    void writeReport();

    ExchangeCycle& cycle;
    ParamCatalogue& catalogue;
    StatusLine& status;
    MessageBoxService& messages;
    QChar decimal_separator;
    QWidget* owner;
    bool modbus_blocked = false;
    QPointer<ParamWindow> frm_param;
    // The report names its file and the file's values beside the boxes that differ.
    std::optional<ComparedFile> last_compare;
};
