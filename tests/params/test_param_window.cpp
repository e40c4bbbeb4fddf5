#include "params/param_captions.h"
#include "params/param_window.h"
#include "params/scroll_geometry.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

#include <set>

// The parameter window as the user finds it: every parameter in its place, the tabs, the legends,
// the colours of the boxes and the scrolling.
class ParamWindowTest : public QObject {
    Q_OBJECT

    QWidget owner;
    ParamWindow* window = nullptr;

    template <typename T> T* find(const QString& name) {
        T* w = window->findChild<T*>(name);
        if (!w)
            qWarning("no control %s", qPrintable(name));
        return w;
    }
    QLineEdit* txt(int i) { return find<QLineEdit>(QString("txt_par_%1").arg(i)); }
    bool shown(QWidget* w) { return w->isVisibleTo(window); }
    QColor base(int i) { return txt(i)->palette().color(QPalette::Base); }

private slots:
    void init() {
        window = new ParamWindow(&owner);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() { delete window; }

    void windowIsOwnedTopLevel() {
        QCOMPARE(window->objectName(), QString("frm_param"));
        QCOMPARE(window->windowTitle(), QString("Программируемые параметры"));
        QVERIFY(window->isWindow());
        QCOMPARE(window->parentWidget(), &owner);
        auto* frame = find<QGroupBox>("frm_prg");
        QCOMPARE(frame->title(), QString("Программируемые параметры"));
        QCOMPARE(frame->geometry(), QRect(8, 8, 1457, 937));
    }

    void everyParameterHasExactlyOneBox() {
        std::set<int> seen;
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
            if (!box->objectName().startsWith("txt_par_"))
                continue;
            const int i = box->property("index").toInt();
            QCOMPARE(box->objectName(), QString("txt_par_%1").arg(i));
            QVERIFY2(seen.insert(i).second, qPrintable(box->objectName()));
            QCOMPARE(box->accessibleName(), QString("PAR%1").arg(i));
            QVERIFY(!box->accessibleDescription().isEmpty());
            QCOMPARE(window->box(i), box);
            QCOMPARE(box->text(), QString("-"));
        }
        QCOMPARE(int(seen.size()), kParamCount);
        QCOMPARE(*seen.begin(), 0);
        QCOMPARE(*seen.rbegin(), kParamCount - 1);
        QCOMPARE(window->box(-1), nullptr);
        QCOMPARE(window->box(kParamCount), nullptr);
    }

    void boxSitsInItsGroup_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("description");
        QTest::newRow("first single") << 2 << "frm_prg"
                                      << "Стартовые обороты (об/мин)";
        QTest::newRow("address") << 23 << "frm_prg"
                                 << "Адрес Modbus";
        QTest::newRow("panel channel") << 37 << "frm_snx_0"
                                       << "Каналы ПКВ.604, Т масла КП, Тип";
        QTest::newRow("inversion mask") << 494 << "frm_snx_0"
                                        << "Инверсия дискр. вх.";
        QTest::newRow("SNX3 top left") << 157 << "frm_snx_3"
                                       << "SNX3, канал 1, Тип";
        QTest::newRow("SNX5 last") << 276 << "frm_snx_5"
                                   << "SNX5, канал 8, Авария";
        QTest::newRow("panel relay") << 279 << "frm_prg"
                                     << "Реле ПКВ , реле 3";
        QTest::newRow("switchboard relay") << 295 << "frm_prg"
                                           << "Реле ГРЩ, реле 10";
        QTest::newRow("KLT1") << 296 << "frm_klt_0"
                              << "KLT1, реле 1";
        QTest::newRow("KLT4") << 327 << "frm_klt_3"
                              << "KLT4, реле 8";
        QTest::newRow("M1 threshold") << 336 << "frm_logic_0"
                                      << "М1, порог";
        QTest::newRow("M2 input 4") << 349 << "frm_logic_1"
                                    << "М2, вход 4";
        QTest::newRow("M15 input 8") << 470 << "frm_logic_14"
                                     << "М15, вход 8";
        QTest::newRow("NOT1 input 2") << 472 << "frm_logic_15"
                                      << "НЕ1, вход 2";
        QTest::newRow("NOT2 input 8") << 486 << "frm_logic_16"
                                      << "НЕ2, вход 8";
    }
    void boxSitsInItsGroup() {
        QFETCH(int, index);
        QFETCH(QString, frame);
        QFETCH(QString, description);
        QCOMPARE(txt(index)->parentWidget()->objectName(), frame);
        QCOMPARE(txt(index)->accessibleDescription(), description);
    }

    // Channel n of column c in frame g is box 37 + 40g + 8c + n - 1: columns left to right,
    // channels top to bottom, and box 157 at the top left of SNX3.
    void channelGrids() {
        for (int g = 0; g < 6; ++g) {
            QLineEdit* topLeft = txt(37 + 40 * g);
            for (int c = 0; c < 5; ++c)
                for (int n = 0; n < 8; ++n) {
                    const QRect at = txt(37 + 40 * g + 8 * c + n)->geometry();
                    QCOMPARE(at.size(), QSize(49, 25));
                    QCOMPARE(at.topLeft(), topLeft->pos() + QPoint(52 * c, 24 * n));
                }
        }
        QCOMPARE(txt(157)->pos(), QPoint(80, 56));
        QCOMPARE(txt(157)->parentWidget()->objectName(), QString("frm_snx_3"));
    }

    void singleColumns_data() {
        QTest::addColumn<QList<int>>("order");
        QTest::addColumn<int>("left");
        QTest::newRow("left") << QList<int>{2,   3,   4,   5,   30,  31,  6,   7,   12,
                                            0,   328, 329, 15,  16,  330, 331, 13,  14,
                                            491, 492, 493, 499, 500, 501, 502, 332, 333,
                                            334, 335, 497, 25,  487, 488, 489, 490, 10}
                              << 328;
        QTest::newRow("middle") << QList<int>{505, 32, 17, 24, 18, 19, 20, 21, 498, 22,
                                              1,   28, 35, 8,  36, 9,  11, 26, 23,  27}
                                << 744;
    }
    // Rows every 24 pixels from the top, each with its caption level with the box.
    void singleColumns() {
        QFETCH(QList<int>, order);
        QFETCH(int, left);
        auto* frame = find<QGroupBox>("frm_prg");
        for (int row = 0; row < order.size(); ++row) {
            const int i = order[row];
            QLineEdit* box = txt(i);
            QCOMPARE(box->y(), 24 + 24 * row);
            QCOMPARE(box->x(), i == 23 || i == 27 ? 784 : left);
            QVERIFY(shown(box));
            bool captioned = false;
            for (QLabel* label : frame->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
                captioned |= label->y() == box->y() && label->x() < box->x() &&
                             label->text() == ParamCaption(i);
            QVERIFY2(captioned, qPrintable(ParamCaption(i)));
        }
    }

    void multiplierRows() {
        for (const QList<int>& row : {QList<int>{493, 495, 496}, QList<int>{502, 503, 504}}) {
            QCOMPARE(txt(row[1])->y(), txt(row[0])->y());
            QCOMPARE(txt(row[2])->y(), txt(row[0])->y());
            QCOMPARE(txt(row[1])->x() - txt(row[0])->x(), 80);
            QCOMPARE(txt(row[2])->x() - txt(row[1])->x(), 80);
        }
    }

    void hiddenBoxesStayHidden() {
        for (int i : {29, 33, 34})
            QVERIFY(!shown(txt(i)));
        for (const char* strip : {"TabStrip_snx", "TabStrip_klt", "TabStrip_logic"}) {
            auto* tabs = find<QTabBar>(strip);
            for (int t = 0; t < tabs->count(); ++t)
                tabs->setCurrentIndex(t);
        }
        find<QScrollBar>("VScroll1")->setValue(300);
        window->resize(1400, 800);
        for (int i : {29, 33, 34}) {
            QVERIFY(!shown(txt(i)));
            // Still a parameter like any other.
            window->setText(i, "12");
            QCOMPARE(window->text(i), QString("12"));
        }
    }

    void tabStrips_data() {
        QTest::addColumn<QString>("strip");
        QTest::addColumn<QString>("frames");
        QTest::addColumn<QStringList>("tabs");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("channels")
            << "TabStrip_snx"
            << "frm_snx" << QStringList{"Каналы ПКВ.604", "SNX1", "SNX2", "SNX3", "SNX4", "SNX5"}
            << QStringList{"Параметры каналов ПКВ.604",     "Параметры каналов модуля SNX1",
                           "Параметры каналов модуля SNX2", "Параметры каналов модуля SNX3",
                           "Параметры каналов модуля SNX4", "Параметры каналов модуля SNX5"};
        QTest::newRow("KLT") << "TabStrip_klt"
                             << "frm_klt" << QStringList{"KLT1", "KLT2", "KLT3", "KLT4"}
                             << QStringList{"Реле модуля KLT1", "Реле модуля KLT2",
                                            "Реле модуля KLT3", "Реле модуля KLT4"};
        QStringList logicTabs;
        QStringList logicCaptions;
        const char* outputs[] = {"61", "62", "63", "64", "65", "66", "67", "68",
                                 "69", "70", "71", "72", "73", "74", "75"};
        for (int b = 0; b < 15; ++b) {
            logicTabs << "М" + QString::number(b + 1);
            logicCaptions << "Логический блок мажоритарный М" + QString::number(b + 1) +
                                 ". Выход " + outputs[b];
        }
        logicTabs << "НЕ1"
                  << "НЕ2";
        logicCaptions << "Логический блок Н1 (8НЕ8)."
                      << "Логический блок Н2 (8НЕ8).";
        QTest::newRow("logic") << "TabStrip_logic"
                               << "frm_logic" << logicTabs << logicCaptions;
    }
    // After opening the first tab of each strip is selected; any tab shows its frame and only it.
    void tabStrips() {
        QFETCH(QString, strip);
        QFETCH(QString, frames);
        QFETCH(QStringList, tabs);
        QFETCH(QStringList, captions);
        auto* bar = find<QTabBar>(strip);
        QCOMPARE(bar->count(), tabs.size());
        QCOMPARE(bar->currentIndex(), 0);
        auto visibleFrames = [&] {
            QList<int> visible;
            for (int k = 0; k < tabs.size(); ++k)
                if (shown(find<QGroupBox>(QString("%1_%2").arg(frames).arg(k))))
                    visible << k;
            return visible;
        };
        QCOMPARE(visibleFrames(), QList<int>{0});
        for (int t : {3, int(tabs.size()) - 1, 1, 0}) {
            bar->setCurrentIndex(t);
            QCOMPARE(visibleFrames(), QList<int>{t});
        }
        for (int k = 0; k < tabs.size(); ++k) {
            QCOMPARE(bar->tabText(k), tabs[k]);
            auto* frame = find<QGroupBox>(QString("%1_%2").arg(frames).arg(k));
            QCOMPARE(frame->title(), captions[k]);
            QCOMPARE(frame->property("index").toInt(), k);
        }
    }

    // Seventeen tabs on a narrow strip: every one of them is in view and a click on it shows its
    // block.
    void everyLogicTabInView() {
        auto* bar = find<QTabBar>("TabStrip_logic");
        for (int t = bar->count() - 1; t >= 0; --t) {
            QVERIFY2(bar->rect().contains(bar->tabRect(t)), qPrintable(bar->tabText(t)));
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(t).center());
            QCOMPARE(bar->currentIndex(), t);
            QVERIFY(shown(find<QGroupBox>(QString("frm_logic_%1").arg(t))));
        }
    }

    void logicFrames() {
        for (int b = 0; b < 15; ++b) {
            auto* of8 = find<QLabel>(QString("Label2_%1").arg(b));
            QCOMPARE(of8->text(), QString("из 8"));
            QCOMPARE(of8->parentWidget()->objectName(), QString("frm_logic_%1").arg(b));
            QVERIFY(of8->x() > txt(336 + 9 * b)->x() && of8->x() < txt(337 + 9 * b)->x());
        }
        for (int b = 0; b < 2; ++b) {
            const QString frame = QString("frm_logic_%1").arg(15 + b);
            QCOMPARE(find<QLabel>(QString("Label3_%1").arg(b))->text(), QString("Входы"));
            QCOMPARE(find<QLabel>(QString("Label4_%1").arg(b))->text(), QString("Выходы"));
            for (int j = 0; j < 8; ++j) {
                auto* out = find<QLabel>(QString("lbl_notout_%1").arg(8 * b + j));
                QCOMPARE(out->text(), QString::number(81 + 8 * b + j));
                QCOMPARE(out->parentWidget()->objectName(), frame);
                // Beneath the input it belongs to.
                QLineEdit* input = txt(471 + 8 * b + j);
                QCOMPARE(out->geometry().center().x(), input->geometry().center().x());
                QVERIFY(out->y() > input->y());
            }
        }
    }

    void legends() {
        QCOMPARE(find<QLabel>("Label1_17")->text(), QString("Реле ПКВ "));
        QCOMPARE(find<QLabel>("Label1_18")->text(), QString("Реле ГРЩ"));
        QCOMPARE(find<QLabel>("Label1_0")->text(), QString("Коды типов датчиков"));
        QCOMPARE(find<QLabel>("Label1_14")->text(), QString("12 - 4-20 мА   (0 ... 100 %)"));
        QCOMPARE(find<QLabel>("Label1_43")->text(), QString("512 - Осн. пит."));
        QCOMPARE(find<QLabel>("Label1_43")->parentWidget()->objectName(), QString("frm_snx_0"));
        QCOMPARE(find<QLabel>("Label30")->text(), QString("Легенда"));
        for (int i = 0; i < 44; ++i)
            QVERIFY(find<QLabel>(QString("Label1_%1").arg(i)));
    }

    void colourLegend_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("swatch");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("text");
        QTest::newRow("eeprom") << 0 << "Shape1" << QColor(0, 255, 0) << "Значение из ЭСППЗУ";
        QTest::newRow("not read") << 1 << "Shape7" << QColor(255, 0, 0)
                                  << "Значение не прочитано из ЭСППЗУ";
        QTest::newRow("file") << 2 << "Shape2" << QColor(75, 175, 255) << "Значение из файла";
        QTest::newRow("missing") << 3 << "Shape6" << QColor(255, 255, 128)
                                 << "Значение отсутствует в файле";
        QTest::newRow("matches") << 4 << "Shape4" << QColor(192, 255, 192)
                                 << "Значение соответствует данному в файле";
        QTest::newRow("differs") << 5 << "Shape5" << QColor(255, 128, 128)
                                 << "Значение не соответствует данному в файле";
        QTest::newRow("changed") << 6 << "Shape3" << QColor(255, 255, 255) << "Значение изменено";
    }
    void colourLegend() {
        QFETCH(int, row);
        QFETCH(QString, swatch);
        QFETCH(QColor, colour);
        QFETCH(QString, text);
        auto* shape = find<QWidget>(swatch);
        auto* label = find<QLabel>(QString("Label31_%1").arg(row));
        QCOMPARE(shape->palette().color(QPalette::Window), colour);
        QVERIFY(shape->autoFillBackground());
        QCOMPARE(label->text(), text);
        QCOMPARE(label->y(), shape->y());
        if (row > 0)
            QVERIFY(label->y() > find<QLabel>(QString("Label31_%1").arg(row - 1))->y());
    }

    void boxColours_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("from EEPROM") << int(BoxState::FromEeprom) << QColor(0, 255, 0);
        QTest::newRow("not read") << int(BoxState::NotRead) << QColor(255, 0, 0);
        QTest::newRow("from file") << int(BoxState::FromFile) << QColor(75, 175, 255);
        QTest::newRow("missing in file") << int(BoxState::MissingInFile) << QColor(255, 255, 128);
        QTest::newRow("matches file") << int(BoxState::MatchesFile) << QColor(192, 255, 192);
        QTest::newRow("differs") << int(BoxState::DiffersFromFile) << QColor(255, 128, 128);
        QTest::newRow("changed") << int(BoxState::Changed) << QColor(255, 255, 255);
    }
    void boxColours() {
        QFETCH(int, state);
        QFETCH(QColor, colour);
        for (int i : {0, 157, 494, 505}) {
            window->setState(i, BoxState(state));
            QCOMPARE(base(i), colour);
        }
    }

    void boxesStartWithTheDefaultBackground() {
        const QColor standard = QLineEdit().palette().color(QPalette::Base);
        for (int i : {0, 37, 277, 336, 505})
            QCOMPARE(base(i), standard);
    }

    void anyTextChangeTurnsTheBoxWhite_data() {
        QTest::addColumn<bool>("typed");
        QTest::newRow("typed") << true;
        QTest::newRow("written") << false;
    }
    void anyTextChangeTurnsTheBoxWhite() {
        QFETCH(bool, typed);
        const QColor white(255, 255, 255);
        window->setState(157, BoxState::FromEeprom);
        window->setState(158, BoxState::FromEeprom);
        if (typed)
            QTest::keyClick(txt(157), Qt::Key_5);
        else
            window->setText(157, "25");
        QCOMPARE(base(157), white);
        QCOMPARE(base(158), QColor(0, 255, 0));
        // Writers set the text first and the colour second: the colour stays.
        window->setText(157, "30");
        window->setState(157, BoxState::FromFile);
        QCOMPARE(base(157), QColor(75, 175, 255));
        QCOMPARE(window->text(157), QString("30"));
    }

    void outOfRangeIndexesAreIgnored() {
        window->setText(-1, "1");
        window->setText(kParamCount, "1");
        window->setState(kParamCount, BoxState::Changed);
        QCOMPARE(window->text(kParamCount), QString());
    }

    void enterAsksForTheWrite_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("writes");
        QTest::newRow("Return") << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
        QTest::newRow("letter") << int(Qt::Key_A) << false;
        QTest::newRow("Tab") << int(Qt::Key_Tab) << false;
    }
    void enterAsksForTheWrite() {
        QFETCH(int, key);
        QFETCH(bool, writes);
        QSignalSpy spy(window, &ParamWindow::enterPressed);
        QTest::keyClick(txt(23), Qt::Key(key));
        QCOMPARE(spy.size(), writes ? 1 : 0);
        if (writes)
            QCOMPARE(spy.at(0).at(0).toInt(), 23);
    }

    void buttons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("read all") << "cmd_readall"
                                  << "Прочитать всё из ЭСППЗУ";
        QTest::newRow("write all") << "cmd_writeall"
                                   << "Записать всё в ЭСППЗУ";
        QTest::newRow("save") << "cmdSaveFile"
                              << "Сохранить в файл";
        QTest::newRow("read file") << "cmdReadFile"
                                   << "Прочитать из файла";
        QTest::newRow("compare") << "cmdCompare"
                                 << "Сравнить с файлом";
    }
    void buttons() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        auto* button = find<QPushButton>(name);
        QCOMPARE(button->text(), text);
        QVERIFY(shown(button));
        const QList<QPushButton*> accessors{window->readAllButton(), window->writeAllButton(),
                                            window->saveFileButton(), window->readFileButton(),
                                            window->compareButton()};
        QVERIFY(accessors.contains(button));
        QVERIFY(!button->geometry().intersects(find<QWidget>("file_picker_area")->geometry()));
    }

    void modbusBlockedLabel() {
        auto* label = find<QLabel>("lbl_modbus_off");
        QVERIFY(!shown(label));
        QCOMPARE(label->text(), QString("Управление по Modbus заблокировано в ПКВ.604"));
        QVERIFY(label->font().bold());
        QCOMPARE(label->font().pointSize(), 24);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(label->geometry(), QRect(896, 336, 489, 89));
        window->setModbusBlocked(true);
        QVERIFY(shown(label));
        window->setModbusBlocked(false);
        QVERIFY(!shown(label));
    }

    void driveWatchTimer() {
        auto* timer = find<QTimer>("Timer1");
        QCOMPARE(timer->interval(), 500);
        QVERIFY(timer->isActive());
        QSignalSpy spy(window, &ParamWindow::driveWatchTick);
        QMetaObject::invokeMethod(timer, "timeout");
        QCOMPARE(spy.size(), 1);
        window->hide();
        QVERIFY(!timer->isActive());
    }

    // No caption or legend text covers a box, and nothing sticks out of its frame.
    void nothingOverlaps() {
        for (QWidget* parent : window->findChildren<QGroupBox*>()) {
            const auto boxes = parent->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
            for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (child->isHidden() || child->objectName() == "lbl_modbus_off")
                    continue;
                QVERIFY2(parent->rect().contains(child->geometry()),
                         qPrintable(child->objectName()));
                if (!qobject_cast<QLabel*>(child))
                    continue;
                for (QLineEdit* box : boxes)
                    QVERIFY2(box->isHidden() || !child->geometry().intersects(box->geometry()),
                             qPrintable(child->objectName() + " / " + box->objectName()));
            }
        }
    }

    // Resizes the window so that its outer size, borders and title included, is `outer`.
    void resizeOuter(QSize outer) {
        window->resize(outer - (window->frameGeometry().size() - window->size()));
        QCoreApplication::processEvents();
    }

    void barsFollowTheWindowSize_data() {
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QSize>("limited");
        QTest::newRow("laptop") << QSize(1366, 700) << QSize(1366, 700);
        QTest::newRow("too high") << QSize(1000, 1067) << QSize(1000, 940);
        QTest::newRow("too low") << QSize(1000, 200) << QSize(1000, 267);
        QTest::newRow("too wide, no horizontal bar") << QSize(1667, 600) << QSize(1493, 600);
        QTest::newRow("too narrow") << QSize(333, 600) << QSize(467, 600);
    }
    void barsFollowTheWindowSize() {
        QFETCH(QSize, outer);
        QFETCH(QSize, limited);
        resizeOuter(outer);
        QCOMPARE(window->frameGeometry().size(), limited);
        const QSize inner = window->size();
        auto* v = find<QScrollBar>("VScroll1");
        auto* h = find<QScrollBar>("HScroll1");
        QVERIFY(shown(v));
        QCOMPARE(v->maximum(), 14055 - 15 * limited.height() + 750);
        QCOMPARE(v->geometry(), QRect(inner.width() - 17, 0, 17, inner.height()));
        QCOMPARE(v->singleStep(), 200);
        QCOMPARE(v->pageStep(), 1000);
        QCOMPARE(shown(h), 15 * limited.width() < 22210);
        if (shown(h)) {
            QCOMPARE(h->maximum(), 21855 - 15 * limited.width() + 550);
            QCOMPARE(h->geometry(), QRect(0, inner.height() - 17, inner.width() - 17, 17));
        }
    }

    void frameFollowsTheBars() {
        resizeOuter({1000, 940});
        auto* frame = find<QGroupBox>("frm_prg");
        auto* h = find<QScrollBar>("HScroll1");
        auto* v = find<QScrollBar>("VScroll1");
        QCOMPARE(h->maximum(), 7405);
        QCOMPARE(v->maximum(), 705);
        h->setValue(7405);
        QCOMPARE(frame->x(), -485); // 125 - 7405 twips
        QCOMPARE(frame->y(), 8);    // untouched until the vertical bar moves
        v->setValue(705);
        QCOMPARE(frame->y(), -47);
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(h->value(), 7205);
        v->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(v->value(), 0);
        QCOMPARE(frame->pos(), QPoint(-472, 0)); // 125 - 7205 twips
        // Dragging moves the frame before the thumb is released.
        QVERIFY(h->hasTracking());
    }

    // Widening the window until the bar goes brings back the content's left part.
    void hiddenBarReturnsTheContent() {
        resizeOuter({1000, 700});
        auto* h = find<QScrollBar>("HScroll1");
        h->setValue(h->maximum());
        auto* frame = find<QGroupBox>("frm_prg");
        QVERIFY(frame->x() < 0);
        resizeOuter({1493, 700});
        QVERIFY(!shown(h));
        QCOMPARE(frame->x(), 8); // 125 twips
    }

    void maximizedWindowKeepsItsBars() {
        resizeOuter({700, 500});
        auto* v = find<QScrollBar>("VScroll1");
        const int maximum = v->maximum();
        const QRect place = v->geometry();
        window->showMaximized();
        QCoreApplication::processEvents();
        QCOMPARE(v->maximum(), maximum);
        QCOMPARE(v->geometry(), place);
    }

    // On a 1366 x 768 screen the window fits, and the bars reach the far corner of the content.
    void laptopScreenReachesEverything() {
        resizeOuter({1366, 740});
        auto* frame = find<QGroupBox>("frm_prg");
        auto* h = find<QScrollBar>("HScroll1");
        auto* v = find<QScrollBar>("VScroll1");
        h->setValue(h->maximum());
        v->setValue(v->maximum());
        const QRect content = frame->geometry();
        QVERIFY(content.right() <= v->x());
        QVERIFY(content.bottom() <= h->y());
        QVERIFY(window->frameGeometry().height() <= 768);
    }
};

QTEST_MAIN(ParamWindowTest)
#include "test_param_window.moc"
