#include "tool_session.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QtTest>
#include <sys/resource.h>

namespace {
double cpuSecondsOfThisProcess() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
} // namespace

// The controller's line disappears under the running tool (the simulator dies, its pty hangs
// up, as when a USB adapter is pulled). The tool keeps running, says the controller does not
// answer, stays idle, and talks again once the user picks the port in the dialog.
class E2eVanishedPortTest : public QObject {
    Q_OBJECT
private slots:
    void toolSurvivesAVanishedLineAndRecoversThroughTheDialog() {
        ToolSession s;
        QVERIFY2(s.start(), qPrintable(s.errorText()));
        MainWindow& main = s.tool->window();
        const QString connected = "Связь с контроллером ЗАРН установлена";
        QTRY_COMPARE_WITH_TIMEOUT(main.text(), connected, 5000);

        s.sim.process().kill();
        QVERIFY(s.sim.process().waitForFinished(5000));
        QTRY_COMPARE_WITH_TIMEOUT(main.text(),
                                  QString("Ошибка обмена: Нет ответа от контроллера ЗАРН"), 5000);

        const double cpuBefore = cpuSecondsOfThisProcess();
        QTest::qWait(3000);
        const double cpuUsed = cpuSecondsOfThisProcess() - cpuBefore;
        QVERIFY2(cpuUsed < 0.5, qPrintable(QString("%1 s of CPU in 3 s idle").arg(cpuUsed)));
        QVERIFY(main.isVisible());

        SimProcess replugged;
        QVERIFY2(replugged.start(), qPrintable(replugged.errorText()));
        QVERIFY(s.mapCom1(replugged.linkPath()));
        main.findChild<QAction*>("mnu_settings")->trigger();
        auto* dialog = main.findChild<QDialog*>("wndSetCOM");
        if (!dialog) // opened without owner
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "wndSetCOM")
                    dialog = qobject_cast<QDialog*>(w);
        QVERIFY(dialog);
        auto* list = dialog->findChild<QComboBox*>("cmbCOMList");
        const int com1 = list->findText("COM1");
        QVERIFY(com1 >= 0);
        list->setCurrentIndex(com1);
        emit list->activated(com1);
        dialog->findChild<QPushButton*>("OK")->click();
        QTRY_COMPARE_WITH_TIMEOUT(main.text(), connected, 5000);
    }
};

QTEST_MAIN(E2eVanishedPortTest)
#include "test_e2e_vanished_port.moc"
