#pragma once

#include "host/link_host.h"
#include "link/requests.h"
#include "live/poll_decoder.h"

#include <QMainWindow>
#include <array>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// frm_main: the live picture of the engine, the four operating commands, the slave-address
// choice and the status line. It shows what the poll decoder computed and tells its owner about
// clicks; it owns neither the port nor the link.
class MainWindow : public QMainWindow, public LinkHost {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // Start-up steps that must run after the configuration has been read: the address list
    // stays empty until then, so a first start saves "no entry chosen".
    void fillSlaveAddresses();
    void createSignalGrid();

    void showPoll(const PollPicture& picture);

    QString text() const override;
    void setText(const QString& text) override;
    void showProgress(const QString& text) override;
    int slaveAddress() const override;
    void setSlaveAddress(int address) override;
    bool armOffChecked() const override;
    void showTransactionCounter(int counter) override;
    // The «Быстрый обмен» entry shown as `on`, without telling anyone.
    void showFastExchange(bool on);

signals:
    void commandClicked(Command command);
    void paramMenuChosen();
    void portMenuChosen();
    void trafficMenuChosen();
    void chartsMenuChosen();
    void journalMenuChosen();
    void scanMenuChosen();
    void fastExchangeSwitched(bool on);
    // The user chose another address in `cmb_slad` (not the switch an own-address write makes).
    void slaveAddressChosen();
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildHeader(QWidget* area);
    void buildLeds(QWidget* area);
    void buildFrames(QWidget* area);
    // A quantity's caption (its name unless told otherwise) and value label.
    void buildQuantity(QWidget* parent, Quantity quantity, QRect captionPlace, QRect valuePlace,
                       const QString& captionText = QString());
    void buildRightColumn(QWidget* area);
    void buildFaults(QWidget* area);
    void buildBottom(QWidget* area);
    void applyObjectTypeLook(const ObjectTypeLook& look);

    QAction* mnu_param = nullptr;
    QAction* mnu_settings = nullptr;
    QAction* mnu_traffic = nullptr;
    QAction* mnu_charts = nullptr;
    QAction* mnu_journal = nullptr;
    QAction* mnu_scan = nullptr;
    QAction* mnu_fast = nullptr;
    QLabel* lbl_object = nullptr;
    QLabel* lbl_pr_ver = nullptr;
    QLabel* lbl_sw_ver = nullptr;
    std::array<QLabel*, kLedCount> lbl_led{};
    // Indexed by `Quantity`: "lblc_eng_rpm", "lbl_eng_rpm" and so on.
    std::array<QLabel*, kQuantityCount> lblc_quantity{};
    std::array<QLabel*, kQuantityCount> lbl_quantity{};
    QLabel* lbl_modbus_off = nullptr;
    QCheckBox* chk_armoff = nullptr;
    std::array<QLabel*, kSignalCount> lbl_sgl{};
    std::array<QLabel*, kFaultCount> lbl_faults{};
    QLabel* lbl_adc_board_d = nullptr;
    QLabel* lbl_service = nullptr;
    QLabel* lbl_motomin = nullptr;
    QLabel* lbl_tr_id = nullptr;
    QComboBox* cmb_slad = nullptr;
    QLabel* lbl_sys_mes = nullptr;
};
