#include "file_bytes.h"
#include "files/file_location_picker.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text().trimmed());
    return texts;
}

QColor Background(const QLineEdit* box) {
    return box->palette().color(QPalette::Base);
}

} // namespace

class FileLocationPickerTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        drive.emplace();
        root = drive->path();
        work = root + "/work";
        QVERIFY(QDir().mkpath(work + "/archive"));
        QVERIFY(QDir().mkpath(work + "/reference"));
        for (const char* name : {"a.ini", "B.INI", "notes.txt", "README"})
            WriteFileBytes(work + "/" + name, {});
        WriteFileBytes(work + "/archive/old.ini", {});
        roots = QStringList{root, root + "/unready"};
        picker.emplace(
            nullptr, [this] { return roots; }, work);
        picker->resize(240, 352);
        picker->show();
        QVERIFY(QTest::qWaitForWindowExposed(&*picker));
    }
    void cleanup() { picker.reset(); }

    // "*.*" shows every file, also one without a dot; a pattern the picker cannot use turns the
    // box red and keeps the list as it was until a good one comes.
    void patterns_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QColor>("colour");
        const QStringList all{"a.ini", "B.INI", "notes.txt", "README"}, kept{"notes.txt"};
        const QColor white(Qt::white), red(Qt::red);
        QTest::newRow("*.*, as it starts") << "*.*" << all << white;
        QTest::newRow("*.ini, letter case ignored")
            << "*.ini" << QStringList{"a.ini", "B.INI"} << white;
        QTest::newRow("two patterns")
            << "*.txt; ?.ini" << QStringList{"a.ini", "B.INI", "notes.txt"} << white;
        QTest::newRow("no wildcard") << "readme" << QStringList{"README"} << white;
        QTest::newRow("nothing matches") << "*.par" << QStringList{} << white;
        QTest::newRow("brackets are plain characters") << "[ab].ini" << QStringList{} << white;
        QTest::newRow("empty shows all") << "" << all << white;
        QTest::newRow("Windows filter syntax") << "*.ini|*.txt" << kept << red;
        QTest::newRow("a folder") << "archive/*.ini" << kept << red;
        QTest::newRow("other wildcard") << "<.ini" << kept << red;
    }
    void patterns() {
        QFETCH(QString, pattern);
        QLineEdit* text2 = find<QLineEdit>("Text2");
        QCOMPARE(text2->text(), QString("*.*"));
        text2->setText("*.txt");
        text2->setText(pattern);
        QTEST(files(), "files");
        QTEST(Background(text2), "colour");
        text2->setText("*.ini");
        QCOMPARE(Background(text2), QColor(Qt::white));
        QCOMPARE(files(), (QStringList{"a.ini", "B.INI"}));
    }

    // Opening a folder lists its files and a click on one names it. A folder removed behind the
    // picker's back is reported in its entry, lists no files and leaves the way back open.
    void foldersAndFiles() {
        const QListWidget* dirs = find<QListWidget>("Dir2");
        QCOMPARE(Texts(dirs).mid(dirs->currentRow()),
                 (QStringList{"work", "archive", "reference"}));
        activateFolder("archive");
        QCOMPARE(picker->currentFolder(), work + "/archive");
        QCOMPARE(files(), QStringList{"old.ini"});
        QListWidget* list = find<QListWidget>("File2");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QCOMPARE(find<QLineEdit>("Text3")->text(), QString("old.ini"));
        QCOMPARE(picker->fileName(), QString("old.ini"));
        WriteFileBytes(work + "/archive/p.ini", {});
        picker->refreshFiles();
        QCOMPARE(files(), (QStringList{"old.ini", "p.ini"}));

        QVERIFY(QDir(work + "/archive").removeRecursively());
        picker->refreshDrives();
        QCOMPARE(dirs->currentItem()->text().trimmed(), QString("archive (папка недоступна)"));
        QCOMPARE(files().size(), 0);
        QVERIFY(picker->isUsable());
        activateFolder("work");
        QCOMPARE(Texts(dirs).mid(dirs->currentRow()), (QStringList{"work", "reference"}));
        QCOMPARE(files().size(), 4);
        // An entry whose folder went before it was opened says so when opened.
        QVERIFY(QDir(work + "/reference").removeRecursively());
        activateFolder("reference");
        QCOMPARE(dirs->currentItem()->text().trimmed(), QString("reference (папка недоступна)"));
        QCOMPARE(files().size(), 0);
    }

    void unreadableDrive() {
        QSignalSpy usable(&*picker, &FileLocationPicker::usableChanged);
        QComboBox* drives = find<QComboBox>("Drive2");
        QCOMPARE(find<QLabel>("Label38")->text(), QString("Диск недоступен"));
        for (const bool ready : {false, true}) {
            QTest::keyClick(drives, ready ? Qt::Key_Up : Qt::Key_Down);
            QCOMPARE(drives->currentText(), ready ? root : root + "/unready");
            QCOMPARE(find<QLabel>("Label38")->isVisible(), !ready);
            for (const char* name : {"Dir2", "File2", "Text2", "Text3"})
                QVERIFY2(find<QWidget>(name)->isVisible() == ready, name);
            QCOMPARE(usable.takeFirst()[0].toBool(), ready);
        }
        QVERIFY(usable.isEmpty());
        // The drive comes back to the folder it showed.
        QCOMPARE(picker->currentFolder(), work);
    }

    void drivesComeAndGo() {
        QComboBox* drives = find<QComboBox>("Drive2");
        roots.append(work + "/archive");
        picker->refreshDrives();
        QCOMPARE(drives->count(), 3);
        QCOMPARE(find<QComboBox>("Drive1")->count(), 3);
        QCOMPARE(drives->currentText(), root);

        drives->setCurrentIndex(2);
        emit drives->activated(2);
        QCOMPARE(picker->currentFolder(), work + "/archive");
        roots.removeLast();
        picker->refreshDrives();
        QCOMPARE(drives->count(), 2);
        QCOMPARE(drives->currentText(), root);
        QCOMPARE(picker->currentFolder(), work);
    }

private:
    template <typename T> T* find(const char* name) const { return picker->findChild<T*>(name); }
    QStringList files() const { return Texts(find<QListWidget>("File2")); }

    void activateFolder(const QString& name) {
        QListWidget* dirs = find<QListWidget>("Dir2");
        for (int i = 0; i < dirs->count(); ++i) {
            if (dirs->item(i)->text().trimmed() == name) {
                // A double click, as the user makes it: press, release, press again.
                const QPoint at = dirs->visualItemRect(dirs->item(i)).center();
                QTest::mouseClick(dirs->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(dirs->viewport(), Qt::LeftButton, {}, at);
                return;
            }
        }
        QFAIL(qPrintable("no folder entry " + name));
    }

    std::optional<QTemporaryDir> drive;
    QString root;
    QString work;
    QStringList roots;
    std::optional<FileLocationPicker> picker;
};

QTEST_MAIN(FileLocationPickerTest)
#include "test_file_location_picker.moc"
