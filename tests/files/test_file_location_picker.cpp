#include "file_bytes.h"
#include "files/file_location_picker.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class FileLocationPickerTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        drive.emplace();
        root = drive->path();
        work = root + "/work";
        QVERIFY(QDir().mkpath(work + "/archive"));
        for (const char* name : {"a.ini", "B.INI", "notes.txt", "README", "archive/old.ini"})
            WriteFileBytes(work + "/" + name, {});
        roots = QStringList{root, root + "/unready"};
        picker.emplace(
            nullptr, [this] { return roots; }, work);
        picker->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*picker));
    }
    void cleanup() { picker.reset(); }

    // A pattern the picker cannot use turns the box red and keeps the list.
    void patterns_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QColor>("colour");
        const auto row = [](const char* pattern, const char* files, QColor colour = Qt::white) {
            QTest::newRow(pattern) << QString(pattern) << QString(files) << colour;
        };
        row("*.*", "a.ini B.INI notes.txt README");
        row("*.ini", "a.ini B.INI");
        row("*.txt; ?.ini", "a.ini B.INI notes.txt");
        row("readme", "README");
        row("*.", "README");
        row("", "a.ini B.INI notes.txt README");
        row("*.ini|*.txt", "notes.txt", Qt::red);
        row("archive/*.ini", "notes.txt", Qt::red);
    }
    void patterns() {
        QLineEdit* text2 = find<QLineEdit>("Text2");
        QCOMPARE(text2->text(), QString("*.*"));
        text2->setText("*.txt");
        QFETCH(QString, pattern);
        text2->setText(pattern);
        QTEST(files().join(' '), "files");
        QTEST(text2->palette().color(QPalette::Base), "colour");
        text2->setText("*.ini");
        QCOMPARE(text2->palette().color(QPalette::Base), QColor(Qt::white));
    }

    // A double click opens a folder, a click names a file. A folder removed behind the picker's
    // back says so in its entry, lists no files and leaves the way back open.
    void foldersAndFiles() {
        QListWidget* list = find<QListWidget>("File2");
        activateFolder("archive");
        QCOMPARE(files(), QStringList{"old.ini"});
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(picker->fileName(), QString("old.ini"));
        QVERIFY(QDir(work + "/archive").removeRecursively());
        picker->refreshDrives();
        QCOMPARE(find<QListWidget>("Dir2")->currentItem()->text().trimmed(),
                 QString("archive (папка недоступна)"));
        QCOMPARE(files(), QStringList{});
        activateFolder("work");
        QCOMPARE(files().size(), 4);
    }

    // An unready drive hides all behind its label; the other comes back to the folder it showed.
    void unreadyDrive() {
        QSignalSpy usable(&*picker, &FileLocationPicker::usableChanged);
        auto* label = find<QLabel>("Label38");
        QTest::keyClick(find<QComboBox>("Drive2"), Qt::Key_Down);
        QVERIFY(label->isVisible() && !find<QWidget>("File2")->isVisible());
        QCOMPARE(label->text(), QString("Диск недоступен"));
        QTest::keyClick(find<QComboBox>("Drive2"), Qt::Key_Up);
        QVERIFY(!label->isVisible() && find<QWidget>("Text3")->isVisible());
        QCOMPARE(QList<QVariantList>(usable), (QList<QVariantList>{{false}, {true}}));
        QCOMPARE(picker->currentFolder(), work);
    }

private:
    template <typename T> T* find(const char* name) const { return picker->findChild<T*>(name); }
    QStringList files() const {
        QStringList texts;
        for (auto* list = find<QListWidget>("File2"); texts.size() < list->count();)
            texts.append(list->item(int(texts.size()))->text());
        return texts;
    }
    // A double click, as the user makes it: press, release, press again.
    void activateFolder(const QString& name) {
        auto* dirs = find<QListWidget>("Dir2");
        const auto items = dirs->findItems(name, Qt::MatchEndsWith);
        QVERIFY2(!items.isEmpty(), qPrintable(name));
        const QPoint at = dirs->visualItemRect(items[0]).center();
        QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, at);
    }

    std::optional<QTemporaryDir> drive;
    QString root, work;
    QStringList roots;
    std::optional<FileLocationPicker> picker;
};

QTEST_MAIN(FileLocationPickerTest)
#include "test_file_location_picker.moc"
