#include "params/param_window.h"

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

// The parameter window as the user finds it: every parameter in its place, the tabs, the
// colours of the boxes and the scrolling.
class ParamWindowTest : public QObject {
    Q_OBJECT

    QWidget owner;
    ParamWindow* window = nullptr;

    template <typename T> T* find(const QString& name) { return window->findChild<T*>(name); }
    QLineEdit* txt(int i) { return find<QLineEdit>(QString("txt_par_%1").arg(i)); }
    bool shown(QWidget* w) { return w->isVisibleTo(window); }
    QColor base(int i) { return txt(i)->palette().color(QPalette::Base); }
    QList<int> visibleFrames(const QString& frames, int count) {
        QList<int> visible;
        for (int k = 0; k < count; ++k)
            if (shown(find<QGroupBox>(QString("%1_%2").arg(frames).arg(k))))
                visible << k;
        return visible;
    }
    // Resizes the window so that its outer size, borders and title included, is `outer`.
    void resizeOuter(QSize outer) {
        window->resize(outer - (window->frameGeometry().size() - window->size()));
        QCoreApplication::processEvents();
    }

private slots:
    void init() {
        window = new ParamWindow(&owner);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() { delete window; }

    // One box per parameter, each announced distinctly apart from the three hidden ones.
    void everyParameterHasExactlyOneBox() {
        std::set<int> seen;
        std::set<QString> descriptions;
        for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
            if (!box->objectName().startsWith("txt_par_"))
                continue;
            const int i = box->property("index").toInt();
            QVERIFY2(seen.insert(i).second, qPrintable(box->objectName()));
            QCOMPARE(box->accessibleName(), QString("PAR%1").arg(i));
            QCOMPARE(window->box(i), box);
            QCOMPARE(box->text(), QString("-"));
            if (i != 29 && i != 33 && i != 34)
                QVERIFY2(descriptions.insert(box->accessibleDescription()).second,
                         qPrintable(box->accessibleDescription()));
        }
        QCOMPARE(int(seen.size()), kParamCount);
        QCOMPARE(*seen.rbegin(), kParamCount - 1);
    }

    void boxSitsInItsGroup_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("description");
        const auto row = [](int i, const char* frame, const char* description) {
            QTest::addRow("%d", i) << i << QString(frame) << QString(description);
        };
        row(2, "frm_prg", "Стартовые обороты (об/мин)");
        row(23, "frm_prg", "Адрес Modbus");
        row(37, "frm_snx_0", "Каналы ПКВ.604, Т масла КП, Тип");
        row(53, "frm_snx_0", "Каналы ПКВ.604, Т масла КП, П1");
        row(494, "frm_snx_0", "Инверсия дискр. вх.");
        row(157, "frm_snx_3", "SNX3, канал 1, Тип");
        row(276, "frm_snx_5", "SNX5, канал 8, Авария");
        row(295, "frm_prg", "Реле ГРЩ, реле 10");
        row(296, "frm_klt_0", "KLT1, реле 1");
        row(327, "frm_klt_3", "KLT4, реле 8");
        row(328, "frm_prg", "Температура включения подогрева (°C)");
        row(336, "frm_logic_0", "М1, порог");
        row(470, "frm_logic_14", "М15, вход 8");
        row(472, "frm_logic_15", "НЕ1, вход 2");
        row(486, "frm_logic_16", "НЕ2, вход 8");
        row(505, "frm_prg", "Задержка начала анализа АПС (сек)");
    }
    void boxSitsInItsGroup() {
        QFETCH(int, index);
        QFETCH(QString, frame);
        QCOMPARE(txt(index)->parentWidget()->objectName(), frame);
        QTEST(txt(index)->accessibleDescription(), "description");
    }

    // Channels run top to bottom, columns left to right: box 157 is the top left one of SNX3.
    void channelGrids() {
        for (int g = 0; g < 6; ++g)
            for (int c = 0; c < 5; ++c)
                for (int n = 0; n < 8; ++n) {
                    const QPoint at = txt(37 + 40 * g + 8 * c + n)->pos();
                    const QPoint topLeft = txt(37 + 40 * g)->pos();
                    QVERIFY(n == 0 ? at.y() == topLeft.y()
                                   : at.y() > txt(36 + 40 * g + 8 * c + n)->y());
                    QVERIFY(c == 0 ? at.x() == topLeft.x()
                                   : at.x() > txt(29 + 40 * g + 8 * c + n)->x());
                }
    }

    void hiddenBoxesStayHidden() {
        for (const char* strip : {"TabStrip_snx", "TabStrip_klt", "TabStrip_logic"}) {
            auto* tabs = find<QTabBar>(strip);
            for (int t = 0; t < tabs->count(); ++t)
                tabs->setCurrentIndex(t);
        }
        find<QScrollBar>("VScroll1")->setValue(300);
        window->resize(1400, 800);
        for (int i : {29, 33, 34}) {
            QVERIFY(!shown(txt(i)));
            window->setText(i, "12");
            QCOMPARE(window->text(i), QString("12"));
        }
    }

    // The first tab of each strip is selected on opening; any tab shows its frame and only it.
    void tabStrips_data() {
        QTest::addColumn<QString>("strip");
        QTest::addColumn<QString>("frames");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("caption");
        QTest::newRow("SNX3") << "TabStrip_snx"
                              << "frm_snx" << 6 << 3 << "Параметры каналов модуля SNX3";
        QTest::newRow("KLT4") << "TabStrip_klt"
                              << "frm_klt" << 4 << 3 << "Реле модуля KLT4";
        QTest::newRow("M15") << "TabStrip_logic"
                             << "frm_logic" << 17 << 14
                             << "Логический блок мажоритарный М15. Выход 75";
        QTest::newRow("НЕ2") << "TabStrip_logic"
                             << "frm_logic" << 17 << 16 << "Логический блок Н2 (8НЕ8).";
    }
    void tabStrips() {
        QFETCH(QString, strip);
        QFETCH(QString, frames);
        QFETCH(int, count);
        QFETCH(int, tab);
        auto* bar = find<QTabBar>(strip);
        QCOMPARE(bar->count(), count);
        QCOMPARE(visibleFrames(frames, count), QList<int>{0});
        bar->setCurrentIndex(tab);
        QCOMPARE(visibleFrames(frames, count), QList<int>{tab});
        QTEST(find<QGroupBox>(QString("%1_%2").arg(frames).arg(tab))->title(), "caption");
    }

    // Seventeen tabs on a narrow strip: every one is in view and a click on it shows its block.
    void everyLogicTabInView() {
        auto* bar = find<QTabBar>("TabStrip_logic");
        for (int t = bar->count() - 1; t >= 0; --t) {
            QVERIFY2(bar->rect().contains(bar->tabRect(t)), qPrintable(bar->tabText(t)));
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(t).center());
            QCOMPARE(bar->currentIndex(), t);
            QVERIFY(shown(find<QGroupBox>(QString("frm_logic_%1").arg(t))));
        }
        QCOMPARE(bar->tabText(16), QString("НЕ2"));
    }

    // The NOT blocks' output numbers 81..96 stand beneath the inputs they belong to.
    void notOutputLabels() {
        for (int k = 0; k < 16; ++k) {
            auto* out = find<QLabel>(QString("lbl_notout_%1").arg(k));
            QLineEdit* input = txt(471 + k);
            QCOMPARE(out->text(), QString::number(81 + k));
            QCOMPARE(out->parentWidget(), input->parentWidget());
            QCOMPARE(out->geometry().center().x(), input->geometry().center().x());
            QVERIFY(out->y() > input->y());
        }
    }

    // Each swatch of the legend has the colour a box of that state takes; a box starts with
    // the platform's colour and any text change, typed or written, turns it white.
    void boxColours_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("colour");
        const auto row = [](BoxState state, const char* swatch, QColor colour) {
            QTest::newRow(swatch) << int(state) << colour;
        };
        row(BoxState::FromEeprom, "Shape1", QColor(0, 255, 0));
        row(BoxState::NotRead, "Shape7", QColor(255, 0, 0));
        row(BoxState::FromFile, "Shape2", QColor(75, 175, 255));
        row(BoxState::MissingInFile, "Shape6", QColor(255, 255, 128));
        row(BoxState::MatchesFile, "Shape4", QColor(192, 255, 192));
        row(BoxState::DiffersFromFile, "Shape5", QColor(255, 128, 128));
        row(BoxState::Changed, "Shape3", QColor(255, 255, 255));
    }
    void boxColours() {
        QFETCH(int, state);
        QFETCH(QColor, colour);
        QCOMPARE(base(157), QLineEdit().palette().color(QPalette::Base));
        QCOMPARE(find<QWidget>(QTest::currentDataTag())->palette().color(QPalette::Window), colour);
        for (int i : {0, 157, 494, 505}) {
            window->setState(i, BoxState(state));
            QCOMPARE(base(i), colour);
        }
        QTest::keyClick(txt(157), Qt::Key_5);
        window->setText(494, "25");
        QCOMPARE(base(157), Qt::white);
        QCOMPARE(base(494), Qt::white);
        QCOMPARE(base(505), colour);
    }

    void enterAsksForTheWrite() {
        QSignalSpy spy(window, &ParamWindow::enterPressed);
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_A, Qt::Key_Tab, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(txt(23), key);
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), 23);
    }

    void modbusBlockedLabel() {
        auto* label = find<QLabel>("lbl_modbus_off");
        QCOMPARE(label->text(), QString("Управление по Modbus заблокировано в ПКВ.604"));
        for (bool blocked : {false, true, false}) {
            window->setModbusBlocked(blocked);
            QCOMPARE(shown(label), blocked);
        }
    }

    void driveWatchRunsWhileShown() {
        auto* timer = find<QTimer>("Timer1");
        QVERIFY(timer->isActive());
        QSignalSpy spy(window, &ParamWindow::driveWatchTick);
        QMetaObject::invokeMethod(timer, "timeout");
        QCOMPARE(spy.size(), 1);
        window->hide();
        QVERIFY(!timer->isActive());
    }

    // No caption covers a box, and nothing sticks out of its frame.
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
        for (QPushButton* button : window->findChildren<QPushButton*>())
            QVERIFY(!button->geometry().intersects(find<QWidget>("file_picker_area")->geometry()));
    }

    void sizeLimits_data() {
        QTest::addColumn<QSize>("outer");
        QTest::addColumn<QSize>("limited");
        QTest::addColumn<bool>("horizontalBar");
        QTest::newRow("too high") << QSize(1000, 1067) << QSize(1000, 940) << true;
        QTest::newRow("too low") << QSize(1000, 200) << QSize(1000, 267) << true;
        QTest::newRow("too wide") << QSize(1667, 600) << QSize(1493, 600) << false;
        QTest::newRow("too narrow") << QSize(333, 600) << QSize(467, 600) << true;
    }
    void sizeLimits() {
        QFETCH(QSize, outer);
        resizeOuter(outer);
        QTEST(window->frameGeometry().size(), "limited");
        QVERIFY(shown(find<QScrollBar>("VScroll1")));
        QTEST(shown(find<QScrollBar>("HScroll1")), "horizontalBar");
    }

    void frameFollowsTheBars() {
        resizeOuter({1000, 940});
        auto* frame = find<QGroupBox>("frm_prg");
        auto* h = find<QScrollBar>("HScroll1");
        auto* v = find<QScrollBar>("VScroll1");
        QCOMPARE(h->maximum(), 7405);
        QCOMPARE(v->maximum(), 705);
        QVERIFY(h->hasTracking());
        h->setValue(7405);
        QCOMPARE(frame->pos(), QPoint(-485, 8)); // 125 - 7405 twips
        v->setValue(705);
        QCOMPARE(frame->y(), -47);
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
        v->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(frame->pos(), QPoint(-472, 0)); // 125 - 7205 twips
        // Widening the window until the bar goes brings back the content's left part.
        resizeOuter({1493, 700});
        QVERIFY(!shown(h));
        QCOMPARE(frame->x(), 8);
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
        auto* h = find<QScrollBar>("HScroll1");
        auto* v = find<QScrollBar>("VScroll1");
        h->setValue(h->maximum());
        v->setValue(v->maximum());
        const QRect content = find<QGroupBox>("frm_prg")->geometry();
        QVERIFY(content.right() <= v->x());
        QVERIFY(content.bottom() <= h->y());
        QVERIFY(window->frameGeometry().height() <= 768);
    }
};

QTEST_MAIN(ParamWindowTest)
#include "test_param_window.moc"
