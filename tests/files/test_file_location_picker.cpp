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

    void startsInTheGivenFolder() {
        QCOMPARE(find<QComboBox>("Drive2")->currentText(), root);
        QCOMPARE(picker->currentFolder(), work);
        QCOMPARE(find<QLineEdit>("Text2")->text(), QString("*.*"));
        QVERIFY(find<QLabel>("Label38")->isHidden());
        // "*.*" shows every file, also one without a dot.
        QCOMPARE(files(), (QStringList{"a.ini", "B.INI", "notes.txt", "README"}));
        const QListWidget* dirs = find<QListWidget>("Dir2");
        QCOMPARE(Texts(dirs).mid(dirs->currentRow()),
                 (QStringList{"work", "archive", "reference"}));
    }

    void patterns_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("*.ini, letter case ignored") << "*.ini" << QStringList{"a.ini", "B.INI"};
        QTest::newRow("two patterns")
            << "*.txt; ?.ini" << QStringList{"a.ini", "B.INI", "notes.txt"};
        QTest::newRow("no wildcard") << "readme" << QStringList{"README"};
        QTest::newRow("nothing matches") << "*.par" << QStringList{};
        QTest::newRow("brackets are plain characters") << "[ab].ini" << QStringList{};
        QTest::newRow("empty shows all")
            << "" << QStringList{"a.ini", "B.INI", "notes.txt", "README"};
    }
    void patterns() {
        QFETCH(QString, pattern);
        QLineEdit* text2 = find<QLineEdit>("Text2");
        text2->selectAll();
        QTest::keyClick(text2, Qt::Key_Backspace);
        QTest::keyClicks(text2, pattern);
        QTEST(files(), "files");
        QCOMPARE(Background(text2), QColor(Qt::white));
    }

    void refusedPatternTurnsRed_data() {
        QTest::addColumn<QString>("pattern");
        QTest::newRow("Windows filter syntax") << "*.ini|*.txt";
        QTest::newRow("a folder") << "archive/*.ini";
        QTest::newRow("other wildcard") << "<.ini";
    }
    void refusedPatternTurnsRed() {
        QFETCH(QString, pattern);
        QLineEdit* text2 = find<QLineEdit>("Text2");
        text2->setText("*.txt");
        text2->setText(pattern);
        QCOMPARE(Background(text2), QColor(Qt::red));
        QCOMPARE(files(), QStringList{"notes.txt"});
        text2->setText("*.ini");
        QCOMPARE(Background(text2), QColor(Qt::white));
        QCOMPARE(files(), (QStringList{"a.ini", "B.INI"}));
    }

    void clickedFileFillsTheName() {
        QListWidget* files = find<QListWidget>("File2");
        const QListWidgetItem* item = files->findItems("notes.txt", Qt::MatchExactly).value(0);
        QVERIFY(item);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                          files->visualItemRect(item).center());
        QCOMPARE(find<QLineEdit>("Text3")->text(), QString("notes.txt"));
        QCOMPARE(picker->fileName(), QString("notes.txt"));
        QCOMPARE(picker->currentFolder(), work);
    }

    void foldersOpenAndFilesFollow() {
        activateFolder("archive");
        QCOMPARE(picker->currentFolder(), work + "/archive");
        QCOMPARE(files(), QStringList{"old.ini"});
        activateFolder("work");
        QCOMPARE(picker->currentFolder(), work);
        QCOMPARE(files().size(), 4);
    }

    // A folder removed behind the picker's back is reported in its entry, lists no files and
    // leaves the way back open; nothing else happens.
    void vanishedFolder() {
        activateFolder("archive");
        QVERIFY(QDir(work + "/archive").removeRecursively());
        picker->refreshDrives();
        const QListWidget* dirs = find<QListWidget>("Dir2");
        QCOMPARE(dirs->currentItem()->text().trimmed(), QString("archive (папка недоступна)"));
        QCOMPARE(files().size(), 0);
        QVERIFY(picker->isUsable());
        activateFolder("work");
        QCOMPARE(Texts(dirs).mid(dirs->currentRow()), (QStringList{"work", "reference"}));
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

    void refreshShowsANewFile() {
        WriteFileBytes(work + "/p.ini", {});
        QVERIFY(!files().contains("p.ini"));
        picker->refreshFiles();
        QVERIFY(files().contains("p.ini"));
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
