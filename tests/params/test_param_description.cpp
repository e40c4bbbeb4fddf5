#include "params/param_catalogue.h"
#include "params/param_description.h"

#include <QtTest>

#include <set>

// What a screen reader announces for a parameter box.
class ParamDescriptionTest : public QObject {
    Q_OBJECT
private slots:
    void description_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expected");
        QTest::newRow("SNX3 top left") << 157 << "SNX3, канал 1, Тип";
        QTest::newRow("SNX5 last") << 276 << "SNX5, канал 8, Авария";
        QTest::newRow("panel first") << 37 << "Каналы ПКВ.604, Т масла КП, Тип";
        QTest::newRow("panel set point") << 53 << "Каналы ПКВ.604, Т масла КП, П1";
        QTest::newRow("panel control code") << 51 << "Каналы ПКВ.604, P масла, Код упр.";
        QTest::newRow("panel relay") << 279 << "Реле ПКВ , реле 3";
        QTest::newRow("switchboard relay") << 295 << "Реле ГРЩ, реле 10";
        QTest::newRow("KLT1") << 296 << "KLT1, реле 1";
        QTest::newRow("KLT4") << 327 << "KLT4, реле 8";
        QTest::newRow("M1 threshold") << 336 << "М1, порог";
        QTest::newRow("M2 threshold") << 345 << "М2, порог";
        QTest::newRow("M2 input 4") << 349 << "М2, вход 4";
        QTest::newRow("M15 input 8") << 470 << "М15, вход 8";
        QTest::newRow("NOT1 input 2") << 472 << "НЕ1, вход 2";
        QTest::newRow("NOT2 input 8") << 486 << "НЕ2, вход 8";
        QTest::newRow("address") << 23 << "Адрес Modbus";
        QTest::newRow("heating") << 328 << "Температура включения подогрева (°C)";
        QTest::newRow("inversion") << 494 << "Инверсия дискр. вх.";
        QTest::newRow("multiplier 1") << 493 << "Множители уставок давления масла, 1";
        QTest::newRow("multiplier 2") << 495 << "Множители уставок давления масла, 2";
        QTest::newRow("gearbox multiplier 3") << 504 << "Множители уставок давл. масла редук., 3";
        QTest::newRow("last") << 505 << "Задержка начала анализа АПС (сек)";
        QTest::newRow("hidden") << 33 << "Без подписи, не показывается";
        QTest::newRow("below the range") << -1 << "";
        QTest::newRow("beyond the range") << 506 << "";
    }
    void description() {
        QFETCH(int, index);
        QFETCH(QString, expected);
        QCOMPARE(ParamDescription(index), expected);
    }

    // Apart from the three hidden boxes, no two boxes are announced alike.
    void everyShownBoxIsDistinct() {
        std::set<QString> seen;
        for (int i = 0; i < kParamCount; ++i) {
            if (i == 29 || i == 33 || i == 34)
                continue;
            const QString d = ParamDescription(i);
            QVERIFY2(!d.isEmpty(), qPrintable(QString::number(i)));
            QVERIFY2(seen.insert(d).second, qPrintable(d));
        }
    }
};

QTEST_GUILESS_MAIN(ParamDescriptionTest)
#include "test_param_description.moc"
