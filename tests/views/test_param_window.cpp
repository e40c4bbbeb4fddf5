#include "app/param_editor.h"
#include "file_bytes.h"
#include "link_rig.h"
#include "scripted_messages.h"
#include "views/param_window/param_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QtTest>

#include <set>
#include <tuple>

namespace {

const auto kBase = [](const QLineEdit* box) { return box->palette().color(QPalette::Base); };

const QColor kGreen(0, 255, 0), kWhite(255, 255, 255);

// The window as the editor opens it; answers reach it through the link.
struct EditorRig {
    LinkRig link;
    ScriptedMessages messages;
    ParamEditor editor;
    int read_all = 0; // frames the read of all parameters takes

    // The window's file picker starts in `pickerFolder`.
    explicit EditorRig(const QString& pickerFolder = QDir::tempPath())
        : editor(link.cycle, link.host, messages, QChar(','), pickerFolder, nullptr) {
        link.tick(); // the background poll is in flight
        read_all = -waiting();
        editor.open();
        read_all += waiting();
    }
    ~EditorRig() { delete editor.window(); }
    int waiting() const { return link.cycle.waiting(); }
    QLineEdit* box(int i) const { return editor.window()->box(i); }
};

} // namespace

class ParamWindowTest : public QObject {
    Q_OBJECT

    QWidget owner;
    ParamWindow* window = nullptr;

    template <typename T> T* find(const QString& name) { return window->findChild<T*>(name); }
    QLineEdit* txt(int i) { return window->box(i); }
    QList<int> visibleFrames(const QString& frames, int count) {
        QList<int> visible;
        for (int k = 0; k < count; ++k)
            if (find<QGroupBox>(QString("%1_%2").arg(frames).arg(k))->isVisibleTo(window))
                visible << k;
        return visible;
    }

private slots:
    void init() {
        window = new ParamWindow(&owner, QDir::tempPath());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() { delete window; }

    // One box per parameter, "-", in its group, described distinctly but the three hidden ones.
    void everyParameterHasOneBoxInItsGroup() {
        const QMap<int, QString> samples{{276, "frm_snx_5 SNX5, канал 8, Авария"},
                                         {486, "frm_logic_16 НЕ2, вход 8"},
                                         {494, "frm_snx_0 Инверсия дискр. вх."}};
        QCOMPARE(window->findChildren<QLineEdit*>(QRegularExpression("^txt_par_")).size(),
                 kParamCount);
        std::set<QString> descriptions;
        for (int i = 0; i < kParamCount; ++i) {
            QLineEdit* box = txt(i);
            QCOMPARE(QStringList({box->objectName(), box->accessibleName(), box->text()}),
                     QStringList({QString("txt_par_%1").arg(i), QString("PAR%1").arg(i), "-"}));
            if (samples.contains(i))
                QCOMPARE(box->parentWidget()->objectName() + ' ' + box->accessibleDescription(),
                         samples[i]);
            const bool hidden = i == 29 || i == 33 || i == 34;
            QVERIFY2(hidden ? !box->isVisibleTo(window)
                            : descriptions.insert(box->accessibleDescription()).second,
                     qPrintable(box->objectName()));
        }
    }

    // First tabs at first; a click on any tab, all of them in view, shows its frame and only it.
    void tabStrips() {
        for (auto [strip, frames, count, last] : {std::tuple{"TabStrip_snx", "frm_snx", 6, "SNX5"},
                                                  {"TabStrip_klt", "frm_klt", 4, "KLT4"},
                                                  {"TabStrip_logic", "frm_logic", 17, "НЕ2"}}) {
            auto* bar = find<QTabBar>(strip);
            QCOMPARE(visibleFrames(frames, count), QList<int>{0});
            QCOMPARE(bar->tabText(count - 1), QString(last));
            for (int t = count - 1; t >= 0; --t) {
                QVERIFY2(bar->rect().contains(bar->tabRect(t)), qPrintable(bar->tabText(t)));
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(t).center());
                QCOMPARE(visibleFrames(frames, count), QList<int>{t});
            }
        }
        QCOMPARE(find<QGroupBox>("frm_logic_16")->title(), QString("Логический блок Н2 (8НЕ8)."));
    }

    // Each swatch has its state's colour; any text change, typed or written, turns a box white.
    void boxColours_data() {
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("Shape1") << int(BoxState::FromEeprom) << kGreen;
        QTest::newRow("Shape7") << int(BoxState::NotRead) << QColor(255, 0, 0);
        QTest::newRow("Shape2") << int(BoxState::FromFile) << QColor(75, 175, 255);
        QTest::newRow("Shape6") << int(BoxState::MissingInFile) << QColor(255, 255, 128);
        QTest::newRow("Shape4") << int(BoxState::MatchesFile) << QColor(192, 255, 192);
        QTest::newRow("Shape5") << int(BoxState::DiffersFromFile) << QColor(255, 128, 128);
        QTest::newRow("Shape3") << int(BoxState::Changed) << kWhite;
    }
    void boxColours() {
        QFETCH(int, state);
        QFETCH(QColor, colour);
        QCOMPARE(find<QWidget>(QTest::currentDataTag())->palette().color(QPalette::Window), colour);
        for (int i : {157, 494, 505})
            window->setState(i, BoxState(state));
        QTest::keyClick(txt(157), Qt::Key_5);
        window->setText(494, "25");
        QCOMPARE((QList{kBase(txt(157)), kBase(txt(494)), kBase(txt(505))}),
                 (QList{kWhite, kWhite, colour}));
    }

    // Held to its highest, dragged bars move the content; maximized, the bars stay in place.
    void scrolling() {
        auto* h = find<QScrollBar>("HScroll1");
        auto* v = find<QScrollBar>("VScroll1");
        window->resize(QSize(1000, 1067) - (window->frameGeometry().size() - window->size()));
        QCoreApplication::processEvents();
        QCOMPARE(window->frameGeometry().size(), QSize(1000, 940));
        QCOMPARE(QPoint(h->maximum(), v->maximum()), QPoint(7405, 705));
        QVERIFY(h->hasTracking() && v->hasTracking());
        h->setValue(7405);
        v->setValue(705);
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(find<QGroupBox>("frm_prg")->pos(), QPoint(-472, -47)); // 125 - 7205, -705 twips
        const QRect place = v->geometry();
        window->showMaximized();
        QCoreApplication::processEvents();
        QCOMPARE(v->geometry(), place);
    }

    // Only Return or Enter writes, after what was queued; the echo is green. Files go to the
    // picker's folder, where it starts. A closed window opens afresh: "-" everywhere, first tabs,
    // bars at 0.
    void editing() {
        QTemporaryDir folder;
        EditorRig rig(folder.path());
        QLineEdit* box = rig.box(2);
        const int waiting = rig.waiting();
        box->selectAll();
        QTest::keyClicks(box, "1500");
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Return})
            QTest::keyClick(box, key);
        QCOMPARE(rig.waiting(), waiting + 1);
        for (int i = 0; i < waiting; ++i)
            rig.link.answer("07 64 00 00 00");
        QCOMPARE(HexText(rig.link.port.written.value(0)), QString("07 65 01 02 01 96 6C 66"));
        rig.link.answer("07 65 01 02 01 96");
        QCOMPARE(box->text(), QString("1500 "));
        QCOMPARE(kBase(box), kGreen);
        const int queued = rig.waiting();
        QTest::keyClick(box, Qt::Key_Enter);
        QCOMPARE(rig.waiting(), queued + 1);

        ParamWindow* old = rig.editor.window();
        old->findChild<QLineEdit*>("Text3")->setText("p.ini");
        old->saveFileButton()->click();
        QVERIFY(FileBytes(folder.filePath("p.ini")).contains("\r\nPAR2=1500 \r\n"));
        QCOMPARE(kBase(box), QColor(75, 175, 255));
        old->resize(600, 400);
        for (const char* name : {"HScroll1", "VScroll1"})
            old->findChild<QScrollBar*>(name)->setValue(
                old->findChild<QScrollBar*>(name)->maximum());
        for (QTabBar* strip : old->findChildren<QTabBar*>())
            strip->setCurrentIndex(2);
        old->close();
        rig.editor.open();
        QCOMPARE(rig.waiting(), queued + 1 + rig.read_all);
        const QColor plain = QLineEdit().palette().color(QPalette::Base);
        for (int i = 0; i < kParamCount; ++i)
            QVERIFY(rig.box(i)->text() == "-" && kBase(rig.box(i)) == plain);
        for (const char* bar : {"HScroll1", "VScroll1"})
            QCOMPARE(rig.editor.window()->findChild<QScrollBar*>(bar)->value(), 0);
        for (QTabBar* strip : rig.editor.window()->findChildren<QTabBar*>())
            QCOMPARE(strip->currentIndex(), 0);
        QVERIFY(rig.messages.shown.isEmpty());
    }

    // A transfer under way shows what it does and how far, in words and in a bar that a screen
    // reader names alike, in a strip no other control of the window covers; through, both go.
    void transferProgressShowsAndClears() {
        EditorRig rig;
        ParamWindow* w = rig.editor.window();
        auto* text = w->findChild<QLabel*>("transfer_text");
        auto* bar = w->findChild<QProgressBar*>("transfer_bar");
        QVERIFY(text && bar);
        for (const QWidget* other : w->findChild<QGroupBox*>("frm_prg")->findChildren<QWidget*>(
                 Qt::FindDirectChildrenOnly))
            QVERIFY2(other == text || other == bar ||
                         !other->geometry().intersects(text->geometry().united(bar->geometry())),
                     qPrintable(other->objectName()));
        const auto follow = [&](int answers) {
            for (int i = 0; i < answers; ++i)
                rig.link.answer("07 64 00 00 00");
            rig.editor.followTransfers();
            if (!text->isVisible() && !bar->isVisible())
                return QStringList{};
            return QStringList{text->text(), QString("%1/%2").arg(bar->value()).arg(bar->maximum()),
                               bar->accessibleName()};
        };
        const QString reading = "Чтение всех параметров: %1 из 59 запросов";
        QCOMPARE(follow(0), (QStringList{reading.arg(0), "0/59", reading.arg(0)}));
        QCOMPARE(follow(1 + 29), (QStringList{reading.arg(29), "29/59", reading.arg(29)}));
        QCOMPARE(follow(30), QStringList{});
    }
};

QTEST_MAIN(ParamWindowTest)
#include "test_param_window.moc"
