#include "file_bytes.h"
#include "link_rig.h"
#include "monitor/answer_dispatch.h"
#include "params/param_editor.h"
#include "params/param_window.h"
#include "scripted_messages.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

#include <set>

namespace {

QColor Base(const QLineEdit* box) {
    return box->palette().color(QPalette::Base);
}

const QColor kGreen(0, 255, 0), kWhite(255, 255, 255);

// The window as the parameter editor opens it, over a link on an in-memory line: the
// controller's answers reach the boxes through the tool's own dispatch.
struct EditorRig {
    LinkRig link;
    AnswerDispatch dispatch{link.host, QChar(',')};
    ParamCatalogue catalogue;
    ScriptedMessages messages;
    ParamEditor editor{link.cycle, catalogue, link.host, messages, QChar(','), nullptr};

    EditorRig() {
        link.onAnswer = [this](const RxBuffer& rx) { dispatch.DecodeAnswer(rx); };
        dispatch.paramAnswer = [this](const RxBuffer& rx) { editor.showAnswer(rx); };
        link.tick(); // the background poll is in flight
        editor.open();
    }
    ~EditorRig() { delete editor.window(); }
    QLineEdit* box(int i) const { return editor.window()->box(i); }
};

} // namespace

// The parameter window as the user finds it: every parameter in its place, the tabs, the
// colours of the boxes and the scrolling.
class ParamWindowTest : public QObject {
    Q_OBJECT

    QWidget owner;
    ParamWindow* window = nullptr;

    template <typename T> T* find(const QString& name) { return window->findChild<T*>(name); }
    QLineEdit* txt(int i) { return window->box(i); }
    bool shown(QWidget* w) { return w->isVisibleTo(window); }
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
            QCOMPARE(box->objectName(), QString("txt_par_%1").arg(i));
            QCOMPARE(box->accessibleName(), QString("PAR%1").arg(i));
            QCOMPARE(window->box(i), box);
            QCOMPARE(box->text(), QString("-"));
            if (i == 29 || i == 33 || i == 34)
                QVERIFY(!shown(box));
            else
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
        row(37, "frm_snx_0", "Каналы ПКВ.604, Т масла КП, Тип");
        row(494, "frm_snx_0", "Инверсия дискр. вх.");
        row(157, "frm_snx_3", "SNX3, канал 1, Тип");
        row(276, "frm_snx_5", "SNX5, канал 8, Авария");
        row(295, "frm_prg", "Реле ГРЩ, реле 10");
        row(296, "frm_klt_0", "KLT1, реле 1");
        row(327, "frm_klt_3", "KLT4, реле 8");
        row(328, "frm_prg", "Температура включения подогрева (°C)");
        row(336, "frm_logic_0", "М1, порог");
        row(470, "frm_logic_14", "М15, вход 8");
        row(486, "frm_logic_16", "НЕ2, вход 8");
        row(505, "frm_prg", "Задержка начала анализа АПС (сек)");
    }
    void boxSitsInItsGroup() {
        QFETCH(int, index);
        QTEST(txt(index)->parentWidget()->objectName(), "frame");
        QTEST(txt(index)->accessibleDescription(), "description");
    }

    // Channels run top to bottom, columns left to right: box 157 is the top left one of SNX3.
    void channelGrids() {
        for (int i = 37; i <= 276; ++i) {
            const int n = (i - 37) % 8, c = (i - 37) / 8 % 5;
            const QPoint at = txt(i)->pos(), topLeft = txt(i - n - 8 * c)->pos();
            QVERIFY(n == 0 ? at.y() == topLeft.y() : at.y() > txt(i - 1)->y());
            QVERIFY(c == 0 ? at.x() == topLeft.x() : at.x() > txt(i - 8)->x());
        }
    }

    // The first tab of each strip is selected on opening; a click on any tab, all of them in
    // view, shows its frame and only it.
    void tabStrips_data() {
        QTest::addColumn<QString>("strip");
        QTest::addColumn<QString>("frames");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("caption");
        const auto row = [](const char* label, const char* strip, const char* frames, int count,
                            int tab, const char* caption) {
            QTest::newRow(label) << QString(strip) << QString(frames) << count << tab
                                 << QString(caption);
        };
        row("SNX3", "TabStrip_snx", "frm_snx", 6, 3, "Параметры каналов модуля SNX3");
        row("KLT4", "TabStrip_klt", "frm_klt", 4, 3, "Реле модуля KLT4");
        row("М15", "TabStrip_logic", "frm_logic", 17, 14,
            "Логический блок мажоритарный М15. Выход 75");
        row("НЕ2", "TabStrip_logic", "frm_logic", 17, 16, "Логический блок Н2 (8НЕ8).");
    }
    void tabStrips() {
        QFETCH(QString, strip);
        QFETCH(QString, frames);
        QFETCH(int, count);
        QFETCH(int, tab);
        auto* bar = find<QTabBar>(strip);
        QCOMPARE(bar->count(), count);
        QCOMPARE(visibleFrames(frames, count), QList<int>{0});
        for (int t = count - 1; t >= 0; --t) {
            QVERIFY2(bar->rect().contains(bar->tabRect(t)), qPrintable(bar->tabText(t)));
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(t).center());
            QCOMPARE(visibleFrames(frames, count), QList<int>{t});
        }
        QCOMPARE(bar->tabText(tab), QString::fromUtf8(QTest::currentDataTag()));
        QTEST(find<QGroupBox>(QString("%1_%2").arg(frames).arg(tab))->title(), "caption");
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
        row(BoxState::FromEeprom, "Shape1", kGreen);
        row(BoxState::NotRead, "Shape7", QColor(255, 0, 0));
        row(BoxState::FromFile, "Shape2", QColor(75, 175, 255));
        row(BoxState::MissingInFile, "Shape6", QColor(255, 255, 128));
        row(BoxState::MatchesFile, "Shape4", QColor(192, 255, 192));
        row(BoxState::DiffersFromFile, "Shape5", QColor(255, 128, 128));
        row(BoxState::Changed, "Shape3", kWhite);
    }
    void boxColours() {
        QFETCH(int, state);
        QFETCH(QColor, colour);
        QCOMPARE(Base(txt(157)), QLineEdit().palette().color(QPalette::Base));
        QCOMPARE(find<QWidget>(QTest::currentDataTag())->palette().color(QPalette::Window), colour);
        for (int i : {0, 157, 494, 505}) {
            window->setState(i, BoxState(state));
            QCOMPARE(Base(txt(i)), colour);
        }
        QTest::keyClick(txt(157), Qt::Key_5);
        window->setText(494, "25");
        QCOMPARE(Base(txt(157)), kWhite);
        QCOMPARE(Base(txt(494)), kWhite);
        QCOMPARE(Base(txt(505)), colour);
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

    // Held to the limits, the bars move the content while dragged and reach its far corner on
    // a 1366 x 768 screen; maximized, the window keeps them; widened until the horizontal bar
    // goes, it shows the content's left part again.
    void scrolling() {
        auto* frame = find<QGroupBox>("frm_prg");
        auto* h = find<QScrollBar>("HScroll1");
        auto* v = find<QScrollBar>("VScroll1");
        resizeOuter({1000, 1067});
        QCOMPARE(window->frameGeometry().size(), QSize(1000, 940));
        QCOMPARE(QPoint(h->maximum(), v->maximum()), QPoint(7405, 705));
        QVERIFY(h->hasTracking() && v->hasTracking());
        h->setValue(7405);
        v->setValue(705);
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(frame->pos(), QPoint(-472, -47)); // 125 - 7205 twips, -705 twips
        v->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(frame->y(), 0);
        const QRect place = v->geometry();
        window->showMaximized();
        QCoreApplication::processEvents();
        QCOMPARE(v->maximum(), 705);
        QCOMPARE(v->geometry(), place);
        window->showNormal();
        resizeOuter({1366, 740});
        QVERIFY(window->frameGeometry().height() <= 768);
        h->setValue(h->maximum());
        v->setValue(v->maximum());
        QVERIFY(frame->geometry().right() <= v->x() && frame->geometry().bottom() <= h->y());
        resizeOuter({1493, 700});
        QVERIFY(!shown(h));
        QCOMPARE(frame->x(), 8);
    }

    // Typing whitens the box; Return or Enter, and no other key, writes that one parameter
    // after what was queued before it, and the controller's echo shows the value in green.
    void enterWritesTheBoxAndTheEchoTurnsItGreen() {
        EditorRig rig;
        QLineEdit* box = rig.box(2);
        box->selectAll();
        QTest::keyClicks(box, "1500");
        QCOMPARE(Base(box), kWhite);
        const int waiting = rig.link.cycle.request_queue.waiting();
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Return})
            QTest::keyClick(box, key);
        QCOMPARE(box->text(), QString("1500"));
        QCOMPARE(rig.link.cycle.request_queue.waiting(), waiting + 1);
        for (int i = 0; i < waiting; ++i)
            rig.link.answer("07 64 00 00 00");
        QCOMPARE(HexText(rig.link.port.written.value(0)), QString("07 65 01 02 01 96 6C 66"));
        rig.link.answer("07 65 01 02 01 96");
        QCOMPARE(box->text(), QString("1500 "));
        QCOMPARE(Base(box), kGreen);
        const int after = rig.link.cycle.request_queue.waiting();
        QTest::keyClick(box, Qt::Key_Enter);
        QCOMPARE(rig.link.cycle.request_queue.waiting(), after + 1);
    }

    // Save and compare work in the folder the picker shows, which starts as the current one.
    void fileButtonsWorkInThePickersFolder() {
        QTemporaryDir folder;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        EditorRig rig;
        QDir::setCurrent(previous);
        ParamWindow& w = *rig.editor.window();
        rig.box(5)->setText("12,5 ");
        w.findChild<QLineEdit*>("Text3")->setText("p.ini");
        w.saveFileButton()->click();
        QVERIFY(rig.messages.shown.isEmpty());
        QVERIFY(FileBytes(folder.filePath("p.ini")).contains("\r\nPAR5=12,5 \r\n"));
        QCOMPARE(Base(rig.box(5)), QColor(75, 175, 255));
        rig.box(6)->setText("7");
        w.compareButton()->click();
        QCOMPARE(Base(rig.box(5)), QColor(192, 255, 192));
        QCOMPARE(Base(rig.box(6)), QColor(255, 128, 128));
    }
};

QTEST_MAIN(ParamWindowTest)
#include "test_param_window.moc"
